// Calls every getter, with output buffers sized from the count getters
// (capped so that the harness itself stays bounded). Shared by the harnesses.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gmd.h"

namespace gmdfuzz {

// A file name private to this process, in memory when the machine has a
// memory-backed folder: every input is written to a file and read back.
inline std::string scratchPath(const char* stem) {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
    return folder + std::string(stem) + std::to_string(getpid()) + ".gmd";
}

using FloatsOut = int32_t (*)(GMD_File*, float*);
using IntsOut = int32_t (*)(GMD_File*, int32_t*);
using TextOut = int32_t (*)(GMD_File*, char*);

// Getters whose output has a fixed size, at most 15 values.
constexpr FloatsOut kFixedFloats[] = {
    GMD_GetTolerance, GMD_GetSegment, GMD_GetSegmentVertices, GMD_GetTriangle, GMD_GetTriangleVertices, GMD_GetQuad,
    GMD_GetQuadVertices, GMD_GetSegmentRadius, GMD_GetPolygonFSSorientation, GMD_GetWedge, GMD_GetEWFirstVert,
    GMD_GetEWSecondVert, GMD_GetEWLeftNormal, GMD_GetEWRightNormal, GMD_GetScattVertexPosition, GMD_GetSphere,
    GMD_GetSphereCenter, GMD_GetSphereRadius, GMD_GetScatter, GMD_GetScatterCenter, GMD_GetScatterRadius,
    GMD_GetScatterEMRadius, GMD_GetDisk, GMD_GetDiskCenter, GMD_GetDiskNormal, GMD_GetDiskRadius,
    GMD_GetCircularCylinder, GMD_GetCylinderLowerCenter, GMD_GetCylinderUpperCenter, GMD_GetCylinderRadius,
    GMD_GetCylinderHeight, GMD_GetEllipticalCylinder, GMD_GetEllipticalCylinderCenter,
    GMD_GetEllipticalCylinderLowerCenter, GMD_GetEllipticalCylinderUpperCenter, GMD_GetEllipticalCylinderHeight,
    GMD_GetEllipticalCylinderXdirection, GMD_GetEllipticalCylinderYdirection, GMD_GetEllipticalCylinderZdirection,
    GMD_GetEllipticalCylinderXsemiAxis, GMD_GetEllipticalCylinderYsemiAxis, GMD_GetEllipticalCylinderLowerTiltAngle,
    GMD_GetEllipticalCylinderUpperTiltAngle, GMD_GetCone, GMD_GetConeLowerCenter, GMD_GetConeUpperCenter,
    GMD_GetConeHeight, GMD_GetConeXdirection, GMD_GetConeYdirection, GMD_GetConeZdirection, GMD_GetConeLowerXsemiAxis,
    GMD_GetConeLowerYsemiAxis, GMD_GetConeUpperXsemiAxis, GMD_GetConeUpperYsemiAxis, GMD_GetConeLowerTiltAngle,
    GMD_GetConeUpperTiltAngle, GMD_GetJunction, GMD_GetJunctionVertices, GMD_GetJunctionNormal};
constexpr IntsOut kFixedInts[] = {
    GMD_GetGroup, GMD_GetGroup2, GMD_GetSegmentVolume, GMD_GetEWLeftAdjacentPolygon, GMD_GetEWRightAdjacentPolygon,
    GMD_GetNurbsNumUknots, GMD_GetNurbsNumVknots, GMD_GetNurbsNumUcontrolPoints, GMD_GetNurbsNumVcontrolPoints,
    GMD_GetNurbsNumBounds, GMD_GetNurbsHoleOrigin};
constexpr TextOut kTexts[] = {GMD_GetMacroGroupName, GMD_GetHingeName, GMD_GetHingeType, GMD_GetMaterialName,
                              GMD_GetJunctionGroupName};

// Counts above this are not copied out (the library bounds nothing in the caller's arrays).
constexpr int64_t kCap = 1 << 16;

// A buffer for `n` values of T and one more, or null when n is out of bounds.
template <class T>
T* room(std::vector<T>& buffer, int64_t n) {
    if (n < 0 || n > kCap) return nullptr;
    buffer.assign(static_cast<std::size_t>(n) + 1, T{});
    return buffer.data();
}

// Calls `get` into room for the n values `count` reports, when it reports them.
template <class T>
void counted(GMD_File* h, IntsOut count, int32_t (*get)(GMD_File*, T*)) {
    std::vector<T> buffer;
    int32_t n = 0;
    if (count(h, &n) && room(buffer, n)) get(h, buffer.data());
}

// textCapacity: room for any stored name (4 x the largest word count seen).
inline void callGetters(GMD_File* h, std::size_t textCapacity) {
    float f[16];
    int32_t i[2], sizes[7];
    std::vector<char> text(textCapacity + 1);
    std::vector<float> a, b, c, d, e;
    std::vector<int32_t> dims;
    GMD_GetRecordType(h);
    for (auto get : kFixedFloats) get(h, f);
    for (auto get : kFixedInts) get(h, i);
    for (auto get : kTexts) get(h, text.data());
    for (uint32_t v : {0u, 1u, 2u, 3u, 4u, 0xFFFFFFFFu}) {
        GMD_GetVertex(h, v, f);
        GMD_GetJunctionVertex(h, v, f);
    }
    for (int32_t p : {-1, 0, 1}) GMD_GetHingePoint(h, p, f);
    GMD_GetPolygonVolumes(h, &i[0], &i[1]);
    counted(h, GMD_GetPolygonNumThickness, GMD_GetPolygonThickness);
    counted(h, GMD_GetMacroGroupNumGroups, GMD_GetMacroGroupGroups);
    counted(h, GMD_GetScattVertexNumAdjacent, GMD_GetScattVertexAdjacent);
    counted(h, GMD_GetHingeNumGroups, GMD_GetHingeGroups);
    counted(h, GMD_GetHingeNumPoints, GMD_GetHingePoints);
    counted(h, GMD_GetHingeNumPoints, GMD_GetHingePointsData);
    if (!GMD_GetNurbsSizes(h, sizes)) return;
    const int64_t cells = int64_t{sizes[2]} * sizes[3];
    if (room(a, sizes[0]) && room(b, sizes[1]) && room(c, 3 * cells) && room(d, cells) && room(dims, sizes[4]) &&
        room(e, 2 * int64_t{sizes[5]})) {
        GMD_NurbsData data{a.data(), b.data(), c.data(), d.data(), dims.data(), e.data()};
        GMD_GetNurbsData(h, &data);
        GMD_GetNurbsUKnots(h, a.data());
        GMD_GetNurbsVKnots(h, b.data());
        GMD_GetNurbsBoundaryDimensions(h, dims.data());
        GMD_GetNurbsAllBoundaryPoints(h, e.data());
    }
    for (int32_t k : {-1, 0, sizes[0] - 1, sizes[0], sizes[1]}) {
        GMD_GetNurbsUKnot(h, k, f);
        GMD_GetNurbsVKnot(h, k, f);
        GMD_GetNurbsControlPoint(h, k, sizes[3] - 1, f);
        GMD_GetNurbsWeight(h, k, sizes[3], f);
    }
    for (uint32_t k = 0; k <= static_cast<uint32_t>(sizes[4]) && k < 64; ++k) {
        int32_t n = 0;
        if (GMD_GetNurbsBoundaryDimension(h, k, &n) && room(a, n)) GMD_GetNurbsBoundaryPoints(h, k, a.data());
        GMD_GetNurbsBoundaryPoint(h, k, 0, f);
        GMD_GetNurbsBoundaryPoint(h, k, 0xFFFFFFFFu, f);
    }
}

}  // namespace gmdfuzz
