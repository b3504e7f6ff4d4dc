#include "solid_rules.h"

namespace gmd {

bool beginWholeSolid(RecordBuffer& record, SolidFamily family) {
    const char accepted[] = {family.letter, '\0'};
    if (beginRecord(record, accepted, family.letter, family.words) == Begin::Refused) return false;
    record.resize(family.words);
    return true;
}

bool beginSolidPatch(RecordBuffer& record, SolidFamily family) {
    const char accepted[] = {family.letter, '\0'};
    return beginRecord(record, accepted, family.letter, family.words) != Begin::Refused &&
           record.wordCount() == family.words;
}

std::int32_t setSolid(GMD_File* handle, SolidFamily family, const float* values) {
    return guarded(handle, [&](RecordFile& file) {
        if (!beginWholeSolid(file.record, family)) return false;
        file.record.copyIn(0, family.words, values);
        return true;
    });
}

std::int32_t patchSolid(GMD_File* handle, SolidFamily family, WordRange range, const float* values) {
    return guarded(handle, [&](RecordFile& file) {
        return beginSolidPatch(file.record, family) && wordsIn(file.record, range.first, range.count, values);
    });
}

std::int32_t getSolid(GMD_File* handle, SolidFamily family, WordRange range, float* out) {
    return guarded(handle, [&](RecordFile& file) {
        return isFamily(file.record, family) && wordsOut(file.record, range.first, range.count, out);
    });
}

void writeAxis(RecordBuffer& record, const float upper[3], std::int32_t lengthWord) {
    Vec3 u{upper[0], upper[1], upper[2]};
    Vec3 d = difference(u, wordVector(record, 0));
    double len = length(d);
    Vec3 axis = unitVector(d, len);
    record.writeVector(3, axis.data());
    record.setFloat(lengthWord, static_cast<float>(len));
}

void decodeDirections(const RecordBuffer& record, float x[3], float y[3], float z[3]) {
    copyVector(x, record, 6);
    storeVector(y, unitVector(cross(wordVector(record, 3), wordVector(record, 6))));
    copyVector(z, record, 3);
}

}  // namespace gmd
