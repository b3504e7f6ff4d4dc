// Cone 'F', a truncated cone of elliptical cross-section.
//
// Words: 0-2 lower centre, 3-5 Z (axis), 6-8 X, 9 reserved (written 0.0,
// never read), 10-11 lower X and Y semi-axes, 12 height, 13-14 upper X and Y
// semi-axes, 15-16 lower and upper tilt angles.
//
// Readers get the geometry decoded from the last frame GetRecord accepted,
// never the words in hand.
#include "solids_steps.h"

using namespace gmd;

namespace {

constexpr WordRange kLowerCenter{0, 3};
constexpr WordRange kZdirection{3, 3};
constexpr WordRange kXdirection{6, 3};
constexpr std::int32_t kReserved = 9;
constexpr WordRange kLowerXsemiAxis{10, 1};
constexpr WordRange kLowerYsemiAxis{11, 1};
constexpr WordRange kHeight{12, 1};
constexpr WordRange kUpperXsemiAxis{13, 1};
constexpr WordRange kUpperYsemiAxis{14, 1};
constexpr WordRange kLowerTiltAngle{15, 1};
constexpr WordRange kUpperTiltAngle{16, 1};

std::int32_t patch(GMD_File* handle, WordRange range, const float* values) {
    return patchSolid(handle, kCone, range, values);
}

template <class Field>
std::int32_t decoded(GMD_File* handle, Field ConeGeometry::*field, float* out) {
    return getDecoded(handle, kCone, &RecordFile::cone, field, out);
}

}  // namespace

namespace gmd {

bool readCone(RecordFile& file) {
    const RecordBuffer& record = file.record;
    if (record.wordCount() != kCone.words) return false;
    ConeGeometry& g = file.cone;
    double height = record.getFloat(kHeight.first);
    // Z is taken as stored, so a non-unit axis puts the upper centre
    // height * |Z| from the lower one.
    copyVector(g.lowerCenter, record, kLowerCenter.first);
    storeVector(g.upperCenter,
                along(wordVector(record, kLowerCenter.first), wordVector(record, kZdirection.first), height));
    g.height = record.getFloat(kHeight.first);
    decodeDirections(record, g.xDirection, g.yDirection, g.zDirection);
    g.lowerXsemiAxis = record.getFloat(kLowerXsemiAxis.first);
    g.lowerYsemiAxis = record.getFloat(kLowerYsemiAxis.first);
    g.upperXsemiAxis = record.getFloat(kUpperXsemiAxis.first);
    g.upperYsemiAxis = record.getFloat(kUpperYsemiAxis.first);
    g.lowerTiltAngle = record.getFloat(kLowerTiltAngle.first);
    g.upperTiltAngle = record.getFloat(kUpperTiltAngle.first);
    return true;
}

}  // namespace gmd

int32_t GMD_GetCone(GMD_File* handle, float cone[15]) {
    return readDecoded(handle, kCone, &RecordFile::cone, [&](const ConeGeometry& g) {
        packFields(cone, g.lowerCenter, g.upperCenter, g.xDirection, g.lowerXsemiAxis, g.lowerYsemiAxis,
                   g.upperXsemiAxis, g.upperYsemiAxis, g.lowerTiltAngle, g.upperTiltAngle);
    });
}
int32_t GMD_GetConeLowerCenter(GMD_File* handle, float center[3]) {
    return decoded(handle, &ConeGeometry::lowerCenter, center);
}
int32_t GMD_GetConeUpperCenter(GMD_File* handle, float center[3]) {
    return decoded(handle, &ConeGeometry::upperCenter, center);
}
int32_t GMD_GetConeHeight(GMD_File* handle, float* height) { return decoded(handle, &ConeGeometry::height, height); }
int32_t GMD_GetConeXdirection(GMD_File* handle, float direction[3]) {
    return decoded(handle, &ConeGeometry::xDirection, direction);
}
int32_t GMD_GetConeYdirection(GMD_File* handle, float direction[3]) {
    return decoded(handle, &ConeGeometry::yDirection, direction);
}
int32_t GMD_GetConeZdirection(GMD_File* handle, float direction[3]) {
    return decoded(handle, &ConeGeometry::zDirection, direction);
}
int32_t GMD_GetConeLowerXsemiAxis(GMD_File* handle, float* semiAxis) {
    return decoded(handle, &ConeGeometry::lowerXsemiAxis, semiAxis);
}
int32_t GMD_GetConeLowerYsemiAxis(GMD_File* handle, float* semiAxis) {
    return decoded(handle, &ConeGeometry::lowerYsemiAxis, semiAxis);
}
int32_t GMD_GetConeUpperXsemiAxis(GMD_File* handle, float* semiAxis) {
    return decoded(handle, &ConeGeometry::upperXsemiAxis, semiAxis);
}
int32_t GMD_GetConeUpperYsemiAxis(GMD_File* handle, float* semiAxis) {
    return decoded(handle, &ConeGeometry::upperYsemiAxis, semiAxis);
}
int32_t GMD_GetConeLowerTiltAngle(GMD_File* handle, float* angle) {
    return decoded(handle, &ConeGeometry::lowerTiltAngle, angle);
}
int32_t GMD_GetConeUpperTiltAngle(GMD_File* handle, float* angle) {
    return decoded(handle, &ConeGeometry::upperTiltAngle, angle);
}

// in: lower centre, upper centre, X direction, lower X and Y semi-axes,
// upper X and Y semi-axes, lower and upper tilt angles.
int32_t GMD_SetCone(GMD_File* handle, const float cone[15]) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (!beginWholeSolid(record, kCone)) return false;
        record.copyIn(kLowerCenter.first, 3, cone);
        writeAxis(record, cone + 3, kHeight.first);
        record.copyIn(kXdirection.first, 3, cone + 6);
        record.setFloat(kReserved, 0.0f);
        record.copyIn(kLowerXsemiAxis.first, 2, cone + 9);  // both lower semi-axes
        record.copyIn(kUpperXsemiAxis.first, 4, cone + 11);  // upper semi-axes, both tilt angles
        return true;
    });
}

int32_t GMD_SetConeUpperCenter(GMD_File* handle, const float center[3]) {
    return guarded(handle, [&](RecordFile& file) {
        if (!holdsSolid(file.record, kCone)) return false;
        writeAxis(file.record, center, kHeight.first);
        return true;
    });
}

int32_t GMD_SetConeLowerCenter(GMD_File* handle, const float center[3]) {
    return patch(handle, kLowerCenter, center);
}
int32_t GMD_SetConeZdirection(GMD_File* handle, const float direction[3]) {
    return patch(handle, kZdirection, direction);
}
int32_t GMD_SetConeXdirection(GMD_File* handle, const float direction[3]) {
    return patch(handle, kXdirection, direction);
}
int32_t GMD_SetConeLowerXsemiAxis(GMD_File* handle, float semiAxis) {
    return patch(handle, kLowerXsemiAxis, &semiAxis);
}
int32_t GMD_SetConeLowerYsemiAxis(GMD_File* handle, float semiAxis) {
    return patch(handle, kLowerYsemiAxis, &semiAxis);
}
int32_t GMD_SetConeHeight(GMD_File* handle, float height) { return patch(handle, kHeight, &height); }
int32_t GMD_SetConeUpperXsemiAxis(GMD_File* handle, float semiAxis) {
    return patch(handle, kUpperXsemiAxis, &semiAxis);
}
int32_t GMD_SetConeUpperYsemiAxis(GMD_File* handle, float semiAxis) {
    return patch(handle, kUpperYsemiAxis, &semiAxis);
}
int32_t GMD_SetConeLowerTiltAngle(GMD_File* handle, float angle) {
    return patch(handle, kLowerTiltAngle, &angle);
}
int32_t GMD_SetConeUpperTiltAngle(GMD_File* handle, float angle) {
    return patch(handle, kUpperTiltAngle, &angle);
}
