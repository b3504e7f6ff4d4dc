// Macro groups ('U'): a group list block (word 0: n, words 1 to n: the group
// numbers) followed by an optional name block (a counted string). The two
// blocks may be set in either order; the record always ends up as group
// list, then name. A count read from a file is reported as stored; a
// negative one addresses no groups.
#include "../core/text.h"
#include "mesh_record.h"
#include "mesh_steps.h"

using namespace gmd;

namespace {

constexpr std::int32_t kGroupList = 0;

// Where the words that follow the group list start. A group list already in
// the record is replaced, not stacked; a record begun by its name has none
// yet, so all its words follow.
std::int32_t behindGroupList(const RecordFile& file) {
    std::int32_t n = 0;
    if (file.nameWithoutGroupList || !countedBlock(file.record, kGroupList, kWordUnits, n)) return 0;
    return n < 0 ? 0 : n + 1;
}

}  // namespace

int32_t GMD_SetMacroGroupGroups(GMD_File* handle, int32_t n, const int32_t* groups) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (n < 0 || !fitsFrame(std::int64_t{n} + 1)) return false;
        if (beginRecord(record, "U", 'U', 0) == Begin::Refused) return false;
        const std::int32_t from = behindGroupList(file);
        // Only a record that already held words can fail this after beginRecord created one.
        if (!fitsFrame(std::int64_t{n} + 1 + record.wordCount() - from)) return false;
        moveTail(record, from, n + 1);
        file.nameWithoutGroupList = false;
        record.setInt(kGroupList, n);
        return wordsIn(record, kGroupList + 1, n, groups);
    });
}

int32_t GMD_GetMacroGroupNumGroups(GMD_File* handle, int32_t* n) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'U' && countedBlock(file.record, kGroupList, kWordUnits, *n);
    });
}

int32_t GMD_GetMacroGroupGroups(GMD_File* handle, int32_t* groups) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'U' && countedBlockOut(file.record, kGroupList, groups);
    });
}

int32_t GMD_SetMacroGroupName(GMD_File* handle, const char* name) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        const std::int32_t padded = paddedLength(name);
        const std::int64_t blockWords = 1 + std::int64_t{padded} / 4;
        if (padded < 0 || !fitsFrame(blockWords)) return false;
        const Begin begun = beginRecord(record, "U", 'U', 0);
        if (begun == Begin::Refused) return false;
        if (begun == Begin::Created) file.nameWithoutGroupList = true;
        return fitsFrame(record.wordCount() + blockWords) && appendCounted(record, name);
    });
}

// The name block starts right behind the group list; its length is in bytes.
int32_t GMD_GetMacroGroupName(GMD_File* handle, char* name) {
    return guarded(handle, [&](RecordFile& file) {
        const RecordBuffer& record = file.record;
        std::int32_t n = 0;
        if (record.letter != 'U' || !countedBlock(record, kGroupList, kWordUnits, n) || n < 0) return false;
        const std::int32_t nameWord = n + 1;
        const std::int32_t bytes = countedLength(record, nameWord);
        if (bytes < 0) return false;
        copyText(record, nameWord + 1, bytes, name);
        return true;
    });
}

namespace gmd {

// Whatever word 0 holds, a macro group read from a file has its group list there.
bool readMacroGroup(RecordFile& file) {
    file.nameWithoutGroupList = false;
    return true;
}

}  // namespace gmd
