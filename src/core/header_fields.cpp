// Group bytes, which every record carries, and the tolerance record 'G'.
#include "access.h"

using namespace gmd;

namespace {

bool inGroupRange(int32_t value) { return value >= -127 && value <= 127; }

}  // namespace

int32_t GMD_GetGroup(GMD_File* handle, int32_t* group) {
    return guarded(handle, [&](RecordFile& file) {
        *group = file.record.group;
        return true;
    });
}

int32_t GMD_GetGroup2(GMD_File* handle, int32_t* group2) {
    return guarded(handle, [&](RecordFile& file) {
        *group2 = file.record.group2;
        return true;
    });
}

int32_t GMD_SetGroup(GMD_File* handle, int32_t group) {
    return guarded(handle, [&](RecordFile& file) {
        if (!inGroupRange(group)) return false;
        file.record.group = static_cast<int8_t>(group);
        return true;
    });
}

int32_t GMD_SetGroup2(GMD_File* handle, int32_t group2) {
    return guarded(handle, [&](RecordFile& file) {
        if (!inGroupRange(group2)) return false;
        file.record.group2 = static_cast<int8_t>(group2);
        return true;
    });
}

int32_t GMD_GetTolerance(GMD_File* handle, float* tolerance) {
    return guarded(handle, [&](RecordFile& file) {
        return file.record.letter == 'G' && wordsOut(file.record, 0, 1, tolerance);
    });
}

int32_t GMD_SetTolerance(GMD_File* handle, float tolerance) {
    return guarded(handle, [&](RecordFile& file) {
        if (beginRecord(file.record, "G", 'G', 1) == Begin::Refused) return false;
        // A longer 'G' record read from a file keeps only its first word.
        file.record.resize(1);
        file.record.setFloat(0, tolerance);
        return true;
    });
}
