// Macro groups ('U'): a group list block (word 0: n, words 1 to n: the group
// numbers) followed by an optional name block (a counted string). The two
// blocks may be set in either order; the record always ends up as group
// list, then name.
#include "../core/text.h"
#include "mesh_record.h"

using namespace gmd;

namespace {

constexpr std::int32_t kGroupList = 0;

// A record that holds nothing but a name block: word 0 is the name's byte
// length and the name's words fill the rest.
bool holdsOnlyNameBlock(const RecordBuffer& record) {
    return record.wordCount() >= 1 && std::int64_t{record.getInt(0)} == 4 * (std::int64_t{record.wordCount()} - 1);
}

// Where the words that follow the group list start. A group list already in
// the record is replaced, not stacked. The one-word record 0 reads both as an
// empty name block and as an empty group list; it is taken for the name, so
// that setting an empty name before the groups gives the same record as
// setting it after them.
std::int32_t behindGroupList(const RecordBuffer& record) {
    if (holdsOnlyNameBlock(record)) return 0;
    const std::int32_t n = countedBlock(record, kGroupList);
    return n < 0 ? 0 : n + 1;
}

}  // namespace

int32_t GMD_SetMacroGroupGroups(GMD_File* handle, int32_t n, const int32_t* groups) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (n < 0 || !fitsFrame(std::int64_t{n} + 1)) return false;
        if (beginRecord(record, "U", 'U', 0) == Begin::Refused) return false;
        const std::int32_t from = behindGroupList(record);
        // Only a record that already held words can fail this after beginRecord created one.
        if (!fitsFrame(std::int64_t{n} + 1 + record.wordCount() - from)) return false;
        moveTail(record, from, n + 1);
        record.setInt(kGroupList, n);
        return wordsIn(record, kGroupList + 1, n, groups);
    });
}

int32_t GMD_GetMacroGroupNumGroups(GMD_File* handle, int32_t* n) {
    return guarded(handle, [&](RecordFile& file) {
        const std::int32_t count = file.record.letter == 'U' ? countedBlock(file.record, kGroupList) : -1;
        if (count < 0) return false;
        *n = count;
        return true;
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
        if (beginRecord(record, "U", 'U', 0) == Begin::Refused) return false;
        if (!fitsFrame(record.wordCount() + blockWords)) return false;
        return appendCounted(record, name);
    });
}

// The name block starts right behind the group list; its length is in bytes.
int32_t GMD_GetMacroGroupName(GMD_File* handle, char* name) {
    return guarded(handle, [&](RecordFile& file) {
        const RecordBuffer& record = file.record;
        if (record.letter != 'U') return false;
        const std::int32_t n = countedBlock(record, kGroupList);
        if (n < 0) return false;
        const std::int32_t nameWord = n + 1;
        const std::int32_t bytes = countedLength(record, nameWord);
        if (bytes < 0) return false;
        copyText(record, nameWord + 1, bytes, name);
        return true;
    });
}
