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

}  // namespace gmd
