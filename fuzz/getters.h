// Calls every getter of the current record's family, with output buffers
// sized from the count getters (capped so the harness itself stays bounded).
// Shared by the fuzz harnesses.
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

// Counts above this are not copied out (the library itself bounds nothing
// in the caller's arrays).
constexpr int32_t kCap = 1 << 16;

inline bool fits(int32_t n) { return n >= 0 && n <= kCap; }

// textCapacity: room for any stored name (4 x the largest word count seen).
inline void callGetters(GMD_File* h, std::size_t textCapacity) {
    float f[32];
    int32_t i32[8];
    std::vector<char> text(textCapacity + 1);
    int32_t n = 0;

    GMD_GetRecordType(h);
    GMD_GetGroup(h, &i32[0]);
    GMD_GetGroup2(h, &i32[0]);
    GMD_GetTolerance(h, f);

    // Segments, polygons and their attributes.
    GMD_GetSegment(h, f);
    GMD_GetSegmentVertices(h, f);
    GMD_GetTriangle(h, f);
    GMD_GetTriangleVertices(h, f);
    GMD_GetQuad(h, f);
    GMD_GetQuadVertices(h, f);
    for (uint32_t v = 0; v < 6; ++v) GMD_GetVertex(h, v, f);
    GMD_GetVertex(h, 0xFFFFFFFFu, f);
    GMD_GetSegmentRadius(h, f);
    GMD_GetSegmentVolume(h, &i32[0]);
    GMD_GetPolygonVolumes(h, &i32[0], &i32[1]);
    GMD_GetPolygonFSSorientation(h, f);
    if (GMD_GetPolygonNumThickness(h, &n) && fits(n)) {
        std::vector<float> t(static_cast<std::size_t>(n) + 1);
        GMD_GetPolygonThickness(h, t.data());
    }

    // Wedges and edges.
    GMD_GetWedge(h, f);
    GMD_GetEWFirstVert(h, f);
    GMD_GetEWSecondVert(h, f);
    GMD_GetEWLeftNormal(h, f);
    GMD_GetEWRightNormal(h, f);
    GMD_GetEWLeftAdjacentPolygon(h, &i32[0]);
    GMD_GetEWRightAdjacentPolygon(h, &i32[0]);

    // Macro groups and scattered vertices.
    if (GMD_GetMacroGroupNumGroups(h, &n) && fits(n)) {
        std::vector<int32_t> g(static_cast<std::size_t>(n) + 1);
        GMD_GetMacroGroupGroups(h, g.data());
    }
    GMD_GetMacroGroupName(h, text.data());
    GMD_GetScattVertexPosition(h, f);
    if (GMD_GetScattVertexNumAdjacent(h, &n) && fits(n)) {
        std::vector<int32_t> a(static_cast<std::size_t>(n) + 1);
        GMD_GetScattVertexAdjacent(h, a.data());
    }

    // Solids.
    GMD_GetSphere(h, f);
    GMD_GetSphereCenter(h, f);
    GMD_GetSphereRadius(h, f);
    GMD_GetScatter(h, f);
    GMD_GetScatterCenter(h, f);
    GMD_GetScatterRadius(h, f);
    GMD_GetScatterEMRadius(h, f);
    GMD_GetDisk(h, f);
    GMD_GetDiskCenter(h, f);
    GMD_GetDiskNormal(h, f);
    GMD_GetDiskRadius(h, f);
    GMD_GetCircularCylinder(h, f);
    GMD_GetCylinderLowerCenter(h, f);
    GMD_GetCylinderUpperCenter(h, f);
    GMD_GetCylinderRadius(h, f);
    GMD_GetCylinderHeight(h, f);
    GMD_GetEllipticalCylinder(h, f);
    GMD_GetEllipticalCylinderCenter(h, f);
    GMD_GetEllipticalCylinderLowerCenter(h, f);
    GMD_GetEllipticalCylinderUpperCenter(h, f);
    GMD_GetEllipticalCylinderHeight(h, f);
    GMD_GetEllipticalCylinderXdirection(h, f);
    GMD_GetEllipticalCylinderYdirection(h, f);
    GMD_GetEllipticalCylinderZdirection(h, f);
    GMD_GetEllipticalCylinderXsemiAxis(h, f);
    GMD_GetEllipticalCylinderYsemiAxis(h, f);
    GMD_GetEllipticalCylinderLowerTiltAngle(h, f);
    GMD_GetEllipticalCylinderUpperTiltAngle(h, f);
    GMD_GetCone(h, f);
    GMD_GetConeLowerCenter(h, f);
    GMD_GetConeUpperCenter(h, f);
    GMD_GetConeHeight(h, f);
    GMD_GetConeXdirection(h, f);
    GMD_GetConeYdirection(h, f);
    GMD_GetConeZdirection(h, f);
    GMD_GetConeLowerXsemiAxis(h, f);
    GMD_GetConeLowerYsemiAxis(h, f);
    GMD_GetConeUpperXsemiAxis(h, f);
    GMD_GetConeUpperYsemiAxis(h, f);
    GMD_GetConeLowerTiltAngle(h, f);
    GMD_GetConeUpperTiltAngle(h, f);

    // NURBS surface, in bulk and piece by piece.
    int32_t sizes[7];
    if (GMD_GetNurbsSizes(h, sizes)) {
        GMD_GetNurbsNumUknots(h, &n);
        GMD_GetNurbsNumVknots(h, &n);
        GMD_GetNurbsNumUcontrolPoints(h, &n);
        GMD_GetNurbsNumVcontrolPoints(h, &n);
        GMD_GetNurbsNumBounds(h, &n);
        GMD_GetNurbsHoleOrigin(h, &n);
        int64_t points = int64_t{sizes[2]} * sizes[3];
        if (fits(sizes[0]) && fits(sizes[1]) && points >= 0 && points <= kCap && fits(sizes[4]) && fits(sizes[5])) {
            std::vector<float> u(static_cast<std::size_t>(sizes[0]) + 1), v(static_cast<std::size_t>(sizes[1]) + 1);
            std::vector<float> cp(static_cast<std::size_t>(points) * 3 + 1), w(static_cast<std::size_t>(points) + 1);
            std::vector<int32_t> dims(static_cast<std::size_t>(sizes[4]) + 1);
            std::vector<float> bp(static_cast<std::size_t>(sizes[5]) * 2 + 1);
            GMD_NurbsData data{u.data(), v.data(), cp.data(), w.data(), dims.data(), bp.data()};
            GMD_GetNurbsData(h, &data);
            GMD_GetNurbsUKnots(h, u.data());
            GMD_GetNurbsVKnots(h, v.data());
            GMD_GetNurbsBoundaryDimensions(h, dims.data());
            GMD_GetNurbsAllBoundaryPoints(h, bp.data());
            for (int32_t k = -1; k <= sizes[0]; ++k) GMD_GetNurbsUKnot(h, k, f);
            for (int32_t k = -1; k <= sizes[1]; ++k) GMD_GetNurbsVKnot(h, k, f);
            GMD_GetNurbsControlPoint(h, sizes[2] - 1, sizes[3] - 1, f);
            GMD_GetNurbsControlPoint(h, sizes[2], 0, f);
            GMD_GetNurbsWeight(h, 0, sizes[3], f);
            GMD_GetNurbsWeight(h, sizes[2] - 1, sizes[3] - 1, f);
            for (uint32_t k = 0; k <= static_cast<uint32_t>(sizes[4]) && k < 64; ++k) {
                GMD_GetNurbsBoundaryDimension(h, k, &n);
                if (fits(n)) {
                    std::vector<float> pts(static_cast<std::size_t>(n) + 1);
                    GMD_GetNurbsBoundaryPoints(h, k, pts.data());
                }
                GMD_GetNurbsBoundaryPoint(h, k, 0, f);
                GMD_GetNurbsBoundaryPoint(h, k, 0xFFFFFFFFu, f);
            }
        }
    }

    // Junctions, hinges, names.
    GMD_GetJunction(h, f);
    GMD_GetJunctionVertices(h, f);
    GMD_GetJunctionVertex(h, 0, f);
    GMD_GetJunctionVertex(h, 1, f);
    GMD_GetJunctionVertex(h, 2, f);
    GMD_GetJunctionNormal(h, f);
    GMD_GetHingeName(h, text.data());
    GMD_GetHingeType(h, text.data());
    if (GMD_GetHingeNumPoints(h, &n) && fits(n)) {
        std::vector<float> values(static_cast<std::size_t>(n) + 10);
        GMD_GetHingePoints(h, values.data());
        GMD_GetHingePointsData(h, values.data());
        for (int32_t p = -1; p <= n / 10; ++p) GMD_GetHingePoint(h, p, f);
    }
    if (GMD_GetHingeNumGroups(h, &n) && fits(n)) {
        std::vector<int32_t> g(static_cast<std::size_t>(n) + 1);
        GMD_GetHingeGroups(h, g.data());
    }
    GMD_GetMaterialName(h, text.data());
    GMD_GetJunctionGroupName(h, text.data());
}

}  // namespace gmdfuzz
