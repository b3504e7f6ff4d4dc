// The words behind the vertex block: segment radius and volume number ('L',
// 'l'), polygon volume numbers ('p'), and the FSS orientation and thickness
// list of attributed polygons ('A') with their attribute layout code.
//
// Setters only ever move a record towards a richer letter (L to l, P to p or
// A), never back. An 'A' record keeps two invariants that its setters rely
// on: the FSS orientation, when present (hasOrientation), sits right
// behind the vertex block, and the thickness list is always the last n + 1
// words.
#include "mesh_record.h"
#include "mesh_steps.h"

using namespace gmd;

namespace {

constexpr std::int32_t kRadiusWord = 6;
constexpr std::int32_t kVolumeWord = 7;
constexpr std::int32_t kRadiusSegmentWords = 7;
constexpr std::int32_t kVolumeSegmentWords = 8;


}  // namespace

namespace gmd {

// Only a record with words behind its vertex block and orientation carries a
// thickness list and gets a code; any other goes out with the byte it has
// (0 on a record built after a reset).
void writeAttributedPolygon(RecordFile& file) {
    if (file.record.wordCount() <= thicknessWord(file)) return;
    for (const AttributeLayout& layout : kAttributeLayouts) {
        if (layout.thickness && layout.quad == file.quad && layout.orientation == file.hasOrientation) {
            file.record.group2 = layout.code;
            return;
        }
    }
}

}  // namespace gmd

int32_t GMD_SetSegmentRadius(GMD_File* handle, float radius) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (beginRecord(record, "Ll", 'L', kRadiusSegmentWords) == Begin::Refused) return false;
        // Any 'L' becomes the 7-word form: a 6-word one grows, a longer one is cut.
        if (record.letter == 'L' && !promote(record, 'L', kSegmentWords, kRadiusSegmentWords)) return false;
        return wordsIn(record, kRadiusWord, 1, &radius);
    });
}

int32_t GMD_GetSegmentRadius(GMD_File* handle, float* radius) {
    return guarded(handle, [&](RecordFile& file) {
        return isOneOf(file.record.letter, "Ll") && wordsOut(file.record, kRadiusWord, 1, radius);
    });
}

// Turning 'L' into 'l' clears the radius word, so a segment that needs both
// gets its volume first.
int32_t GMD_SetSegmentVolume(GMD_File* handle, int32_t volume) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (beginRecord(record, "Ll", 'l', kVolumeSegmentWords) == Begin::Refused) return false;
        if (record.letter == 'L' && !promote(record, 'l', kSegmentWords, kVolumeSegmentWords)) return false;
        return wordsIn(record, kVolumeWord, 1, &volume);
    });
}

int32_t GMD_GetSegmentVolume(GMD_File* handle, int32_t* volume) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'l' && wordsOut(file.record, kVolumeWord, 1, volume);
    });
}

int32_t GMD_SetPolygonVolumes(GMD_File* handle, int32_t first, int32_t second) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (!isOneOf(record.letter, "Pp")) return false;
        const std::int32_t v = polygonVertexWords(file);
        if (record.letter == 'P' && !promote(record, 'p', v, std::int64_t{v} + 2)) return false;
        const std::int32_t volumes[2] = {first, second};
        return wordsIn(record, v, 2, volumes);
    });
}

int32_t GMD_GetPolygonVolumes(GMD_File* handle, int32_t* first, int32_t* second) {
    return guarded(handle, [&](RecordFile& file) {
        std::int32_t volumes[2];
        if (file.record.letter != 'p' || !wordsOut(file.record, polygonVertexWords(file), 2, volumes)) return false;
        *first = volumes[0];
        *second = volumes[1];
        return true;
    });
}

// The first orientation opens three words behind the vertex block and slides
// whatever follows (a thickness list) behind them; later calls overwrite it.
// Volume numbers of a 'p' record have no place in an 'A' layout, so 'p' is
// refused.
int32_t GMD_SetPolygonFSSorientation(GMD_File* handle, const float orientation[3]) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (!isOneOf(record.letter, "PA")) return false;
        const std::int32_t v = polygonVertexWords(file);
        if (!record.holds(0, v)) return false;
        if (!file.hasOrientation) {
            if (!fitsFrame(std::int64_t{record.wordCount()} + 3)) return false;
            record.reserve(record.wordCount() + 3);
            record.letter = 'A';
            moveTail(record, v, v + 3);
            file.hasOrientation = true;
        }
        return wordsIn(record, v, 3, orientation);
    });
}

int32_t GMD_GetPolygonFSSorientation(GMD_File* handle, float orientation[3]) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'A' && file.hasOrientation &&
               wordsOut(file.record, polygonVertexWords(file), 3, orientation);
    });
}

// On 'P' the list is appended; on 'A' only a list of the same length that
// ends the record is overwritten in place, since anything else would put it
// where the layout does not expect it.
int32_t GMD_SetPolygonThickness(GMD_File* handle, int32_t n, const float* thickness) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (n < 0 || !isOneOf(record.letter, "PA")) return false;
        const std::int32_t v = polygonVertexWords(file);
        const std::int32_t t = thicknessWord(file);
        if (record.letter == 'P') {
            if (!promote(record, 'A', v, std::int64_t{v} + 1 + n)) return false;
        } else if (record.wordCount() != std::int64_t{t} + 1 + n || record.getInt(t) != n) {
            return false;
        }
        const std::int32_t count = record.wordCount() - n - 1;
        record.setInt(count, n);
        return wordsIn(record, count + 1, n, thickness);
    });
}

// The thickness getters look at the second header byte, which holds a
// nonzero layout code only on a record read with a thickness list.
int32_t GMD_GetPolygonNumThickness(GMD_File* handle, int32_t* n) {
    return guarded(handle, [&](RecordFile& file) {
        *n = 0;
        if (file.record.letter != 'A' || file.record.group2 == 0) return false;
        return countedBlock(file.record, thicknessWord(file), kWordUnits, *n);
    });
}

int32_t GMD_GetPolygonThickness(GMD_File* handle, float* thickness) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'A' && file.record.group2 != 0 &&
               countedBlockOut(file.record, thicknessWord(file), thickness);
    });
}
