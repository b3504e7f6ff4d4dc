// Disk 'D' (centre, normal, radius) and circular cylinder 'C' (lower centre,
// upper centre, radius): the same length, separate letters. The disk normal
// is stored as given, unnormalised; the cylinder's height is not stored but
// measured between its end centres on request.
#include "solids_steps.h"

using namespace gmd;

namespace {

constexpr WordRange kDiskCenter{0, 3};
constexpr WordRange kDiskNormal{3, 3};
constexpr WordRange kDiskRadius{6, 1};

constexpr WordRange kLowerCenter{0, 3};
constexpr WordRange kUpperCenter{3, 3};
constexpr WordRange kCylinderRadius{6, 1};

}  // namespace

int32_t GMD_SetDisk(GMD_File* handle, const float disk[7]) { return setSolid(handle, kDisk, disk); }
int32_t GMD_SetDiskCenter(GMD_File* handle, const float center[3]) {
    return patchSolid(handle, kDisk, kDiskCenter, center);
}
int32_t GMD_SetDiskNormal(GMD_File* handle, const float normal[3]) {
    return patchSolid(handle, kDisk, kDiskNormal, normal);
}
int32_t GMD_SetDiskRadius(GMD_File* handle, float radius) { return patchSolid(handle, kDisk, kDiskRadius, &radius); }
int32_t GMD_GetDisk(GMD_File* handle, float disk[7]) { return getSolid(handle, kDisk, allWords(kDisk), disk); }
int32_t GMD_GetDiskCenter(GMD_File* handle, float center[3]) { return getSolid(handle, kDisk, kDiskCenter, center); }
int32_t GMD_GetDiskNormal(GMD_File* handle, float normal[3]) { return getSolid(handle, kDisk, kDiskNormal, normal); }
int32_t GMD_GetDiskRadius(GMD_File* handle, float* radius) { return getSolid(handle, kDisk, kDiskRadius, radius); }

int32_t GMD_SetCircularCylinder(GMD_File* handle, const float cylinder[7]) {
    return setSolid(handle, kCircularCylinder, cylinder);
}
int32_t GMD_SetCylinderLowerCenter(GMD_File* handle, const float center[3]) {
    return patchSolid(handle, kCircularCylinder, kLowerCenter, center);
}
int32_t GMD_SetCylinderUpperCenter(GMD_File* handle, const float center[3]) {
    return patchSolid(handle, kCircularCylinder, kUpperCenter, center);
}
int32_t GMD_SetCylinderRadius(GMD_File* handle, float radius) {
    return patchSolid(handle, kCircularCylinder, kCylinderRadius, &radius);
}
int32_t GMD_GetCircularCylinder(GMD_File* handle, float cylinder[7]) {
    return getSolid(handle, kCircularCylinder, allWords(kCircularCylinder), cylinder);
}
int32_t GMD_GetCylinderLowerCenter(GMD_File* handle, float center[3]) {
    return getSolid(handle, kCircularCylinder, kLowerCenter, center);
}
int32_t GMD_GetCylinderUpperCenter(GMD_File* handle, float center[3]) {
    return getSolid(handle, kCircularCylinder, kUpperCenter, center);
}
int32_t GMD_GetCylinderRadius(GMD_File* handle, float* radius) {
    return getSolid(handle, kCircularCylinder, kCylinderRadius, radius);
}

int32_t GMD_GetCylinderHeight(GMD_File* handle, float* height) {
    return guarded(handle, [&](RecordFile& file) {
        const RecordBuffer& record = file.record;
        if (!isFamily(record, kCircularCylinder) || !record.holds(kLowerCenter.first, 6)) return false;
        Vec3 axis = difference(wordVector(record, kUpperCenter.first), wordVector(record, kLowerCenter.first));
        *height = static_cast<float>(length(axis));
        return true;
    });
}
