// Call-sequence harness: the input decodes into setter calls of every family,
// group setters, resets and writes. The file written is read back, and every
// frame must return with the letter, header bytes and words that went out
// (taken just after the record's encoding step, which WriteRecord repeats).
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/access.h"
#include "core/dispatch.h"
#include "getters.h"
#include "gmd.h"

namespace {

struct Frame {
    uint8_t letter;
    int8_t group;
    int8_t group2;
    std::vector<uint32_t> words;
};

Frame snapshot(const gmd::RecordBuffer& r) {
    Frame f{r.letter, r.group, r.group2, std::vector<uint32_t>(static_cast<size_t>(r.wordCount()))};
    if (r.wordCount() > 0) r.copyOut(0, r.wordCount(), f.words.data());
    return f;
}

class Calls {
public:
    explicit Calls(FuzzedDataProvider& in) : in_(in) {}

    float value() { return in_.ConsumeFloatingPoint<float>(); }
    const float* values(size_t n) {
        buffer_.resize(n);
        for (auto& v : buffer_) v = value();
        return buffer_.data();
    }
    int32_t count(int32_t hi) { return in_.ConsumeIntegralInRange<int32_t>(-1, hi); }
    uint32_t index(uint32_t hi) { return in_.ConsumeIntegralInRange<uint32_t>(0, hi); }
    const int32_t* ints(int32_t n) {
        ints_.assign(static_cast<size_t>(n < 0 ? 0 : n) + 1, 0);
        for (auto& v : ints_) v = in_.ConsumeIntegral<int32_t>();
        return ints_.data();
    }
    std::string text() { return in_.ConsumeRandomLengthString(24); }

private:
    FuzzedDataProvider& in_;
    std::vector<float> buffer_;
    std::vector<int32_t> ints_;
};

void setSolid(GMD_File* h, Calls& c, unsigned which) {
    switch (which % 14) {
        case 0: GMD_SetSphere(h, c.values(4)); break;
        case 1: GMD_SetSphereRadius(h, c.value()); break;
        case 2: GMD_SetScatter(h, c.values(5)); break;
        case 3: GMD_SetScatterEMRadius(h, c.value()); break;
        case 4: GMD_SetDisk(h, c.values(7)); break;
        case 5: GMD_SetDiskNormal(h, c.values(3)); break;
        case 6: GMD_SetCircularCylinder(h, c.values(7)); break;
        case 7: GMD_SetCylinderUpperCenter(h, c.values(3)); break;
        case 8: GMD_SetEllipticalCylinder(h, c.values(13)); break;
        case 9: GMD_SetEllipticalCylinderUpperCenter(h, c.values(3)); break;
        case 10: GMD_SetEllipticalCylinderXsemiAxis(h, c.value()); break;
        case 11: GMD_SetCone(h, c.values(15)); break;
        case 12: GMD_SetConeUpperCenter(h, c.values(3)); break;
        default: GMD_SetConeHeight(h, c.value()); break;
    }
}

void setNurbs(GMD_File* h, Calls& c, unsigned which) {
    switch (which % 12) {
        case 0: GMD_SetNurbsNumUknots(h, c.count(6)); break;
        case 1: GMD_SetNurbsNumVknots(h, c.count(6)); break;
        case 2: GMD_SetNurbsNumUcontrolPoints(h, c.count(4)); break;
        case 3: GMD_SetNurbsNumVcontrolPoints(h, c.count(4)); break;
        case 4: GMD_SetNurbsNumBounds(h, c.count(3)); break;
        case 5: GMD_SetNurbsNumPoints(h, c.count(8)); break;
        case 6: GMD_SetNurbsHoleOrigin(h, c.count(100)); break;
        case 7: {
            int32_t sizes[7];
            for (int k = 0; k < 7; ++k) sizes[k] = c.count(k == 6 ? 100 : 5);
            GMD_SetNurbsSizes(h, sizes);
            break;
        }
        case 8: {
            int32_t sizes[7];
            if (!GMD_GetNurbsSizes(h, sizes)) break;
            std::vector<float> u(static_cast<size_t>(sizes[0]) + 1), v(static_cast<size_t>(sizes[1]) + 1);
            size_t points = static_cast<size_t>(sizes[2]) * static_cast<size_t>(sizes[3]);
            std::vector<float> cp(points * 3 + 1), w(points + 1), bp(static_cast<size_t>(sizes[5]) * 2 + 1);
            std::vector<int32_t> dims(static_cast<size_t>(sizes[4]) + 1);
            for (auto* a : {&u, &v, &cp, &w, &bp})
                for (auto& x : *a) x = c.value();
            for (auto& d : dims) d = c.count(4);
            GMD_NurbsData data{u.data(), v.data(), cp.data(), w.data(), dims.data(), bp.data()};
            GMD_SetNurbsData(h, &data);
            break;
        }
        case 9: GMD_SetNurbsControlPoint(h, c.count(4), c.count(4), c.values(3)); break;
        case 10: GMD_SetNurbsWeight(h, c.count(4), c.count(4), c.value()); break;
        default: GMD_SetNurbsBoundaryPoint(h, c.index(4), c.index(10), c.values(2)); break;
    }
}

void setOther(GMD_File* h, Calls& c, unsigned which) {
    switch (which % 12) {
        case 0: GMD_SetJunction(h, c.values(9)); break;
        case 1: GMD_SetJunctionVertex(h, c.index(2), c.values(3)); break;
        case 2: GMD_SetJunctionNormal(h, c.values(3)); break;
        case 3: GMD_SetHingeName(h, c.text().c_str()); break;
        case 4: GMD_SetHingeType(h, c.text().c_str()); break;
        case 5: {
            int32_t n = c.count(3);
            GMD_SetHingePoints(h, n, c.values(static_cast<size_t>(n < 0 ? 0 : n) * 10));
            break;
        }
        case 6: {
            int32_t n = c.count(3);
            GMD_SetHingePointsData(h, n, c.values(static_cast<size_t>(n < 0 ? 0 : n) * 10));
            break;
        }
        case 7: {
            int32_t n = c.count(5);
            GMD_SetHingeGroups(h, n, c.ints(n));
            break;
        }
        case 8: GMD_SetGroupMaterialName(h, c.text().c_str()); break;
        case 9: GMD_SetVolumeMaterialName(h, c.text().c_str()); break;
        case 10: GMD_SetJunctionGroupName(h, c.text().c_str()); break;
        default: GMD_SetMacroGroupName(h, c.text().c_str()); break;
    }
}

void setMesh(GMD_File* h, Calls& c, unsigned which) {
    switch (which % 20) {
        case 0: GMD_SetSegment(h, c.values(6)); break;
        case 1: GMD_SetSegmentVertex(h, c.index(2), c.values(3)); break;
        case 2: GMD_SetTriangle(h, c.values(9)); break;
        case 3: GMD_SetTriangleVertex(h, c.index(3), c.values(3)); break;
        case 4: GMD_SetQuad(h, c.values(12)); break;
        case 5: GMD_SetQuadVertex(h, c.index(4), c.values(3)); break;
        case 6: GMD_SetSegmentRadius(h, c.value()); break;
        case 7: GMD_SetSegmentVolume(h, c.count(1000)); break;
        case 8: GMD_SetPolygonVolumes(h, c.count(1000), c.count(1000)); break;
        case 9: GMD_SetPolygonFSSorientation(h, c.values(3)); break;
        case 10: {
            int32_t n = c.count(6);
            GMD_SetPolygonThickness(h, n, c.values(static_cast<size_t>(n < 0 ? 0 : n)));
            break;
        }
        case 11: GMD_SetWedge(h, c.values(12)); break;
        case 12: GMD_SetEWRightNormal(h, c.values(3)); break;
        case 13: GMD_SetWedgeLeftAdjacentPolygon(h, c.count(1000)); break;
        case 14: GMD_SetWedgeRightAdjacentPolygon(h, c.count(1000)); break;
        case 15: GMD_SetEdgeAdjacentPolygon(h, c.count(1000)); break;
        case 16: {
            int32_t n = c.count(6);
            GMD_SetMacroGroupGroups(h, n, c.ints(n));
            break;
        }
        case 17: GMD_SetScattVertexPosition(h, c.values(3)); break;
        case 18: {
            int32_t n = c.count(6);
            GMD_SetScattVertexAdjacent(h, n, c.ints(n));
            break;
        }
        default: GMD_SetEWFirstVert(h, c.values(3)); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = gmdfuzz::scratchPath("gmd_sequence_fuzz_");
    FuzzedDataProvider in(data, size);
    Calls calls(in);
    std::vector<Frame> written;

    GMD_File* out = GMD_OpenWriteFile(path.c_str());
    if (out == nullptr) return 0;
    gmd::RecordFile& file = *gmd::fileOf(out);
    while (in.remaining_bytes() > 0) {
        uint8_t op = in.ConsumeIntegral<uint8_t>();
        unsigned which = in.ConsumeIntegral<uint8_t>();
        switch (op % 8) {
            case 0: GMD_SetGroup(out, in.ConsumeIntegralInRange<int32_t>(-130, 130)); break;
            case 1: GMD_SetGroup2(out, in.ConsumeIntegralInRange<int32_t>(-130, 130)); break;
            case 2: {
                // Run the encoding step first (it is idempotent) to know the words.
                const auto& steps = gmd::letterTable()[file.record.letter];
                if (steps.write != nullptr) steps.write(file);
                Frame expected = snapshot(file.record);
                if (GMD_WriteRecord(out) != 1) std::abort();
                written.push_back(std::move(expected));
                break;
            }
            case 3: GMD_ResetRecord(out); break;
            case 4: setMesh(out, calls, which); break;
            case 5: setSolid(out, calls, which); break;
            case 6: setNurbs(out, calls, which); break;
            default: (which & 1) ? setOther(out, calls, which >> 1) : (void)GMD_SetTolerance(out, calls.value()); break;
        }
    }
    GMD_CloseFile(out);

    GMD_File* back = GMD_OpenReadFile(path.c_str());
    if (back == nullptr) std::abort();
    const gmd::RecordBuffer& record = gmd::fileOf(back)->record;
    for (const Frame& expected : written) {
        if (GMD_GetRecord(back) != 1) std::abort();
        Frame got = snapshot(record);
        if (got.letter != expected.letter || got.group != expected.group || got.group2 != expected.group2 ||
            got.words != expected.words)
            std::abort();
    }
    if (GMD_GetRecord(back) != 0) std::abort();
    GMD_CloseFile(back);
    return 0;
}
