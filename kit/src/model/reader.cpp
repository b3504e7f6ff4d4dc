#include "model/reader.h"

#include <cerrno>
#include <cstring>

#include "gmd.h"
#include "model/fields.h"
#include "scan.h"

namespace gmdk {

RecordReader::RecordReader(const std::string& path)
    : scan_(std::make_unique<FrameScanner>(FrameScanner::Payloads::Keep)) {
    status_ = scan_->openFile(path.c_str());
    if (status_ != GMDK_STATUS_OK) {
        stopped_ = true;
        return;
    }
    handle_ = GMD_OpenReadFile(path.c_str());
    if (!handle_) {
        own_ = scan_->report();
        own_.os_error = errno;
        own_.stop = GMDK_STOP_UNREADABLE;
        std::snprintf(own_.reason, sizeof own_.reason, "the library cannot open the file");
        status_ = GMDK_STATUS_OPEN_FAILED;
        stopped_ = true;
    }
}

RecordReader::~RecordReader() {
    if (handle_) GMD_CloseFile(handle_);
}

const GMDK_Report& RecordReader::report() const {
    return own_.stop != GMDK_STOP_END ? own_ : scan_->report();
}

bool RecordReader::next(Record& r, bool withFields) {
    if (stopped_) return false;
    if (!scan_->next()) {
        stopped_ = true;
        status_ = scan_->status();
        if (status_ == GMDK_STATUS_OK && GMD_GetRecord(handle_))
            libraryNote_ = "the library read a record past offset " + std::to_string(scan_->report().stop_offset) +
                           ", where the frames end";
        return false;
    }
    const Frame& f = scan_->frame();
    if (!GMD_GetRecord(handle_)) {
        // The frames look whole where the library stops: its verdict stands,
        // as damage at this frame.
        libraryNote_ = "the library stopped reading at offset " + std::to_string(f.offset) + " (record " +
                       std::to_string(f.index) + "), where the frames still look whole";
        own_ = scan_->report();
        own_.stop = GMDK_STOP_TRUNCATED;
        own_.stop_offset = f.offset;
        own_.frames = f.index;
        own_.last_good_record = static_cast<std::int64_t>(f.index) - 1;
        std::snprintf(own_.reason, sizeof own_.reason, "%s", libraryNote_.c_str());
        status_ = GMDK_STATUS_DAMAGED;
        stopped_ = true;
        return false;
    }
    r.frame.offset = f.offset;
    r.frame.letter = f.letter;
    r.frame.countByte = f.countByte;
    r.frame.group = f.group;
    r.frame.group2 = f.group2;
    r.frame.payload.assign(scan_->payload(), scan_->payload() + f.payloadSize());
    r.index = static_cast<std::size_t>(f.index);
    r.code = GMD_GetRecordType(handle_);
    if (withFields)
        readFields(handle_, r);
    else {
        r.fields.clear();
        r.hasFields = false;
    }
    return true;
}

std::string describeStop(int status, const GMDK_Report& report) {
    if (status == GMDK_STATUS_OPEN_FAILED || status == GMDK_STATUS_READ_FAILED) {
        if (report.os_error == EISDIR) return "is a folder, not a file";
        if (report.os_error == ENOENT) return "no such file";
    }
    char text[400];
    gmdk_describe(status, &report, text, sizeof text);
    return text;
}

}  // namespace gmdk
