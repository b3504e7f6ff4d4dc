// Elliptical cylinder 'E'.
//
// Words: 0-2 centre, 3-5 Z (axis), 6-8 X, 9 X semi-axis, 10 Y semi-axis,
// 11 lower extent, 12 lower tilt angle, 13 upper extent, 14 upper tilt angle.
// The ends lie the two extents before and after the centre along Z. The
// setters only ever write a lower extent of 0.0, which makes the centre the
// lower centre and the upper extent the height; frames from elsewhere may
// have any extents.
//
// Readers get the geometry decoded from the last frame GetRecord accepted,
// never the words in hand.
#include "solids_steps.h"

using namespace gmd;

namespace {

constexpr WordRange kCenter{0, 3};
constexpr WordRange kZdirection{3, 3};
constexpr WordRange kXdirection{6, 3};
constexpr WordRange kXsemiAxis{9, 1};
constexpr WordRange kYsemiAxis{10, 1};
constexpr std::int32_t kLowerExtent = 11;
constexpr WordRange kLowerTiltAngle{12, 1};
constexpr WordRange kUpperExtent{13, 1};
constexpr WordRange kUpperTiltAngle{14, 1};

std::int32_t patch(GMD_File* handle, WordRange range, const float* values) {
    return patchSolid(handle, kEllipticalCylinder, range, values);
}

template <class Field>
std::int32_t decoded(GMD_File* handle, Field EllipticalCylinderGeometry::*field, float* out) {
    return getDecoded(handle, kEllipticalCylinder, &RecordFile::ellipticalCylinder, field, out);
}

}  // namespace

namespace gmd {

bool readEllipticalCylinder(RecordFile& file) {
    const RecordBuffer& record = file.record;
    if (record.wordCount() != kEllipticalCylinder.words) return false;
    EllipticalCylinderGeometry& g = file.ellipticalCylinder;
    Vec3 center = wordVector(record, kCenter.first);
    Vec3 z = wordVector(record, kZdirection.first);
    double lowerExtent = record.getFloat(kLowerExtent);
    double upperExtent = record.getFloat(kUpperExtent.first);
    // Z is taken as stored: with a non-unit axis the ends lie extent * |Z|
    // from the centre while the height stays the sum of the extents.
    copyVector(g.center, record, kCenter.first);
    storeVector(g.lowerCenter, along(center, z, -lowerExtent));
    storeVector(g.upperCenter, along(center, z, upperExtent));
    g.height = static_cast<float>(lowerExtent + upperExtent);
    decodeDirections(record, g.xDirection, g.yDirection, g.zDirection);
    g.xSemiAxis = record.getFloat(kXsemiAxis.first);
    g.ySemiAxis = record.getFloat(kYsemiAxis.first);
    g.lowerTiltAngle = record.getFloat(kLowerTiltAngle.first);
    g.upperTiltAngle = record.getFloat(kUpperTiltAngle.first);
    return true;
}

}  // namespace gmd

int32_t GMD_GetEllipticalCylinder(GMD_File* handle, float cylinder[13]) {
    return readDecoded(handle, kEllipticalCylinder, &RecordFile::ellipticalCylinder,
                       [&](const EllipticalCylinderGeometry& g) {
                           packFields(cylinder, g.lowerCenter, g.upperCenter, g.xDirection, g.xSemiAxis,
                                      g.ySemiAxis, g.lowerTiltAngle, g.upperTiltAngle);
                       });
}
int32_t GMD_GetEllipticalCylinderCenter(GMD_File* handle, float center[3]) {
    return decoded(handle, &EllipticalCylinderGeometry::center, center);
}
int32_t GMD_GetEllipticalCylinderLowerCenter(GMD_File* handle, float center[3]) {
    return decoded(handle, &EllipticalCylinderGeometry::lowerCenter, center);
}
int32_t GMD_GetEllipticalCylinderUpperCenter(GMD_File* handle, float center[3]) {
    return decoded(handle, &EllipticalCylinderGeometry::upperCenter, center);
}
int32_t GMD_GetEllipticalCylinderHeight(GMD_File* handle, float* height) {
    return decoded(handle, &EllipticalCylinderGeometry::height, height);
}
int32_t GMD_GetEllipticalCylinderXdirection(GMD_File* handle, float direction[3]) {
    return decoded(handle, &EllipticalCylinderGeometry::xDirection, direction);
}
int32_t GMD_GetEllipticalCylinderYdirection(GMD_File* handle, float direction[3]) {
    return decoded(handle, &EllipticalCylinderGeometry::yDirection, direction);
}
int32_t GMD_GetEllipticalCylinderZdirection(GMD_File* handle, float direction[3]) {
    return decoded(handle, &EllipticalCylinderGeometry::zDirection, direction);
}
int32_t GMD_GetEllipticalCylinderXsemiAxis(GMD_File* handle, float* semiAxis) {
    return decoded(handle, &EllipticalCylinderGeometry::xSemiAxis, semiAxis);
}
int32_t GMD_GetEllipticalCylinderYsemiAxis(GMD_File* handle, float* semiAxis) {
    return decoded(handle, &EllipticalCylinderGeometry::ySemiAxis, semiAxis);
}
int32_t GMD_GetEllipticalCylinderLowerTiltAngle(GMD_File* handle, float* angle) {
    return decoded(handle, &EllipticalCylinderGeometry::lowerTiltAngle, angle);
}
int32_t GMD_GetEllipticalCylinderUpperTiltAngle(GMD_File* handle, float* angle) {
    return decoded(handle, &EllipticalCylinderGeometry::upperTiltAngle, angle);
}

// in: lower centre, upper centre, X direction, X and Y semi-axes, lower and
// upper tilt angles.
int32_t GMD_SetEllipticalCylinder(GMD_File* handle, const float cylinder[13]) {
    return guarded(handle, [&](RecordFile& file) {
        RecordBuffer& record = file.record;
        if (!beginWholeSolid(record, kEllipticalCylinder)) return false;
        record.copyIn(kCenter.first, 3, cylinder);
        writeAxis(record, cylinder + 3, kUpperExtent.first);
        record.copyIn(kXdirection.first, 5, cylinder + 6);  // X direction and both semi-axes
        record.setFloat(kLowerExtent, 0.0f);
        record.copyIn(kLowerTiltAngle.first, 1, cylinder + 11);
        record.copyIn(kUpperTiltAngle.first, 1, cylinder + 12);
        return true;
    });
}

int32_t GMD_SetEllipticalCylinderUpperCenter(GMD_File* handle, const float center[3]) {
    return guarded(handle, [&](RecordFile& file) {
        if (!holdsSolid(file.record, kEllipticalCylinder)) return false;
        writeAxis(file.record, center, kUpperExtent.first);
        return true;
    });
}

int32_t GMD_SetEllipticalCylinderLowerCenter(GMD_File* handle, const float center[3]) {
    return patch(handle, kCenter, center);
}
int32_t GMD_SetEllipticalCylinderZdirection(GMD_File* handle, const float direction[3]) {
    return patch(handle, kZdirection, direction);
}
int32_t GMD_SetEllipticalCylinderXdirection(GMD_File* handle, const float direction[3]) {
    return patch(handle, kXdirection, direction);
}
int32_t GMD_SetEllipticalCylinderXsemiAxis(GMD_File* handle, float semiAxis) {
    return patch(handle, kXsemiAxis, &semiAxis);
}
int32_t GMD_SetEllipticalCylinderYsemiAxis(GMD_File* handle, float semiAxis) {
    return patch(handle, kYsemiAxis, &semiAxis);
}
int32_t GMD_SetEllipticalCylinderLowerTiltAngle(GMD_File* handle, float angle) {
    return patch(handle, kLowerTiltAngle, &angle);
}
int32_t GMD_SetEllipticalCylinderHeight(GMD_File* handle, float height) {
    return patch(handle, kUpperExtent, &height);
}
int32_t GMD_SetEllipticalCylinderUpperTiltAngle(GMD_File* handle, float angle) {
    return patch(handle, kUpperTiltAngle, &angle);
}
