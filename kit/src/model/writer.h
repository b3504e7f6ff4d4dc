// Records written to a new GMD file.
#pragma once

#include <string>
#include <vector>

#include "model/record.h"

struct GMD_File;

namespace gmdk {

// Records with fields go through the library's setters; raw records and
// damaged tails are written as their bytes.
class RecordWriter {
public:
    // `label` names the file in messages.
    RecordWriter(const std::string& path, const std::string& label);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    // Returns false when a setter refused the record; an empty record is
    // written in its place so that frames stay one per record.
    bool write(const Record& record);
    void writeBytes(const std::vector<std::uint8_t>& bytes);
    void close();

private:
    std::string path_;
    std::string label_;
    GMD_File* handle_ = nullptr;
};

}  // namespace gmdk
