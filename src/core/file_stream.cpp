#include "file_stream.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <type_traits>

namespace gmd {

bool FileStream::open(const char* name, Direction direction) noexcept {
    close();
    if (name == nullptr) return false;
    // POSIX lets a folder be opened for reading; it is never a GMD file. Where
    // file names are wide (Windows) the check would have to convert the name,
    // and the file-open call refuses folders there by itself.
    if constexpr (std::is_same_v<std::filesystem::path::value_type, char>) {
        try {
            std::error_code error;
            if (std::filesystem::is_directory(name, error)) return false;
        } catch (...) {
            return false;  // the name's copy could not be allocated
        }
    }
    buffer_.reset(new (std::nothrow) unsigned char[kBufferSize]);
    if (!buffer_) return false;
    const char* mode = direction == Direction::Read ? "rb" : direction == Direction::Write ? "wb" : "ab";
    file_ = std::fopen(name, mode);
    if (file_ == nullptr) {
        buffer_.reset();
        return false;
    }
    // The stream does its own buffering.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    direction_ = direction;
    begin_ = end_ = pending_ = 0;
    room_ = direction == Direction::Read ? 0 : kBufferSize;
    failed_ = bad_ = eof_ = false;
    return true;
}

void FileStream::setFailed() noexcept {
    failed_ = true;
    begin_ = end_;
}

void FileStream::setBad() noexcept {
    bad_ = true;
    begin_ = end_;
    pending_ = room_ = 0;
}

bool FileStream::refill() noexcept {
    begin_ = 0;
    end_ = std::fread(buffer_.get(), 1, kBufferSize, file_);
    return end_ > 0;
}

bool FileStream::readSlow(void* dst, std::size_t n) noexcept {
    if (failed() || !readable()) {
        setFailed();
        return false;
    }
    auto* out = static_cast<unsigned char*>(dst);
    while (n > 0) {
        std::size_t available = end_ - begin_;
        if (available == 0) {
            // Large payloads bypass the buffer once it is drained.
            if (n >= kBufferSize) {
                std::size_t got = std::fread(out, 1, n, file_);
                if (got == n) return true;
                eof_ = true;
                setFailed();
                return false;
            }
            if (!refill()) {
                eof_ = true;
                setFailed();
                return false;
            }
            available = end_;
        }
        std::size_t take = available < n ? available : n;
        std::memcpy(out, buffer_.get() + begin_, take);
        begin_ += take;
        out += take;
        n -= take;
    }
    return true;
}

bool FileStream::flush() noexcept {
    if (pending_ == 0) return !bad_;
    bool complete = std::fwrite(buffer_.get(), 1, pending_, file_) == pending_;
    pending_ = 0;
    if (!complete) setBad();
    return !bad_;
}

bool FileStream::writeSlow(const void* src, std::size_t n) noexcept {
    if (bad_ || !writable()) {
        setBad();
        return false;
    }
    const auto* in = static_cast<const unsigned char*>(src);
    if (pending_ + n > kBufferSize) {
        if (!flush()) return false;
        if (n >= kBufferSize) {
            if (std::fwrite(in, 1, n, file_) != n) setBad();
            return !bad_;
        }
    }
    std::memcpy(buffer_.get() + pending_, in, n);
    pending_ += n;
    return true;
}

void FileStream::close() noexcept {
    if (file_ == nullptr) return;
    if (direction_ != Direction::Read && !bad_) flush();
    std::fclose(file_);
    file_ = nullptr;
    buffer_.reset();
    begin_ = end_ = pending_ = room_ = 0;
}

}  // namespace gmd
