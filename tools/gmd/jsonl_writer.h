// GMD records written as the lines of a .jsonl file, losslessly.
//
// A record goes out as its fields only when handing those fields back to the
// library's setters gives its exact frame; otherwise as its frame bytes
// ("raw"). Checking costs no second record: lines are written into a batch
// as records arrive, on the assumption that their fields hold, while the
// setters write the same records into a scratch file. When the batch is full,
// the scratch frames are compared with the originals in one pass, the lines
// of the (rare) records whose frames differ are replaced by their raw form,
// and the batch goes to the file in one write. Memory is that of one batch.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "json_codec.h"

struct GMD_File;

namespace tool {

class JsonlWriter {
public:
    JsonlWriter(const std::string& path, const std::string& label);
    ~JsonlWriter();
    JsonlWriter(const JsonlWriter&) = delete;
    JsonlWriter& operator=(const JsonlWriter&) = delete;

    void add(const Record& record);
    // The bytes after the last readable frame, as a last line.
    void tail(std::uint64_t offset, const std::string& reason, const std::vector<std::uint8_t>& bytes);
    void close();

private:
    // A record whose line was written from its fields, awaiting the check.
    struct Pending {
        std::size_t lineStart, lineEnd;   // in text_, the line end included
        std::size_t frameStart;           // in frames_: its frame as read
        std::size_t index;
        std::uint64_t offset;
        std::int32_t code;
    };

    bool writeThroughSetters(const Record& record);
    void flush();
    void readScratch();
    void replaceUnfaithfulLines();
    void releaseScratch();

    std::string label_;
    std::FILE* out_ = nullptr;
    RecordLines lines_;
    LineBuffer text_;                     // the batch's lines
    std::vector<std::uint8_t> frames_;    // the checked records' frames, as read
    std::vector<Pending> pending_;
    std::string scratchPath_;
    int scratchFd_ = -1;                  // an in-memory file, when there is one
    GMD_File* scratch_ = nullptr;         // open while a batch is pending
    std::vector<std::uint8_t> written_;   // the scratch file read back
    Record raw_;                          // a pending record given its raw line
};

}  // namespace tool
