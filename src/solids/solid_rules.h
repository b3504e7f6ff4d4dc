// The accessor rules shared by every canonical solid record.
//
// A solid family is a letter and a fixed word count; each of its accessors
// names a run of words. Three rules cover every export:
//   full setter     - takes the empty record or one of its own letter, makes
//                     it exactly the family's length, writes all its words;
//   patching setter - creates the family's all-zero record on the empty
//                     record, otherwise writes only its own words;
//   getter          - copies its words out.
// Patching setters also need the family's exact word count: a record of the
// right letter but another length (read from a file and marked invalid) is
// refused. Getters look at the letter only and refuse just a record too short
// for their words, so no word position is ever assumed to exist.
//
// The elliptical cylinder and the cone add a derived-geometry block that
// their getters answer from; getDecoded is their getter rule.
#pragma once

#include <cstdint>
#include <cstring>

#include "../core/access.h"
#include "vector_math.h"

namespace gmd {

struct SolidFamily {
    char letter;
    std::int32_t words;
};

inline bool isFamily(const RecordBuffer& record, SolidFamily family) {
    return record.letter == static_cast<std::uint8_t>(family.letter);
}

inline bool holdsSolid(const RecordBuffer& record, SolidFamily family) {
    return isFamily(record, family) && record.wordCount() == family.words;
}

// First steps of a full setter: false when the record belongs to another
// family; otherwise the record carries the family's letter and word count.
bool beginWholeSolid(RecordBuffer& record, SolidFamily family);

// First steps of a patching setter: false when the record belongs to another
// family or has the wrong length; a created record is all 0.0.
bool beginSolidPatch(RecordBuffer& record, SolidFamily family);

std::int32_t setSolid(GMD_File* handle, SolidFamily family, const float* values);
std::int32_t patchSolid(GMD_File* handle, SolidFamily family, WordRange range, const float* values);
std::int32_t getSolid(GMD_File* handle, SolidFamily family, WordRange range, float* out);

inline constexpr WordRange allWords(SolidFamily family) { return {0, family.words}; }

// The words of a solid of fixed length are all the check on reading needs.
template <std::int32_t words>
bool hasWords(RecordFile& file) {
    return file.record.wordCount() == words;
}

// The getter rule of the solids with a decoded block: the letter alone
// decides, and the answer comes from the block of the last accepted frame,
// whatever the words in hand say (setters may have changed them since, or
// they belong to a frame rejected for its length).
template <class Block, class Fill>
std::int32_t readDecoded(GMD_File* handle, SolidFamily family, Block RecordFile::*block, Fill&& fill) {
    return guarded(handle, [&](RecordFile& file) {
        if (file.record.letter != static_cast<std::uint8_t>(family.letter)) return false;
        fill(static_cast<const Block&>(file.*block));
        return true;
    });
}

template <class Block, class Field>
std::int32_t getDecoded(GMD_File* handle, SolidFamily family, Block RecordFile::*block, Field Block::*field,
                        float* out) {
    return readDecoded(handle, family, block,
                       [&](const Block& decoded) { std::memcpy(out, &(decoded.*field), sizeof(Field)); });
}

inline float* pack(float* out, float value) {
    *out = value;
    return out + 1;
}

inline float* pack(float* out, const float (&values)[3]) {
    std::memcpy(out, values, sizeof values);
    return out + 3;
}

// Lays the fields out one after another from `out` on.
template <class... Fields>
void packFields(float* out, const Fields&... fields) {
    ((out = pack(out, fields)), ...);
}

// Words 3-5 become the unit axis from the point in words 0-2 to `upper`, and
// `lengthWord` the distance between them.
void writeAxis(RecordBuffer& record, const float upper[3], std::int32_t lengthWord);

// The directions of a solid with an axis: Z in words 3-5 and X in words 6-8
// as stored, Y the unit vector of Z x X.
void decodeDirections(const RecordBuffer& record, float x[3], float y[3], float z[3]);

inline Vec3 wordVector(const RecordBuffer& record, std::int32_t first) {
    Vec3 v;
    record.readVector(first, v.data());
    return v;
}

inline void storeVector(float out[3], const Vec3& v) {
    for (int k = 0; k < 3; ++k) out[k] = static_cast<float>(v[static_cast<std::size_t>(k)]);
}

inline void copyVector(float out[3], const RecordBuffer& record, std::int32_t first) {
    for (int k = 0; k < 3; ++k) out[k] = record.getFloat(first + k);
}

}  // namespace gmd
