// Shapes shared by the mesh element records: fixed word ranges, counted
// blocks (a count word followed by that many words), sliding the words
// behind a block, and the polygon word positions that follow the quad and
// attribute flags.
#pragma once

#include <cstdint>
#include <cstring>

#include "../core/access.h"

namespace gmd {

// Growing setters test the size first, so that a refusal changes nothing.
inline bool fitsFrame(std::int64_t words) { return words >= 0 && words <= kMaxWritableWords; }

struct WordRange {
    std::int32_t first;
    std::int32_t count;
};

// Words of vertex k of a segment or polygon.
inline constexpr WordRange vertexWords(std::int32_t k) { return {3 * k, 3}; }

inline constexpr std::int32_t kSegmentWords = 6;
inline constexpr std::int32_t kTriangleWords = 9;
inline constexpr std::int32_t kQuadWords = 12;

// V: the length of the vertex block of the polygon in hand.
inline std::int32_t polygonVertexWords(const RecordFile& file) { return file.quad ? kQuadWords : kTriangleWords; }

// T: where the thickness list of an 'A' record starts, behind the FSS
// orientation when the record carries one.
inline std::int32_t thicknessWord(const RecordFile& file) { return polygonVertexWords(file) + 3 * file.attribute; }

// The count n of the counted block at word `at` (n, then n words): false
// when the count word or the words it counts pass the last word. n is
// reported as stored; a negative one, which only a file holds, counts no
// words.
inline bool countedBlock(const RecordBuffer& record, std::int32_t at, std::int32_t& n) {
    if (!record.holds(at, 1)) return false;
    const std::int32_t count = record.getInt(at);
    if (!record.holds(std::int64_t{at} + 1, count < 0 ? 0 : count)) return false;
    n = count;
    return true;
}

// Copies the words of the counted block at `at`; nothing for a count below 1.
inline bool countedBlockOut(const RecordBuffer& record, std::int32_t at, void* out) {
    std::int32_t n = 0;
    if (!countedBlock(record, at, n)) return false;
    record.copyOut(at + 1, n, out);
    return true;
}

// Moves words [from, end) so that they start at `to`, keeping their order,
// and resizes the record to end just behind them. Words opened up between
// `from` and `to` are zero. The caller has checked that the new size fits.
inline void moveTail(RecordBuffer& record, std::int32_t from, std::int32_t to) {
    const std::int32_t tail = record.wordCount() - from;
    const auto bytes = static_cast<std::size_t>(tail) * 4;
    if (to > from) {
        record.resize(to + tail);
        std::memmove(record.payload() + to, record.payload() + from, bytes);
        std::memset(record.payload() + from, 0, static_cast<std::size_t>(to - from) * 4);
    } else if (to < from) {
        std::memmove(record.payload() + to, record.payload() + from, bytes);
        record.resize(to + tail);
    }
}

// Moves a record to a richer letter of its family: its first `kept` words
// stay, and it is sized to `words` with zero words behind them. A record
// shorter than `kept` (only a file makes one) is refused and left alone.
inline bool promote(RecordBuffer& record, char letter, std::int32_t kept, std::int64_t words) {
    if (!record.holds(0, kept) || !fitsFrame(words)) return false;
    record.reserve(words);
    record.letter = static_cast<std::uint8_t>(letter);
    record.resize(kept);
    record.resize(words);
    return true;
}

// The second header byte of an 'A' frame. Code 0 serves both shapes; the
// word count tells them apart on reading.
struct LayoutCode {
    bool quad;
    bool orientation;
    bool thickness;
};

inline constexpr LayoutCode kLayoutCodes[] = {
    {false, true, false},  // 0: orientation only (either shape)
    {false, false, true},  // 1: triangle, thickness list
    {true, false, true},   // 2: quad, thickness list
    {false, true, true},   // 3: triangle, orientation and thickness list
    {true, true, true},    // 4: quad, orientation and thickness list
};

inline constexpr std::int32_t kLayoutCodeCount = sizeof kLayoutCodes / sizeof kLayoutCodes[0];

// Attribute flag of a valid polygon record just read, from its letter and
// attribute layout code.
inline std::int32_t attributeFlagOnReading(const RecordBuffer& record) {
    const std::int32_t code = record.group2;
    return record.letter == 'A' && code >= 0 && code < kLayoutCodeCount && kLayoutCodes[code].orientation ? 1 : 0;
}

}  // namespace gmd
