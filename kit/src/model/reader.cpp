#include "model/reader.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "gmd.h"
#include "model/fields.h"
#include "model/names.h"

namespace gmdk {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

RecordReader::RecordReader(const std::string& path) {
    report_.last_good_record = -1;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        report_.os_error = errno;
        stop(GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, std::strerror(errno));
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        report_.os_error = EISDIR;
        stop(GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, "is a folder, not a file");
        return;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        report_.os_error = errno;
        stop(GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, std::strerror(errno));
        return;
    }
    report_.file_size = static_cast<std::uint64_t>(info.st_size);
    report_.stop_offset = report_.file_size;
    handle_ = GMD_OpenReadFile(path.c_str());
    if (!handle_) {
        report_.os_error = errno;
        stop(GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, "the library cannot open the file");
        return;
    }
    buffer_.resize(kBufferSize);
}

RecordReader::~RecordReader() {
    if (file_) std::fclose(file_);
    if (handle_) GMD_CloseFile(handle_);
}

void RecordReader::stop(int status, int reason, const std::string& text) {
    stopped_ = true;
    status_ = status;
    report_.stop = reason;
    if (status != GMDK_STATUS_OPEN_FAILED) report_.stop_offset = offset_;
    std::snprintf(report_.reason, sizeof report_.reason, "%s", text.c_str());
}

// Makes at least `bytes` unread bytes available; false at the end of the file.
bool RecordReader::fill(std::size_t bytes) {
    if (end_ - begin_ >= bytes) return true;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() < bytes) buffer_.resize(bytes);
    while (end_ < bytes) {
        const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        if (got == 0) {
            if (std::ferror(file_)) {
                report_.os_error = errno;
                stop(GMDK_STATUS_READ_FAILED, GMDK_STOP_UNREADABLE, std::strerror(errno));
            }
            return false;
        }
        end_ += got;
    }
    return true;
}

// Every check on the bytes ends here with its own reason. The first frame is
// held to more: a length beyond the file or a letter no record has says the
// file is something else altogether, not a damaged GMD file.
bool RecordReader::readFrame(Frame& frame) {
    const std::uint64_t left = report_.file_size - offset_;
    if (left == 0) return false;
    const bool first = offset_ == 0;
    auto foreign = [&](const std::string& why) {
        stop(GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, "not a GMD file: " + why);
        return false;
    };
    if (left < 8) {
        if (first) return foreign("only " + std::to_string(left) + " byte(s)");
        stop(GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED,
             "truncated: " + std::to_string(left) + " byte(s) where a frame of at least 12 belongs");
        return false;
    }
    if (!fill(8)) return false;
    const std::uint8_t* p = buffer_.data() + begin_;
    const std::int32_t length = static_cast<std::int32_t>(le32(p));
    if (first && (length < 4 || static_cast<std::uint64_t>(length) + 8 > left))
        return foreign("its first frame length " + std::to_string(length) + " does not fit a file of " +
                       std::to_string(report_.file_size) + " bytes");
    if (first && !isKnownLetter(p[4])) return foreign("its first record letter " + letterText(p[4]) + " is none of GMD's");
    if (length < 4) {
        stop(GMDK_STATUS_DAMAGED, GMDK_STOP_SHORT_LENGTH, "frame length " + std::to_string(length) + " is below 4");
        return false;
    }
    const std::uint64_t need = static_cast<std::uint64_t>(length) + 8;
    if (need > left) {
        stop(GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED,
             "truncated: frame length " + std::to_string(length) + " needs " + std::to_string(need) + " bytes, " +
                 std::to_string(left) + " remain");
        return false;
    }
    if (!fill(static_cast<std::size_t>(need))) {
        if (!stopped_) stop(GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, "truncated: the file ended early");
        return false;
    }
    p = buffer_.data() + begin_;
    const std::int32_t trailer = static_cast<std::int32_t>(le32(p + 4 + length));
    if (trailer != length) {
        if (first) return foreign("its first frame ends in " + std::to_string(trailer) + " where its length " +
                                  std::to_string(length) + " belongs");
        stop(GMDK_STATUS_DAMAGED, GMDK_STOP_TRAILER,
             "trailer " + std::to_string(trailer) + " differs from length " + std::to_string(length));
        return false;
    }
    frame.offset = offset_;
    frame.letter = p[4];
    frame.countByte = p[5];
    frame.group = static_cast<std::int8_t>(p[6]);
    frame.group2 = static_cast<std::int8_t>(p[7]);
    frame.payload.assign(p + 8, p + 4 + length);
    begin_ += static_cast<std::size_t>(need);
    offset_ += need;
    return true;
}

bool RecordReader::next(Record& r, bool withFields) {
    if (stopped_) return false;
    if (!readFrame(r.frame)) {
        stopped_ = true;
        if (status_ == GMDK_STATUS_OK && handle_ && GMD_GetRecord(handle_))
            libraryNote_ = "the library read a record past offset " + std::to_string(report_.stop_offset) +
                           ", where the frames end";
        return false;
    }
    if (!GMD_GetRecord(handle_)) {
        libraryNote_ = "the library stopped reading at offset " + std::to_string(r.frame.offset) + " (record " +
                       std::to_string(report_.frames) + "), where the frames still look whole";
        offset_ = r.frame.offset;
        stop(GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, libraryNote_);
        return false;
    }
    r.index = static_cast<std::size_t>(report_.frames);
    r.code = GMD_GetRecordType(handle_);
    ++report_.letters[r.frame.letter];
    report_.last_good_record = static_cast<std::int64_t>(report_.frames);
    ++report_.frames;
    if (withFields)
        readFields(handle_, r);
    else {
        r.fields.clear();
        r.hasFields = false;
    }
    return true;
}

std::string describeStop(int status, const GMDK_Report& report) {
    switch (status) {
    case GMDK_STATUS_OK:
        return "clean end after " + std::to_string(report.frames) + " record(s)";
    case GMDK_STATUS_OPEN_FAILED:
    case GMDK_STATUS_READ_FAILED:
        if (report.os_error == EISDIR) return "is a folder, not a file";
        if (report.os_error == ENOENT) return "no such file";
        return std::string("cannot read: ") + report.reason;
    case GMDK_STATUS_NOT_GMD:
        return std::string(report.reason) + " (offset 0)";
    default: {
        std::string where = "damaged at offset " + std::to_string(report.stop_offset) + ": " + report.reason;
        if (report.last_good_record >= 0)
            where += " (after record " + std::to_string(report.last_good_record) + ")";
        else
            where += " (no record before it)";
        return where;
    }
    }
}

}  // namespace gmdk
