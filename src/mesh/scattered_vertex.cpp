// Scattered vertices ('v'): a position in words 0-2 and an adjacency list
// that fills the rest of the record; the list has no count word, its length
// is the word count minus 3.
#include "mesh_record.h"

using namespace gmd;

namespace {

constexpr WordRange kPosition{0, 3};
constexpr std::int32_t kAdjacencyWord = 3;

// Negative for a 'v' record shorter than its position (only a file makes
// one), which every accessor then refuses, and for any other letter.
std::int32_t adjacencyCount(const RecordBuffer& record) {
    return record.letter == 'v' ? record.wordCount() - kAdjacencyWord : -1;
}

}  // namespace

int32_t GMD_SetScattVertexPosition(GMD_File* handle, const float position[3]) {
    return guarded(handle, [&](RecordFile& file) {
        return beginRecord(file.record, "v", 'v', kAdjacencyWord) != Begin::Refused &&
               wordsIn(file.record, kPosition.first, kPosition.count, position);
    });
}

int32_t GMD_SetScattVertexAdjacent(GMD_File* handle, int32_t n, const int32_t* adjacent) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (n < 0 || !fitsFrame(std::int64_t{n} + kAdjacencyWord)) return false;
        record.reserve(std::int64_t{n} + kAdjacencyWord);
        if (beginRecord(record, "v", 'v', kAdjacencyWord) == Begin::Refused || adjacencyCount(record) < 0) return false;
        record.resize(kAdjacencyWord + n);
        return wordsIn(record, kAdjacencyWord, n, adjacent);
    });
}

int32_t GMD_GetScattVertexPosition(GMD_File* handle, float position[3]) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'v' && wordsOut(file.record, kPosition.first, kPosition.count, position);
    });
}

int32_t GMD_GetScattVertexNumAdjacent(GMD_File* handle, int32_t* n) {
    return guarded(handle, [&](RecordFile& file) {
        const std::int32_t count = adjacencyCount(file.record);
        if (count < 0) return false;
        *n = count;
        return true;
    });
}

int32_t GMD_GetScattVertexAdjacent(GMD_File* handle, int32_t* adjacent) {
    return guarded(handle, [&](RecordFile& file) {
        const std::int32_t count = adjacencyCount(file.record);
        return count >= 0 && wordsOut(file.record, kAdjacencyWord, count, adjacent);
    });
}
