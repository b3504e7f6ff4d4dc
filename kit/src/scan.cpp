#include "scan.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "file_io.h"
#include "letters.h"

namespace gmdk {

namespace {

std::int32_t le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

unsigned long long ull(std::uint64_t v) { return static_cast<unsigned long long>(v); }

}  // namespace

FrameScanner::FrameScanner(Payloads payloads) : payloads_(payloads), report_() {
    report_.last_good_record = -1;
}

FrameScanner::~FrameScanner() {
    if (fd_ >= 0) closeFd(fd_);
}

int FrameScanner::openFile(const char* path) {
    if (path == nullptr) {
        report_.os_error = EINVAL;
        stop(GMDK_STATUS_BAD_ARGUMENT, GMDK_STOP_UNREADABLE, 0, "no file name given");
        return status_;
    }
    int error = 0;
    FileInfo info;
    fd_ = openForReading(path, &error, &info);
    if (fd_ < 0) {
        report_.os_error = error;
        char words[120] = "it is a folder, not a file";
        if (error != EISDIR) errorText(error, words, sizeof words);
        stop(GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, 0, "%s", words);
        return status_;
    }
    owned_.reset(new (std::nothrow) std::uint8_t[kBufferSize]);
    if (!owned_) {
        report_.os_error = ENOMEM;
        stop(GMDK_STATUS_NO_MEMORY, GMDK_STOP_UNREADABLE, 0, "no memory for the read buffer");
        return status_;
    }
    buffer_ = owned_.get();
    capacity_ = kBufferSize;
    seekable_ = info.regular;
    sizeKnown_ = info.regular;
    fileSize_ = info.size;
    report_.file_size = info.size;
    return status_;
}

void FrameScanner::openBytes(const std::uint8_t* bytes, std::size_t size) {
    buffer_ = bytes;
    have_ = size;
    capacity_ = static_cast<std::size_t>(-1);
    atEof_ = true;
    sizeKnown_ = true;
    fileSize_ = size;
    report_.file_size = size;
}

bool FrameScanner::stop(int status, int stopReason, std::uint64_t offset, const char* format, ...) {
    stopped_ = true;
    status_ = status;
    payload_ = nullptr;
    report_.stop = stopReason;
    report_.stop_offset = offset;
    if (!sizeKnown_) report_.file_size = std::max<std::uint64_t>(bufferStart_ + have_, cursor_);
    va_list args;
    va_start(args, format);
    std::vsnprintf(report_.reason, sizeof report_.reason, format, args);
    va_end(args);
    return false;
}

bool FrameScanner::stopReadError(int error) {
    report_.os_error = error != 0 ? error : EIO;
    char words[120];
    errorText(report_.os_error, words, sizeof words);
    return stop(GMDK_STATUS_READ_FAILED, GMDK_STOP_UNREADABLE, frameStart_, "%s", words);
}

// The file ends `have` bytes into the frame at frameStart_. In the first
// frame that means the file is no GMD file at all.
bool FrameScanner::stopCut(std::uint64_t have, std::int32_t length) {
    const bool first = report_.frames == 0;
    const int status = first ? GMDK_STATUS_NOT_GMD : GMDK_STATUS_DAMAGED;
    const int why = first ? GMDK_STOP_NOT_GMD : GMDK_STOP_TRUNCATED;
    if (have < 8)
        return stop(status, why, frameStart_, "the file ends %llu byte(s) into a frame's %s", ull(have),
                    have < 4 ? "length field" : "header");
    const std::uint64_t need = static_cast<std::uint64_t>(length) + 8;
    const char* part = have < need - 4 ? "payload" : "trailing length";
    if (first)
        return stop(status, why, frameStart_, "the first frame claims %llu bytes but the file holds %llu",
                    ull(need), ull(have));
    return stop(status, why, frameStart_, "the file ends inside a frame's %s: length %d needs %llu bytes, %llu remain",
                part, static_cast<int>(length), ull(need), ull(have));
}

// Bytes available at the cursor, reading until at least n are buffered or
// the file ends. Moves the unread bytes to the front of the buffer first, so
// n may be anything up to the buffer's capacity.
std::size_t FrameScanner::peek(std::size_t n) {
    std::size_t avail = static_cast<std::size_t>(bufferStart_ + have_ - cursor_);
    if (avail >= n || atEof_ || fd_ < 0) return avail;
    std::uint8_t* buffer = owned_.get();
    if (cursor_ != bufferStart_) {
        std::memmove(buffer, buffer + (cursor_ - bufferStart_), avail);
        bufferStart_ = cursor_;
        have_ = avail;
    }
    while (have_ < n) {
        long long got = readFd(fd_, buffer + have_, capacity_ - have_);
        if (got < 0) {
            stopReadError(errno);
            break;
        }
        if (got == 0) {
            atEof_ = true;
            break;
        }
        have_ += static_cast<std::size_t>(got);
    }
    return have_;
}

// Passes over n bytes at the cursor, appending them to `into` when given.
// Bytes are gathered as they arrive, so `into` never grows beyond what the
// file holds; without `into` a regular file is skipped by seeking. Returns
// the bytes passed over, fewer at the end of the file or on a read error.
std::uint64_t FrameScanner::consume(std::uint64_t n, std::vector<std::uint8_t>* into) {
    const std::size_t avail = static_cast<std::size_t>(bufferStart_ + have_ - cursor_);
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(avail, n));
    const std::uint8_t* at = buffer_ + (cursor_ - bufferStart_);
    if (into != nullptr) into->insert(into->end(), at, at + take);
    cursor_ += take;
    std::uint64_t done = take;
    if (done == n || fd_ < 0) return done;

    // The buffer is spent: the descriptor stands at the cursor.
    bufferStart_ = cursor_;
    have_ = 0;
    std::uint64_t rest = n - done;
    if (into == nullptr && seekable_) {
        const std::uint64_t skip = std::min(rest, fileSize_ > cursor_ ? fileSize_ - cursor_ : 0);
        if (!seekFd(fd_, cursor_ + skip)) {
            stopReadError(errno);
            return done;
        }
        cursor_ += skip;
        bufferStart_ = cursor_;
        if (skip < rest) atEof_ = true;
        return done + skip;
    }
    while (rest > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(rest, capacity_));
        std::uint8_t* target = owned_.get();
        std::size_t old = 0;
        if (into != nullptr) {
            old = into->size();
            into->resize(old + chunk);
            target = into->data() + old;
        }
        std::size_t got = 0;
        while (got < chunk) {
            long long n = readFd(fd_, target + got, chunk - got);
            if (n <= 0) {
                if (n < 0) stopReadError(errno);
                atEof_ = true;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (into != nullptr) into->resize(old + got);
        cursor_ += got;
        bufferStart_ = cursor_;
        done += got;
        rest -= got;
        if (got < chunk) break;
    }
    return done;
}

bool FrameScanner::next() {
    if (stopped_) return false;
    // Most frames lie whole in the buffer: judged here in one bounds test.
    // The first frame, anything cut off and anything damaged take the path
    // below, which also says why.
    const std::size_t buffered = static_cast<std::size_t>(bufferStart_ + have_ - cursor_);
    if (buffered >= 8 && report_.frames > 0) {
        const std::uint8_t* p = buffer_ + (cursor_ - bufferStart_);
        const std::int32_t length = le32(p);
        if (length >= 4 && buffered - 8 >= static_cast<std::uint32_t>(length) && le32(p + 4 + length) == length) {
            setFrame(p, length);
            payload_ = p + 8;
            cursor_ += frame_.size();
            return accept();
        }
    }
    payload_ = nullptr;
    try {
        frameStart_ = cursor_;
        std::size_t avail = peek(8);
        if (stopped_) return false;
        if (avail == 0) {
            report_.file_size = cursor_;
            return stop(GMDK_STATUS_OK, GMDK_STOP_END, cursor_, "%s", "");
        }
        if (avail < 8) return stopCut(avail, 0);
        const std::uint8_t* p = buffer_ + (cursor_ - bufferStart_);
        const std::int32_t length = le32(p);
        const bool first = report_.frames == 0;
        // libgmd has read the header by the time it refuses the length, so
        // a short file is cut before its length is judged.
        if (length < 4)
            return first ? stop(GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, frameStart_,
                                "the first frame's length %d is below 4", static_cast<int>(length))
                         : stop(GMDK_STATUS_DAMAGED, GMDK_STOP_SHORT_LENGTH, frameStart_, "frame length %d is below 4",
                                static_cast<int>(length));
        if (first && !isRecordLetter(p[4]))
            return stop(GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, frameStart_,
                        "the first frame's letter 0x%02x is no record type", static_cast<unsigned>(p[4]));
        setFrame(p, length);
        const std::uint64_t size = frame_.size();
        // A length field beyond the file is refused before anything is read
        // or sized for it.
        if (sizeKnown_ && fileSize_ >= frameStart_ && fileSize_ - frameStart_ < size)
            return stopCut(fileSize_ - frameStart_, length);

        std::int32_t trailer = 0;
        if (size <= capacity_) {
            avail = peek(static_cast<std::size_t>(size));
            if (stopped_) return false;
            if (avail < size) return stopCut(avail, length);
            p = buffer_ + (cursor_ - bufferStart_);
            trailer = le32(p + 4 + length);
            payload_ = p + 8;
            cursor_ += size;
        } else {
            large_.clear();
            const bool keep = payloads_ == Payloads::Keep;
            const std::uint64_t want = frame_.payloadSize();
            consume(8, nullptr);
            const std::uint64_t got = consume(want, keep ? &large_ : nullptr);
            if (stopped_) return false;
            if (got < want) return stopCut(8 + got, length);
            avail = peek(4);
            if (stopped_) return false;
            if (avail < 4) return stopCut(size - 4 + avail, length);
            trailer = le32(buffer_ + (cursor_ - bufferStart_));
            cursor_ += 4;
            if (keep) payload_ = large_.data();
        }
        if (trailer != length) {
            payload_ = nullptr;
            cursor_ = frameStart_;
            return first ? stop(GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, frameStart_,
                                "the first frame's trailer %d differs from its length %d", static_cast<int>(trailer),
                                static_cast<int>(length))
                         : stop(GMDK_STATUS_DAMAGED, GMDK_STOP_TRAILER, frameStart_, "trailer %d differs from length %d",
                                static_cast<int>(trailer), static_cast<int>(length));
        }
    } catch (const std::bad_alloc&) {
        report_.os_error = ENOMEM;
        return stop(GMDK_STATUS_NO_MEMORY, GMDK_STOP_UNREADABLE, frameStart_, "no memory for a frame's payload");
    }
    return accept();
}

void FrameScanner::setFrame(const std::uint8_t* p, std::int32_t length) {
    frame_.index = report_.frames;
    frame_.offset = cursor_;
    frame_.length = length;
    frame_.letter = p[4];
    frame_.countByte = p[5];
    frame_.group = static_cast<std::int8_t>(p[6]);
    frame_.group2 = static_cast<std::int8_t>(p[7]);
}

bool FrameScanner::accept() {
    report_.frames += 1;
    report_.last_good_record = static_cast<std::int64_t>(report_.frames) - 1;
    report_.letters[frame_.letter] += 1;
    return true;
}

int finishReport(const FrameScanner& scan, GMDK_Report* report) {
    if (report != nullptr) *report = scan.report();
    return scan.status();
}

}  // namespace gmdk

extern "C" int gmdk_scan_file(const char* path, GMDK_Report* report) {
    gmdk::FrameScanner scan;
    if (scan.openFile(path) == GMDK_STATUS_OK)
        while (scan.next()) {
        }
    return gmdk::finishReport(scan, report);
}

extern "C" int gmdk_scan_bytes(const uint8_t* bytes, size_t size, GMDK_Report* report) {
    gmdk::FrameScanner scan;
    static const std::uint8_t none = 0;
    if (bytes == nullptr && size > 0) {
        if (report != nullptr) {
            *report = scan.report();
            report->stop = GMDK_STOP_UNREADABLE;
            std::snprintf(report->reason, sizeof report->reason, "no bytes given for a size of %llu",
                          static_cast<unsigned long long>(size));
        }
        return GMDK_STATUS_BAD_ARGUMENT;
    }
    scan.openBytes(bytes != nullptr ? bytes : &none, size);
    while (scan.next()) {
    }
    return gmdk::finishReport(scan, report);
}
