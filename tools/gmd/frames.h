// The tool's own view of the bytes of a GMD file: the frames as they lie on
// disk and the reason a scan stopped. The library tells a clean end from a
// damaged frame by nothing but a 0 from GMD_GetRecord; this scan says which
// it was, where, and why, and keeps the payload bytes that getters cannot
// reproduce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tool {

struct Frame {
    std::uint64_t offset = 0;     // byte offset of the leading length
    std::int32_t length = 0;      // L: header plus payload bytes
    std::uint8_t letter = 0;
    std::uint8_t countByte = 0;   // header byte 1, ignored by readers
    std::int8_t group = 0;
    std::int8_t group2 = 0;
    std::vector<std::uint8_t> payload;  // L - 4 bytes

    // Whole words; a payload whose size is not a multiple of 4 rounds up.
    std::size_t wordCount() const { return (payload.size() + 3) / 4; }
    std::int32_t intWord(std::size_t i) const;
    float floatWord(std::size_t i) const;
    // The frame exactly as it lies in the file.
    std::vector<std::uint8_t> bytes() const;
};

struct Scan {
    std::uint64_t fileSize = 0;
    std::vector<Frame> frames;
    bool damaged = false;
    std::uint64_t stopOffset = 0;   // where the first unreadable frame begins
    std::string stopReason;         // empty for a clean end
};

Scan scanBytes(const std::vector<std::uint8_t>& bytes);
Scan scanFile(const std::string& path);

// Frame for a record of this letter and payload, as the writer lays it out.
std::vector<std::uint8_t> frameBytes(std::uint8_t letter, std::uint8_t countByte, std::int8_t group,
                                     std::int8_t group2, const std::vector<std::uint8_t>& payload);

}  // namespace tool
