// Plain file descriptors for gmdkit's own reads: the scanner needs to know a
// file's kind and size before it trusts a length field, and to read and seek
// without a second layer of buffering.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gmdk {

struct FileInfo {
    int error = 0;          // errno of a failed stat, EISDIR for a folder
    bool exists = false;
    bool regular = false;   // a regular file: its size is known and it can seek
    std::uint64_t size = 0;
};

// Opens for reading; -1 with *error set on failure (EISDIR for a folder).
int openForReading(const char* path, int* error, FileInfo* info);
FileInfo statPath(const char* path);
// Bytes read, 0 at the end, -1 on an error (errno), retrying interrupted calls.
long long readFd(int fd, void* into, std::size_t size);
bool seekFd(int fd, std::uint64_t offset);
void closeFd(int fd);

// The system's words for an errno value, NUL-terminated in `text`.
void errorText(int error, char* text, std::size_t size);

}  // namespace gmdk
