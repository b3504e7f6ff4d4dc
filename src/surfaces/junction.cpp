// Junction records ('O'): nine float32 words, read and patched in place.
//
//   words 0-2  vertex 0 | words 3-5  vertex 1 | words 6-8  normal
//
// A junction's second header byte is a space, set whenever a setter creates
// the record and by every full GMD_SetJunction.
#include "../core/access.h"
#include "../core/text.h"

using namespace gmd;

namespace {

constexpr std::int32_t kJunctionWords = 9;
constexpr std::int32_t kVertexWords = 3;
constexpr std::int32_t kNormalWord = 6;

// A shorter 'O' record can only come from a file; its accessors refuse it
// rather than guess where the missing words would have been.
bool isJunction(const RecordBuffer& record) {
    return record.letter == 'O' && record.holds(0, kJunctionWords);
}

// Writes `count` words from `first` on, creating a zeroed junction on the
// empty record.
std::int32_t patchJunction(GMD_File* handle, std::int32_t first, std::int32_t count, const float* values) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        switch (beginRecord(record, "O", 'O', kJunctionWords)) {
            case Begin::Refused:
                return false;
            case Begin::Created:
                record.group2 = kSpace;
                break;
            case Begin::Existing:
                if (!isJunction(record)) return false;
                break;
        }
        record.copyIn(first, count, values);
        return true;
    });
}

std::int32_t copyJunction(GMD_File* handle, std::int32_t first, std::int32_t count, float* out) {
    return guarded(handle, [&](RecordFile& file) {
        return isJunction(file.record) && wordsOut(file.record, first, count, out);
    });
}

}  // namespace

int32_t GMD_SetJunction(GMD_File* handle, const float junction[9]) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (beginRecord(record, "O", 'O', kJunctionWords) == Begin::Refused) return false;
        // The one setter that also mends a short 'O' record read from a file.
        record.resize(kJunctionWords);
        record.group2 = kSpace;
        record.copyIn(0, kJunctionWords, junction);
        return true;
    });
}

int32_t GMD_SetJunctionVertices(GMD_File* handle, const float vertices[6]) {
    return patchJunction(handle, 0, 2 * kVertexWords, vertices);
}

int32_t GMD_SetJunctionVertex(GMD_File* handle, uint32_t index, const float vertex[3]) {
    if (index > 1) return 0;
    return patchJunction(handle, static_cast<std::int32_t>(index) * kVertexWords, kVertexWords, vertex);
}

int32_t GMD_SetJunctionNormal(GMD_File* handle, const float normal[3]) {
    return patchJunction(handle, kNormalWord, kVertexWords, normal);
}

int32_t GMD_GetJunction(GMD_File* handle, float junction[9]) { return copyJunction(handle, 0, kJunctionWords, junction); }

int32_t GMD_GetJunctionVertices(GMD_File* handle, float vertices[6]) {
    return copyJunction(handle, 0, 2 * kVertexWords, vertices);
}

int32_t GMD_GetJunctionVertex(GMD_File* handle, uint32_t index, float vertex[3]) {
    if (index > 1) return 0;
    return copyJunction(handle, static_cast<std::int32_t>(index) * kVertexWords, kVertexWords, vertex);
}

int32_t GMD_GetJunctionNormal(GMD_File* handle, float normal[3]) {
    return copyJunction(handle, kNormalWord, kVertexWords, normal);
}
