// Opening and closing handles.
#include <new>

#include "access.h"

namespace gmd {
namespace {

GMD_File* openFile(const char* fileName, FileStream::Direction direction) noexcept {
    auto* file = new (std::nothrow) RecordFile();
    if (file == nullptr) return nullptr;
    if (!file->stream.open(fileName, direction)) {
        delete file;
        return nullptr;
    }
    return handleOf(file);
}

}  // namespace
}  // namespace gmd

using namespace gmd;

GMD_File* GMD_OpenReadFile(const char* fileName) { return openFile(fileName, FileStream::Direction::Read); }

GMD_File* GMD_OpenWriteFile(const char* fileName) { return openFile(fileName, FileStream::Direction::Write); }

GMD_File* GMD_OpenAppendFile(const char* fileName) { return openFile(fileName, FileStream::Direction::Append); }

int32_t GMD_CloseFile(GMD_File* handle) {
    if (handle == nullptr) return 0;
    RecordFile* file = fileOf(handle);
    file->stream.close();
    delete file;
    return 1;
}
