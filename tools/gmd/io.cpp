#include "io.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tool {

std::string makeTemporaryPath(const std::string& besides) {
    std::string pattern;
    if (besides.empty()) {
        const char* dir = std::getenv("TMPDIR");
        pattern = std::string(dir && *dir ? dir : "/tmp") + "/gmd-XXXXXX";
    } else {
        pattern = besides + ".gmd-partial-XXXXXX";
    }
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = mkstemp(buffer.data());
    if (fd < 0)
        throw Exit(2, (besides.empty() ? std::string("cannot create a temporary file") : besides + ": cannot write beside it") +
                          ": " + std::strerror(errno));
    close(fd);
    return std::string(buffer.data());
}

InputFile::InputFile(const std::string& name) : path_(name), label_(name) {
    if (name != "-") return;
    label_ = "<stdin>";
    path_ = makeTemporaryPath();
    temporary_ = true;
    std::ofstream out(path_, std::ios::binary);
    out << std::cin.rdbuf();
    if (!out) throw Exit(2, "<stdin>: cannot copy standard input");
}

InputFile::~InputFile() {
    if (temporary_) std::remove(path_.c_str());
}

OutputFile::OutputFile(const std::string& name) : name_(name), label_(name) {
    if (name == "-") {
        label_ = "<stdout>";
        path_ = makeTemporaryPath();
        return;
    }
    struct stat info;
    if (stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw Exit(2, name + ": is a folder, not a file");
    path_ = makeTemporaryPath(name);
}

OutputFile::~OutputFile() {
    if (!committed_) std::remove(path_.c_str());
}

void OutputFile::commit() {
    if (name_ != "-") {
        // mkstemp made the file private; the output gets the usual mode.
        const mode_t mask = umask(0);
        umask(mask);
        chmod(path_.c_str(), 0666 & ~mask);
        if (std::rename(path_.c_str(), name_.c_str()) != 0) throw Exit(2, name_ + ": cannot write: " + std::strerror(errno));
        committed_ = true;
        return;
    }
    std::ifstream in(path_, std::ios::binary);
    std::cout << in.rdbuf();
    std::cout.flush();
    if (!std::cout) throw Exit(2, "<stdout>: write failed");
}

void requireOpened(const gmdk::RecordReader& reader, const std::string& label) {
    if (reader.status() == GMDK_STATUS_OPEN_FAILED)
        throw Exit(2, label + ": " + gmdk::describeStop(reader.status(), reader.report()));
}

int finishReading(const gmdk::RecordReader& reader, const std::string& label, bool force) {
    if (reader.status() == GMDK_STATUS_OK) return 0;
    if (reader.status() == GMDK_STATUS_OPEN_FAILED) requireOpened(reader, label);
    const std::string what = gmdk::describeStop(reader.status(), reader.report());
    if (force) {
        std::fprintf(stderr, "gmd: %s: %s; kept the %llu record(s) before it\n", label.c_str(), what.c_str(),
                     static_cast<unsigned long long>(reader.report().frames));
        return 0;
    }
    std::fprintf(stderr, "gmd: %s: %s\n", label.c_str(), what.c_str());
    return 1;
}

std::string extensionOf(const std::string& name) {
    auto slash = name.find_last_of('/');
    auto dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = name.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 15]);
    }
    return out;
}

std::vector<std::uint8_t> bytesFromHex(const std::string& hex) {
    auto nibble = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw Error("bad hexadecimal digit '" + std::string(1, c) + "'");
    };
    if (hex.size() % 2) throw Error("hexadecimal text of odd length");
    std::vector<std::uint8_t> out(hex.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>(nibble(hex[2 * i]) * 16 + nibble(hex[2 * i + 1]));
    return out;
}

Progress::Progress(const char* what, std::uint64_t total)
    : what_(what), total_(total), active_(total > 0 && isatty(STDERR_FILENO)) {}

Progress::~Progress() {
    if (active_ && shown_ >= 0) std::fprintf(stderr, "\r%*s\r", 60, "");
}

void Progress::step(std::uint64_t done) {
    if (!active_) return;
    int percent = static_cast<int>(done * 100 / total_);
    if (percent == shown_) return;
    shown_ = percent;
    int bar = percent * 30 / 100;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", what_, bar, "##############################", 30 - bar, "", percent);
    std::fflush(stderr);
}

}  // namespace tool
