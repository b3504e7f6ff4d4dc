// House rules for changing this tree: CONTRIBUTING.md at the top.
// The shapes every accessor export is made of.
//
//   guarded       - null handle and any exception become 0: nothing is thrown
//                   across the C interface.
//   isOneOf       - "the record holds one of these letters".
//   beginRecord   - "accept the empty record or one of these letters; on the
//                   empty record create `letter` with n zero words".
//   wordsOut/In   - copy a fixed run of words, refusing (false) when the
//                   record does not hold them all.
//   countedBlock  - a count word and the words it counts: macro group and
//                   thickness lists, hinge sections, counted strings.
#pragma once

#include <cstdint>
#include <cstring>

#include "../../include/gmd.h"
#include "inlining.h"
#include "record_file.h"

namespace gmd {

template <class Body>
GMD_ALWAYS_INLINE std::int32_t guarded(GMD_File* handle, Body&& body) noexcept {
    if (handle == nullptr) return 0;
    try {
        return body(*fileOf(handle)) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

// The letters of a string as a bit set, so that a membership test is one
// load and a shift. Built from a literal it is a compile-time constant; it
// never holds letter 0, the empty record.
class LetterSet {
public:
    // Implicit, so that a literal can stand wherever a set is expected.
    constexpr LetterSet(const char* letters) {
        for (; *letters != '\0'; ++letters) {
            const auto letter = static_cast<std::uint8_t>(*letters);
            bits_[letter >> 6] |= std::uint64_t{1} << (letter & 63);
        }
    }
    constexpr bool contains(std::uint8_t letter) const { return (bits_[letter >> 6] >> (letter & 63)) & 1; }

private:
    std::uint64_t bits_[4] = {0, 0, 0, 0};
};

inline bool isOneOf(std::uint8_t letter, const LetterSet& letters) { return letters.contains(letter); }

enum class Begin { Refused, Created, Existing };

// A record with letter 0 that carries words (only a foreign file makes one)
// counts as empty; its words are dropped.
inline Begin beginRecord(RecordBuffer& record, const LetterSet& accepted, char letter, std::int32_t words) {
    if (record.letter == 0) {
        record.clear();
        record.resize(words);
        record.letter = static_cast<std::uint8_t>(letter);
        return Begin::Created;
    }
    return isOneOf(record.letter, accepted) ? Begin::Existing : Begin::Refused;
}

// A run of words of a record layout: `count` words from word `first` on.
struct WordRange {
    std::int32_t first;
    std::int32_t count;
};

inline bool wordsOut(const RecordBuffer& record, std::int32_t first, std::int32_t count, void* out) {
    if (!record.holds(first, count)) return false;
    record.copyOut(first, count, out);
    return true;
}

inline bool wordsIn(RecordBuffer& record, std::int32_t first, std::int32_t count, const void* in) {
    if (!record.holds(first, count)) return false;
    record.copyIn(first, count, in);
    return true;
}

// What the count word of a counted block counts: units of `words` words each,
// or, with perWord 4, bytes packed four to a word.
struct BlockUnit {
    std::int32_t words;
    std::int32_t perWord;
};
inline constexpr BlockUnit kWordUnits{1, 1};
inline constexpr BlockUnit kTextBytes{1, 4};

// The words that n units fill; none for n < 1.
inline constexpr std::int64_t blockWords(std::int32_t n, BlockUnit unit) {
    return n < 1 ? 0 : (std::int64_t{n} * unit.words + unit.perWord - 1) / unit.perWord;
}

// The count n of the counted block whose count word is `at`: false when the
// count word or the words it counts pass the last word. n is reported as
// stored; a negative one, which only a file holds, counts nothing.
inline bool countedBlock(const RecordBuffer& record, std::int64_t at, BlockUnit unit, std::int32_t& n) {
    if (!record.holds(at, 1)) return false;
    const std::int32_t count = record.getInt(static_cast<std::int32_t>(at));
    if (!record.holds(at + 1, blockWords(count, unit))) return false;
    n = count;
    return true;
}

// Appends the count word n and the zero words of n units behind the last
// word; returns the first of those words, or -1 with nothing appended for a
// negative n or a record that would pass the longest frame.
inline std::int32_t appendCountedBlock(RecordBuffer& record, std::int32_t n, BlockUnit unit) {
    const std::int32_t at = record.wordCount();
    const std::int64_t total = std::int64_t{at} + 1 + blockWords(n, unit);
    if (n < 0 || !fitsFrame(total)) return -1;
    record.resize(total);
    record.setInt(at, n);
    return at + 1;
}

}  // namespace gmd
