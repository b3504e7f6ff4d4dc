// Shapes shared by the mesh element records: copying out a counted block of
// words, sliding the words behind a block, and the polygon word positions
// that follow the quad flag and the FSS orientation.
#pragma once

#include <cstdint>
#include <cstring>

#include "../core/access.h"

namespace gmd {

// Words of vertex k of a segment or polygon.
inline constexpr WordRange vertexWords(std::int32_t k) { return {3 * k, 3}; }

inline constexpr std::int32_t kSegmentWords = 6;
inline constexpr std::int32_t kTriangleWords = 9;
inline constexpr std::int32_t kQuadWords = 12;

// V: the length of the vertex block of the polygon in hand.
inline std::int32_t polygonVertexWords(const RecordFile& file) { return file.quad ? kQuadWords : kTriangleWords; }

// T: where the thickness list of an 'A' record starts, behind the FSS
// orientation when the record carries one.
inline std::int32_t thicknessWord(const RecordFile& file) {
    return polygonVertexWords(file) + (file.hasOrientation ? 3 : 0);
}

// Copies the words of the counted block at `at`; nothing for a count below 1.
inline bool countedBlockOut(const RecordBuffer& record, std::int32_t at, void* out) {
    std::int32_t n = 0;
    if (!countedBlock(record, at, kWordUnits, n)) return false;
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

// The attribute layouts of an 'A' record, by the code its frame carries in
// the second header byte. Code 0 serves both shapes; only its fixed word
// count (the vertex block and the orientation) tells them apart.
struct AttributeLayout {
    std::int8_t code;
    bool quad;
    bool orientation;  // an FSS orientation right behind the vertex block
    bool thickness;    // a thickness list ends the record
};

inline constexpr AttributeLayout kAttributeLayouts[] = {
    {0, false, true, false},
    {1, false, false, true},
    {3, false, true, true},
    {0, true, true, false},
    {2, true, false, true},
    {4, true, true, true},
};

}  // namespace gmd
