#include "model/writer.h"

#include <fstream>

#include "gmd.h"
#include "model/setters.h"

namespace gmdk {

RecordWriter::RecordWriter(const std::string& path, const std::string& label) : path_(path), label_(label) {
    handle_ = GMD_OpenWriteFile(path.c_str());
    if (!handle_) throw Error(label + ": cannot create the file");
}

RecordWriter::~RecordWriter() {
    if (handle_) GMD_CloseFile(handle_);
}

bool RecordWriter::write(const Record& record) {
    if (!record.hasFields) {
        writeBytes(record.frame.bytes());
        return true;
    }
    bool accepted = false;
    try {
        accepted = setRecord(handle_, record);
    } catch (...) {
        GMD_ResetRecord(handle_);
        throw;
    }
    if (!accepted) GMD_ResetRecord(handle_);
    if (!GMD_WriteRecord(handle_)) throw Error(label_ + ": write failed");
    return accepted;
}

void RecordWriter::writeBytes(const std::vector<std::uint8_t>& bytes) {
    // The library holds the file open for writing; the bytes are appended
    // between two of its handles so that the stream positions never race.
    GMD_CloseFile(handle_);
    handle_ = nullptr;
    {
        std::ofstream out(path_, std::ios::binary | std::ios::app);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw Error(label_ + ": write failed");
    }
    handle_ = GMD_OpenAppendFile(path_.c_str());
    if (!handle_) throw Error(label_ + ": cannot reopen the file for appending");
}

void RecordWriter::close() {
    if (handle_ && !GMD_CloseFile(handle_)) throw Error(label_ + ": close failed");
    handle_ = nullptr;
}

}  // namespace gmdk
