// File plumbing shared by the subcommands: failures and their exit codes,
// stdin/stdout stand-ins, outputs that appear only when complete, and the
// terminal progress bar.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/error.h"
#include "model/reader.h"

namespace tool {

using gmdk::Error;

// A failure that ends the command with this exit code: 1 for a damaged or
// foreign input, 2 for a file that cannot be read at all or a usage error.
class Exit : public Error {
public:
    Exit(int code, const std::string& message) : Error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
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

// A file written under a temporary name beside the target and renamed to it
// by commit(), so that a failed command leaves no partial output. For "-"
// commit() copies the bytes to stdout instead.
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
    std::string name_;
    std::string path_;
    std::string label_;
    bool committed_ = false;
};

// Throws Exit(2) naming the file when the reader could not open it.
void requireOpened(const gmdk::RecordReader& reader, const std::string& label);
// After the last record: a damaged or foreign file is reported on stderr
// with the file name, offset and reason. Returns 0 at a clean end; at damage
// 1, or 0 with `force` (what came before the damage is kept).
int finishReading(const gmdk::RecordReader& reader, const std::string& label, bool force);

std::string makeTemporaryPath(const std::string& besides = "");
// Lower-case extension without the dot ("" when there is none).
std::string extensionOf(const std::string& name);
std::string hexBytes(const std::uint8_t* bytes, std::size_t count);
std::vector<std::uint8_t> bytesFromHex(const std::string& hex);

// Counts work done on stderr, but only when stderr is a terminal.
class Progress {
public:
    Progress(const char* what, std::uint64_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void step(std::uint64_t done);

private:
    const char* what_;
    std::uint64_t total_;
    int shown_ = -1;
    bool active_;
};

}  // namespace tool
