// Records of a GMD file one at a time, at constant memory: the frames as they
// lie on disk, paired with what the library reads from them, and why reading
// stopped.
//
// libgmd tells a clean end from a damaged frame by nothing but a 0 from
// GMD_GetRecord. The reader walks the frames with the frame scanner, in step
// with the library, so that it can say which it was, where and why.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gmdkit.h"
#include "model/record.h"

struct GMD_File;

namespace gmdk {

class FrameScanner;

class RecordReader {
public:
    // Opening never throws: a file that cannot be opened leaves the reader
    // stopped with status() GMDK_STATUS_OPEN_FAILED.
    explicit RecordReader(const std::string& path);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // The next whole record into r (its frame, index and type code; its
    // fields when `withFields`). False at the end of the file or at the
    // first frame that cannot be read; status() then says which.
    bool next(Record& r, bool withFields = true);

    // GMDK_STATUS_OK until reading stops at damage (GMDK_STATUS_DAMAGED), at
    // a file that is not GMD (GMDK_STATUS_NOT_GMD), or at a failure of the
    // file itself (GMDK_STATUS_OPEN_FAILED, GMDK_STATUS_READ_FAILED).
    int status() const { return status_; }
    // Filled as frames are read; complete once next() returned false.
    const GMDK_Report& report() const;
    // Set when the library stops reading where the frames still look whole,
    // or reads on where they end.
    const std::string& libraryNote() const { return libraryNote_; }
    // The handle the library reads with; its current record is the one next()
    // returned last.
    GMD_File* handle() const { return handle_; }

private:
    std::unique_ptr<FrameScanner> scan_;
    GMD_File* handle_ = nullptr;
    bool stopped_ = false;
    int status_ = GMDK_STATUS_OK;
    // The library's verdict where the frames disagree with it.
    GMDK_Report own_{};
    std::string libraryNote_;
};

// One line for a stopped reader, as gmdk_describe words it, except that a
// missing file and a folder are said plainly.
std::string describeStop(int status, const GMDK_Report& report);

}  // namespace gmdk
