#include "frames.h"

#include <cstring>

#include "io.h"

namespace tool {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::int32_t Frame::intWord(std::size_t i) const {
    std::uint8_t word[4] = {0, 0, 0, 0};
    for (std::size_t b = 0; b < 4 && 4 * i + b < payload.size(); ++b) word[b] = payload[4 * i + b];
    return static_cast<std::int32_t>(le32(word));
}

float Frame::floatWord(std::size_t i) const {
    std::uint32_t bits = static_cast<std::uint32_t>(intWord(i));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::vector<std::uint8_t> Frame::bytes() const {
    return frameBytes(letter, countByte, group, group2, payload);
}

std::vector<std::uint8_t> frameBytes(std::uint8_t letter, std::uint8_t countByte, std::int8_t group,
                                     std::int8_t group2, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out;
    std::uint32_t length = static_cast<std::uint32_t>(payload.size() + 4);
    out.reserve(payload.size() + 12);
    put32(out, length);
    out.push_back(letter);
    out.push_back(countByte);
    out.push_back(static_cast<std::uint8_t>(group));
    out.push_back(static_cast<std::uint8_t>(group2));
    out.insert(out.end(), payload.begin(), payload.end());
    put32(out, length);
    return out;
}

Scan scanBytes(const std::vector<std::uint8_t>& bytes) {
    Scan scan;
    scan.fileSize = bytes.size();
    std::uint64_t at = 0;
    const std::uint64_t size = bytes.size();
    auto stop = [&](std::string reason) {
        scan.damaged = true;
        scan.stopOffset = at;
        scan.stopReason = std::move(reason);
    };
    while (at < size) {
        std::uint64_t left = size - at;
        if (left < 4) {
            stop("truncated: " + std::to_string(left) + " byte(s) where a frame length belongs");
            break;
        }
        if (left < 8) {
            stop("truncated: frame header cut off after " + std::to_string(left) + " bytes");
            break;
        }
        const std::uint8_t* p = bytes.data() + at;
        std::int32_t length = static_cast<std::int32_t>(le32(p));
        if (length < 4) {
            stop("impossible frame length " + std::to_string(length) + " (below 4)");
            break;
        }
        std::uint64_t need = static_cast<std::uint64_t>(length) + 8;
        if (need > left) {
            if (static_cast<std::uint64_t>(length) + 4 > left)
                stop("truncated: frame length " + std::to_string(length) + " needs " + std::to_string(need) +
                     " bytes, only " + std::to_string(left) + " remain");
            else
                stop("truncated: trailing length missing (frame length " + std::to_string(length) + ")");
            break;
        }
        std::int32_t trailer = static_cast<std::int32_t>(le32(p + 4 + length));
        if (trailer != length) {
            stop("trailer mismatch: leading length " + std::to_string(length) + ", trailing length " +
                 std::to_string(trailer));
            break;
        }
        Frame frame;
        frame.offset = at;
        frame.length = length;
        frame.letter = p[4];
        frame.countByte = p[5];
        frame.group = static_cast<std::int8_t>(p[6]);
        frame.group2 = static_cast<std::int8_t>(p[7]);
        frame.payload.assign(p + 8, p + 4 + length);
        scan.frames.push_back(std::move(frame));
        at += need;
    }
    if (!scan.damaged) scan.stopOffset = size;
    return scan;
}

Scan scanFile(const std::string& path) { return scanBytes(readWholeFile(path)); }

}  // namespace tool
