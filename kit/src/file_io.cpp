#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#ifdef _WIN32
#  include <io.h>
#  define GMDK_OPEN_FLAGS (_O_RDONLY | _O_BINARY)
typedef struct _stati64 StatBuffer;
static int fdStat(int fd, StatBuffer* st) { return _fstati64(fd, st); }
static int pathStat(const char* path, StatBuffer* st) { return _stati64(path, st); }
static long long fdRead(int fd, void* into, unsigned size) { return _read(fd, into, size); }
static long long fdSeek(int fd, long long offset) { return _lseeki64(fd, offset, SEEK_SET); }
static int fdOpen(const char* path) { return _open(path, GMDK_OPEN_FLAGS); }
static void fdClose(int fd) { _close(fd); }
#  ifndef S_ISDIR
#    define S_ISDIR(m) (((m) & _S_IFMT) == _S_IFDIR)
#  endif
#  ifndef S_ISREG
#    define S_ISREG(m) (((m) & _S_IFMT) == _S_IFREG)
#  endif
#else
#  include <unistd.h>
#  ifndef O_CLOEXEC
#    define O_CLOEXEC 0
#  endif
typedef struct stat StatBuffer;
static int fdStat(int fd, StatBuffer* st) { return fstat(fd, st); }
static int pathStat(const char* path, StatBuffer* st) { return stat(path, st); }
static long long fdRead(int fd, void* into, std::size_t size) { return read(fd, into, size); }
static long long fdSeek(int fd, long long offset) { return lseek(fd, static_cast<off_t>(offset), SEEK_SET); }
static int fdOpen(const char* path) { return open(path, O_RDONLY | O_CLOEXEC); }
static void fdClose(int fd) { close(fd); }
#endif

namespace gmdk {

namespace {

FileInfo describe(const StatBuffer& st) {
    FileInfo info;
    info.exists = true;
    info.regular = S_ISREG(st.st_mode);
    if (S_ISDIR(st.st_mode)) info.error = EISDIR;
    if (info.regular && st.st_size > 0) info.size = static_cast<std::uint64_t>(st.st_size);
    return info;
}

}  // namespace

int openForReading(const char* path, int* error, FileInfo* info) {
    *error = 0;
    int fd = fdOpen(path);
    if (fd < 0) {
        *error = errno != 0 ? errno : EIO;
        // Some systems refuse to open a folder at all; say what it is.
        FileInfo byPath = statPath(path);
        if (byPath.error == EISDIR) *error = EISDIR;
        return -1;
    }
    StatBuffer st;
    if (fdStat(fd, &st) != 0) {
        *error = errno != 0 ? errno : EIO;
        fdClose(fd);
        return -1;
    }
    *info = describe(st);
    if (info->error != 0) {
        *error = info->error;
        fdClose(fd);
        return -1;
    }
    return fd;
}

FileInfo statPath(const char* path) {
    StatBuffer st;
    if (pathStat(path, &st) != 0) {
        FileInfo missing;
        missing.error = errno != 0 ? errno : EIO;
        return missing;
    }
    return describe(st);
}

long long readFd(int fd, void* into, std::size_t size) {
    for (;;) {
#ifdef _WIN32
        long long got = fdRead(fd, into, static_cast<unsigned>(size > 0x40000000u ? 0x40000000u : size));
#else
        long long got = fdRead(fd, into, size);
#endif
        if (got >= 0 || errno != EINTR) return got;
    }
}

bool seekFd(int fd, std::uint64_t offset) { return fdSeek(fd, static_cast<long long>(offset)) >= 0; }

void closeFd(int fd) { fdClose(fd); }

void errorText(int error, char* text, std::size_t size) {
    if (size == 0) return;
    try {
        std::snprintf(text, size, "%s", std::generic_category().message(error).c_str());
    } catch (...) {
        std::snprintf(text, size, "error %d", error);
    }
}

}  // namespace gmdk
