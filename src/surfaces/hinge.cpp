// Hinge records ('H'). Four sections follow one another, integers stored raw:
//
//   L1 | name (L1 bytes) | L2 | type (L2 bytes) | n | n hinge points of ten
//   float32 values | g | g group numbers
//
// The setters append sections to the words of the record in hand; the
// getters answer from the HingeData of the last 'H' record read, which the
// read step fills. So while an 'H' record is being built its getters still
// report the last one read.
#include <algorithm>
#include <utility>

#include "../core/access.h"
#include "../core/text.h"
#include "surfaces_steps.h"

using namespace gmd;

namespace {

constexpr std::int32_t kPointValues = 10;
constexpr std::int8_t kHingeHeaderByte = 1;

// A section of n items of `wordsEach` words each.
constexpr BlockUnit section(std::int32_t wordsEach) { return {wordsEach, 1}; }

template <class Body>
std::int32_t onHingeInHand(GMD_File* handle, Body&& body) {
    return guarded(handle, [&](RecordFile& file) { return file.record.letter == 'H' && body(file.record); });
}

std::int32_t appendPoints(GMD_File* handle, std::int32_t n, const float* values, bool exchangeLastTwo) {
    return onHingeInHand(handle, [&](RecordBuffer& record) {
        const std::int32_t first = appendCountedBlock(record, n, section(kPointValues));
        if (first < 0) return false;
        record.copyIn(first, n * kPointValues, values);
        if (exchangeLastTwo) {
            for (std::int32_t p = first; p < first + n * kPointValues; p += kPointValues) {
                const RecordWord eighth = record.raw(p + 8);
                record.setRaw(p + 8, record.raw(p + 9));
                record.setRaw(p + 9, eighth);
            }
        }
        return true;
    });
}

// The getters read what the last 'H' record held, not the record words.
template <class Body>
std::int32_t onHingeRead(GMD_File* handle, Body&& body) {
    return guarded(handle, [&](RecordFile& file) { return file.record.letter == 'H' && body(file.hinge); });
}

// The counted string whose length word is `word`; false when it does not lie
// inside the record. A length that is not a multiple of 4 (never written by
// this library) is honoured as it stands: the next section then starts
// inside the text's last word.
bool readCounted(const RecordBuffer& record, std::int64_t& word, std::string& text) {
    const std::int32_t bytes = countedLength(record, word);
    if (bytes < 0) return false;
    text = storedText(record, static_cast<std::int32_t>(word + 1), bytes);
    word += 1 + bytes / 4;
    return true;
}

// The count word at `word` and the n items of `wordsEach` words after it;
// false when the count is negative or the items pass the last word.
template <class T>
bool readSection(const RecordBuffer& record, std::int64_t& word, std::int32_t wordsEach, std::vector<T>& values) {
    std::int32_t n = -1;
    if (!countedBlock(record, word, section(wordsEach), n) || n < 0) return false;
    const std::int64_t count = blockWords(n, section(wordsEach));
    values.resize(static_cast<std::size_t>(count));
    record.copyOut(static_cast<std::int32_t>(word + 1), static_cast<std::int32_t>(count), values.data());
    word += 1 + count;
    return true;
}

}  // namespace

namespace gmd {

bool readHingeRecord(RecordFile& file) {
    // Decoded aside so that an invalid record leaves the last hinge in place.
    HingeData hinge;
    std::int64_t word = 0;
    if (!readCounted(file.record, word, hinge.name) || !readCounted(file.record, word, hinge.type) ||
        !readSection(file.record, word, kPointValues, hinge.pointValues) ||
        !readSection(file.record, word, 1, hinge.groups))
        return false;
    file.hinge = std::move(hinge);
    return true;
}

}  // namespace gmd

int32_t GMD_SetHingeName(GMD_File* handle, const char* name) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (record.letter != 0) return false;
        record.resize(0);  // stray words of an empty record are dropped
        if (!appendCounted(record, name)) return false;
        record.letter = 'H';
        record.group2 = kHingeHeaderByte;
        return true;
    });
}

int32_t GMD_SetHingeType(GMD_File* handle, const char* type) {
    return onHingeInHand(handle, [&](RecordBuffer& record) { return appendCounted(record, type); });
}

// The caller's ninth and tenth values of each point are stored exchanged; a
// point set here therefore reads back with its last two values swapped.
int32_t GMD_SetHingePoints(GMD_File* handle, int32_t n, const float* points) {
    return appendPoints(handle, n, points, true);
}

int32_t GMD_SetHingePointsData(GMD_File* handle, int32_t n, const float* values) {
    return appendPoints(handle, n, values, false);
}

int32_t GMD_SetHingeGroups(GMD_File* handle, int32_t n, const int32_t* groups) {
    return onHingeInHand(handle, [&](RecordBuffer& record) {
        const std::int32_t first = appendCountedBlock(record, n, section(1));
        if (first < 0) return false;
        record.copyIn(first, n, groups);
        return true;
    });
}

int32_t GMD_GetHingeName(GMD_File* handle, char* name) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        copyText(hinge.name, name);
        return true;
    });
}

int32_t GMD_GetHingeType(GMD_File* handle, char* type) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        copyText(hinge.type, type);
        return true;
    });
}

int32_t GMD_GetHingeNumPoints(GMD_File* handle, int32_t* n) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        *n = static_cast<std::int32_t>(hinge.pointValues.size());
        return true;
    });
}

int32_t GMD_GetHingePoint(GMD_File* handle, int32_t index, float point[10]) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        const std::int64_t first = std::int64_t{index} * kPointValues;
        if (index < 0 || first + kPointValues > static_cast<std::int64_t>(hinge.pointValues.size())) return false;
        std::copy_n(hinge.pointValues.begin() + first, kPointValues, point);
        return true;
    });
}

int32_t GMD_GetHingePoints(GMD_File* handle, float* points) { return GMD_GetHingePointsData(handle, points); }

int32_t GMD_GetHingePointsData(GMD_File* handle, float* values) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        std::copy(hinge.pointValues.begin(), hinge.pointValues.end(), values);
        return true;
    });
}

int32_t GMD_GetHingeNumGroups(GMD_File* handle, int32_t* n) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        *n = static_cast<std::int32_t>(hinge.groups.size());
        return true;
    });
}

int32_t GMD_GetHingeGroups(GMD_File* handle, int32_t* groups) {
    return onHingeRead(handle, [&](const HingeData& hinge) {
        std::copy(hinge.groups.begin(), hinge.groups.end(), groups);
        return true;
    });
}
