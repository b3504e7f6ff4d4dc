// Name records: a group's material ('M'), a volume's material ('m') and a
// junction group ('Z'). Each holds one padded name and nothing else, so the
// word count is the name's only length and a reader takes all its bytes,
// padding spaces included.
#include "../core/access.h"
#include "../core/text.h"

using namespace gmd;

namespace {

// Makes the empty record, or one that already holds `letter`, the name
// record `letter` holding `name`; earlier words are replaced.
bool setName(RecordBuffer& record, char letter, const char* name) {
    if (record.letter != 0 && record.letter != letter) return false;
    if (!assignPadded(record, name)) return false;
    record.letter = static_cast<std::uint8_t>(letter);
    return true;
}

std::int32_t getName(GMD_File* handle, const char* letters, char* out) {
    return guarded(handle, [&](RecordFile& file) {
        if (!isOneOf(file.record.letter, letters)) return false;
        copyText(file.record, 0, 4 * file.record.wordCount(), out);
        return true;
    });
}

}  // namespace

int32_t GMD_SetGroupMaterialName(GMD_File* handle, const char* name) {
    return guarded(handle, [&](RecordFile& file) { return setName(file.record, 'M', name); });
}

int32_t GMD_SetVolumeMaterialName(GMD_File* handle, const char* name) {
    return guarded(handle, [&](RecordFile& file) { return setName(file.record, 'm', name); });
}

int32_t GMD_GetMaterialName(GMD_File* handle, char* name) { return getName(handle, "Mm", name); }

int32_t GMD_SetJunctionGroupName(GMD_File* handle, const char* name) {
    return guarded(handle, [&](RecordFile& file) {
        if (!setName(file.record, 'Z', name)) return false;
        file.record.group2 = kSpace;
        return true;
    });
}

int32_t GMD_GetJunctionGroupName(GMD_File* handle, char* name) { return getName(handle, "Z", name); }
