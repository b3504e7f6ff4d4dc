#include "io.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace tool {

std::string makeTemporaryPath() {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/gmd-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = mkstemp(buffer.data());
    if (fd < 0) throw Error("cannot create a temporary file: " + std::string(std::strerror(errno)));
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
    if (!out) throw Error("<stdin>: cannot copy standard input");
}

InputFile::~InputFile() {
    if (temporary_) std::remove(path_.c_str());
}

OutputFile::OutputFile(const std::string& name) : path_(name), label_(name) {
    if (name != "-") return;
    label_ = "<stdout>";
    path_ = makeTemporaryPath();
    temporary_ = true;
}

OutputFile::~OutputFile() {
    if (temporary_) std::remove(path_.c_str());
}

void OutputFile::commit() {
    if (!temporary_) return;
    std::ifstream in(path_, std::ios::binary);
    std::cout << in.rdbuf();
    std::cout.flush();
    if (!std::cout) throw Error("<stdout>: write failed");
}

std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error(path + ": cannot open: " + std::strerror(errno));
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw Error(path + ": cannot write");
}

void writeWholeFile(const std::string& path, const std::string& text) {
    writeWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
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

Progress::Progress(const char* what, std::size_t total)
    : what_(what), total_(total), active_(total > 0 && isatty(STDERR_FILENO)) {}

Progress::~Progress() {
    if (active_ && shown_ >= 0) std::fprintf(stderr, "\r%*s\r", 60, "");
}

void Progress::step(std::size_t done) {
    if (!active_) return;
    int percent = static_cast<int>(done * 100 / total_);
    if (percent == shown_) return;
    shown_ = percent;
    int bar = percent * 30 / 100;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", what_, bar, "##############################", 30 - bar, "", percent);
    std::fflush(stderr);
}

}  // namespace tool
