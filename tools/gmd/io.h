// File plumbing shared by the subcommands: errors, stdin/stdout stand-ins,
// whole-file reads and the terminal progress bar.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace tool {

// A failure worth one line on stderr; the subcommand maps it to its exit code.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A file the library can open by name. "-" is copied from stdin into a
// temporary file that lives as long as this object.
class InputFile {
public:
    explicit InputFile(const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    const std::string& path() const { return path_; }
    const std::string& label() const { return label_; }

private:
    std::string path_;
    std::string label_;
    bool temporary_ = false;
};

// A file the library can create by name. For "-" the bytes go to a temporary
// file that commit() copies to stdout.
class OutputFile {
public:
    explicit OutputFile(const std::string& name);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    const std::string& path() const { return path_; }
    const std::string& label() const { return label_; }
    void commit();

private:
    std::string path_;
    std::string label_;
    bool temporary_ = false;
};

std::string makeTemporaryPath();
std::vector<std::uint8_t> readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeWholeFile(const std::string& path, const std::string& text);
// Lower-case extension without the dot ("" when there is none).
std::string extensionOf(const std::string& name);
std::string hexBytes(const std::uint8_t* bytes, std::size_t count);
std::vector<std::uint8_t> bytesFromHex(const std::string& hex);

// Counts work done on stderr, but only when stderr is a terminal.
class Progress {
public:
    Progress(const char* what, std::size_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void step(std::size_t done);

private:
    const char* what_;
    std::size_t total_;
    int shown_ = -1;
    bool active_;
};

}  // namespace tool
