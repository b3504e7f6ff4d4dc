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
    bool isOpen() const { return file_ != nullptr; }
    bool readable() const { return file_ != nullptr && direction_ == Direction::Read; }
    bool writable() const { return file_ != nullptr && direction_ != Direction::Read; }

    // Reads exactly n bytes; a short read sets the failed and end-of-file states.
    bool read(void* dst, std::size_t n) noexcept;
    // Buffers n bytes; a failed transfer to the file sets the bad state.
    bool write(const void* src, std::size_t n) noexcept;

    // A frame found damaged after its bytes were read fails the stream too.
    void markFailed() { failed_ = true; }

    bool failed() const { return failed_ || bad_; }
    bool bad() const { return bad_; }
    bool eof() const { return eof_; }

    // Writes what is buffered and closes the file; the outcome is not reported.
    void close() noexcept;

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    bool flush() noexcept;
    bool refill() noexcept;

    std::FILE* file_ = nullptr;
    Direction direction_ = Direction::Read;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t begin_ = 0;  // reading: next unread byte
    std::size_t end_ = 0;    // reading: end of valid bytes; writing: bytes pending
    bool failed_ = false;
    bool bad_ = false;
    bool eof_ = false;
};

}  // namespace gmd
