// FileStream: the one place where libgmd touches a file.
//
// A binary byte stream over a C stdio file, opened in exactly one direction,
// with its own buffer so that a frame costs a few memory copies rather than
// several library calls. Its failure states are sticky, like a standard
// stream's: once a read came up short every later read fails without
// consuming bytes, and once a write failed every later write fails.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>

namespace gmd {

class FileStream {
public:
    enum class Direction { Read, Write, Append };

    FileStream() = default;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;
    ~FileStream() { close(); }

    // Opens the named file; false when it cannot be opened (nothing is created
    // for Read). Never throws.
    bool open(const char* name, Direction direction) noexcept;
    bool readable() const { return file_ != nullptr && direction_ == Direction::Read; }
    bool writable() const { return file_ != nullptr && direction_ != Direction::Read; }

    // Reads exactly n bytes (n > 0); a short read sets the failed and
    // end-of-file states.
    bool read(void* dst, std::size_t n) noexcept {
        if (n <= end_ - begin_) {
            std::memcpy(dst, buffer_.get() + begin_, n);
            begin_ += n;
            return true;
        }
        return readSlow(dst, n);
    }
    // Buffers n bytes (n > 0); a failed transfer to the file sets the bad state.
    bool write(const void* src, std::size_t n) noexcept {
        if (n <= room_ - pending_) {
            std::memcpy(buffer_.get() + pending_, src, n);
            pending_ += n;
            return true;
        }
        return writeSlow(src, n);
    }

    // The bytes already buffered and not yet read: buffered() of them start
    // at next(); nothing is consumed until skip(n), n <= buffered().
    std::size_t buffered() const noexcept { return end_ - begin_; }
    const unsigned char* next() const noexcept { return buffer_.get() + begin_; }
    void skip(std::size_t n) noexcept { begin_ += n; }
    // The buffer space that writes can fill without a transfer to the file:
    // writableRoom() bytes at writePosition(); they count as written at
    // commit(n), n <= writableRoom().
    std::size_t writableRoom() const noexcept { return room_ - pending_; }
    unsigned char* writePosition() noexcept { return buffer_.get() + pending_; }
    void commit(std::size_t n) noexcept { pending_ += n; }

    // A frame found damaged after its bytes were read fails the stream too.
    void markFailed() noexcept { setFailed(); }

    bool failed() const { return failed_ || bad_; }
    bool eof() const { return eof_; }

    // Writes what is buffered and closes the file; the outcome is not reported.
    void close() noexcept;

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    bool readSlow(void* dst, std::size_t n) noexcept;
    bool writeSlow(const void* src, std::size_t n) noexcept;
    bool flush() noexcept;
    bool refill() noexcept;
    void setFailed() noexcept;
    void setBad() noexcept;

    // The inline paths test only the window sizes: the read window
    // [begin_, end_) is empty unless the stream is readable and has not
    // failed, and room_ is 0 unless it is writable and not bad.
    std::FILE* file_ = nullptr;
    Direction direction_ = Direction::Read;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t begin_ = 0;    // reading: next unread byte
    std::size_t end_ = 0;      // reading: end of valid bytes
    std::size_t pending_ = 0;  // writing: bytes buffered, at most room_
    std::size_t room_ = 0;     // writing: kBufferSize while writes may be buffered
    bool failed_ = false;
    bool bad_ = false;
    bool eof_ = false;
};

}  // namespace gmd
