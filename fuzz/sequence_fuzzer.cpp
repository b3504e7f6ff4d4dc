// Call-sequence harness: the input decodes into setter calls of every family,
// group setters, resets and writes. The file written must hold exactly one
// well-formed frame per successful write, and read back as those records.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "getters.h"

namespace {

// Setters by signature. Every call takes its values from one buffer larger
// than any call reads, since counts are kept small.
int32_t (*const kFloats[])(GMD_File*, const float*) = {
    GMD_SetSegment, GMD_SetTriangle, GMD_SetQuad, GMD_SetPolygonFSSorientation, GMD_SetWedge, GMD_SetEWFirstVert,
    GMD_SetEWRightNormal, GMD_SetScattVertexPosition, GMD_SetSphere, GMD_SetScatter, GMD_SetDisk, GMD_SetDiskNormal,
    GMD_SetCircularCylinder, GMD_SetCylinderUpperCenter, GMD_SetEllipticalCylinder,
    GMD_SetEllipticalCylinderUpperCenter, GMD_SetCone, GMD_SetConeUpperCenter, GMD_SetJunction, GMD_SetJunctionNormal,
    GMD_SetNurbsUKnots, GMD_SetNurbsAllBoundaryPoints};
int32_t (*const kFloat[])(GMD_File*, float) = {GMD_SetTolerance, GMD_SetSegmentRadius, GMD_SetSphereRadius,
                                                GMD_SetScatterEMRadius, GMD_SetEllipticalCylinderXsemiAxis,
                                                GMD_SetConeHeight};
int32_t (*const kInt[])(GMD_File*, int32_t) = {
    GMD_SetGroup, GMD_SetGroup2, GMD_SetSegmentVolume, GMD_SetWedgeLeftAdjacentPolygon,
    GMD_SetWedgeRightAdjacentPolygon, GMD_SetEdgeAdjacentPolygon, GMD_SetNurbsNumUknots, GMD_SetNurbsNumVknots,
    GMD_SetNurbsNumUcontrolPoints, GMD_SetNurbsNumVcontrolPoints, GMD_SetNurbsNumBounds, GMD_SetNurbsNumPoints,
    GMD_SetNurbsHoleOrigin};
int32_t (*const kIndexed[])(GMD_File*, uint32_t, const float*) = {
    GMD_SetSegmentVertex, GMD_SetTriangleVertex, GMD_SetQuadVertex, GMD_SetJunctionVertex, GMD_SetNurbsBoundaryPoints};
int32_t (*const kText[])(GMD_File*, const char*) = {GMD_SetMacroGroupName, GMD_SetHingeName, GMD_SetHingeType,
                                                     GMD_SetGroupMaterialName, GMD_SetVolumeMaterialName,
                                                     GMD_SetJunctionGroupName};

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = gmdfuzz::scratchPath("gmd_sequence_fuzz_");
    FuzzedDataProvider in(data, size);
    std::vector<float> values(128);  // a grid of 5 x 5 cells takes 75
    std::vector<int32_t> ints(16);
    int writes = 0;
    GMD_File* out = GMD_OpenWriteFile(path.c_str());
    if (out == nullptr) return 0;
    while (in.remaining_bytes() > 0) {
        for (auto& v : values) v = in.ConsumeFloatingPoint<float>();
        for (auto& v : ints) v = in.ConsumeIntegralInRange<int32_t>(-2, 5);
        const int32_t n = ints[0];
        switch (in.ConsumeIntegralInRange(0, 13)) {
            case 0: writes += GMD_WriteRecord(out); break;
            case 1: GMD_ResetRecord(out); break;
            case 2: in.PickValueInArray(kFloats)(out, values.data()); break;
            case 3: in.PickValueInArray(kFloat)(out, values[0]); break;
            case 4: in.PickValueInArray(kInt)(out, n); break;
            case 5: in.PickValueInArray(kIndexed)(out, in.ConsumeIntegralInRange<uint32_t>(0, 4), values.data()); break;
            case 6: in.PickValueInArray(kText)(out, in.ConsumeRandomLengthString(24).c_str()); break;
            case 7: GMD_SetPolygonThickness(out, n, values.data()); break;
            case 8: GMD_SetMacroGroupGroups(out, n, ints.data()); break;
            case 9: GMD_SetScattVertexAdjacent(out, n, ints.data()); break;
            case 10: GMD_SetHingePoints(out, n > 2 ? 2 : n, values.data()); break;
            case 11: GMD_SetHingeGroups(out, n, ints.data()); break;
            case 12: GMD_SetNurbsSizes(out, ints.data()); break;
            default: {
                GMD_NurbsData all{values.data(), values.data(), values.data(), values.data(), ints.data(), values.data()};
                GMD_SetNurbsData(out, &all);
                GMD_SetNurbsControlPoint(out, ints[1], ints[2], values.data());
                GMD_SetNurbsBoundaryPoint(out, uint32_t(ints[3]), uint32_t(ints[4]), values.data());
            }
        }
    }
    GMD_CloseFile(out);

    // Every frame: L = 4 + 4n, the word count byte min(n, 255), L again.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<uint8_t> bytes;
    for (int c; file != nullptr && (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    if (file != nullptr) std::fclose(file);
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < bytes.size(); at += le32(&bytes[at]) + 8) {
        const uint32_t length = at + 8 <= bytes.size() ? le32(&bytes[at]) : 0;
        const uint32_t words = (length - 4) / 4;
        if (length < 4 || length % 4 != 0 || at + length + 8 > bytes.size() ||
            bytes[at + 5] != (words < 255 ? words : 255) || le32(&bytes[at + length + 4]) != length)
            std::abort();
        starts.push_back(at);
    }
    if (starts.size() != static_cast<std::size_t>(writes)) std::abort();

    GMD_File* back = GMD_OpenReadFile(path.c_str());
    for (std::size_t at : starts) {
        int32_t group = 0, group2 = 0;
        if (GMD_GetRecord(back) != 1 || !GMD_GetGroup(back, &group) || !GMD_GetGroup2(back, &group2) ||
            group != static_cast<int8_t>(bytes[at + 6]) || group2 != static_cast<int8_t>(bytes[at + 7]))
            std::abort();
        gmdfuzz::callGetters(back, bytes.size());
    }
    if (GMD_GetRecord(back) != 0) std::abort();
    GMD_CloseFile(back);
    return 0;
}
