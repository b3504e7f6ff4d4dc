// The mixed model: a repeating block of the record kinds a real model holds,
// written through the setters and read back through the matching getters.
// Writer and reader fold every value they hand over into a checksum, in the
// same order, so a reader that got anything wrong shows a different sum.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "gmd.h"
#include "workload.h"

namespace gmdbench {

// One block of 100 records.
struct MixedBlock {
    static constexpr int kVolumeTriangles = 50;
    static constexpr int kAttributedQuads = 20;
    static constexpr int kSegments = 15;
    static constexpr int kWedges = 10;
    static constexpr int kSpheres = 2;
    static constexpr int kNames = 2;
    static constexpr int kSurfaces = 1;
    static constexpr int kRecords =
        kVolumeTriangles + kAttributedQuads + kSegments + kWedges + kSpheres + kNames + kSurfaces;
};

// A 20 x 20 cubic surface trimmed by one five-point boundary.
class Surface {
public:
    static constexpr int kControl = 20;
    static constexpr int kKnots = kControl + 4;
    static constexpr int kPoints = 5;
    static constexpr std::int32_t kSizes[7] = {kKnots, kKnots, kControl, kControl, 1, kPoints, 0};

    Surface()
        : uKnots_(kKnots), vKnots_(kKnots), control_(3 * kControl * kControl), weights_(kControl * kControl),
          dimensions_(1, kPoints), boundary_(2 * kPoints) {
        for (int k = 0; k < kKnots; ++k) {
            int interior = k - 3;
            float t = interior <= 0 ? 0.0f : interior >= kControl - 3 ? 1.0f : static_cast<float>(interior) / (kControl - 3);
            uKnots_[k] = vKnots_[k] = t;
        }
        const float square[2 * kPoints] = {0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
        for (int k = 0; k < 2 * kPoints; ++k) boundary_[k] = square[k];
    }

    // Surface s: control points and weights depend on s.
    GMD_NurbsData fill(std::int64_t s) {
        for (int i = 0; i < kControl; ++i)
            for (int j = 0; j < kControl; ++j) {
                float* p = &control_[3 * (i * kControl + j)];
                p[0] = static_cast<float>(i);
                p[1] = static_cast<float>(j);
                p[2] = static_cast<float>((s + i * j) % 101) * 0.125f;
                weights_[i * kControl + j] = 1.0f + static_cast<float>((s + i + j) % 7) * 0.25f;
            }
        return data();
    }

    GMD_NurbsData data() {
        return {uKnots_.data(), vKnots_.data(), control_.data(), weights_.data(), dimensions_.data(), boundary_.data()};
    }

    void addTo(Checksum& sum) const {
        sum.add(uKnots_.data(), uKnots_.size());
        sum.add(vKnots_.data(), vKnots_.size());
        sum.add(control_.data(), control_.size());
        sum.add(weights_.data(), weights_.size());
        sum.add(dimensions_.data(), dimensions_.size());
        sum.add(boundary_.data(), boundary_.size());
    }

private:
    std::vector<float> uKnots_, vKnots_, control_, weights_;
    std::vector<std::int32_t> dimensions_;
    std::vector<float> boundary_;
};

struct MixedCounts {
    std::int64_t records = 0;
    std::int64_t unexpected = 0;  // refused getters or unknown record types
};

// Writes `blocks` blocks; false when a setter or a write refuses.
inline bool writeMixed(GMD_File* out, std::int64_t blocks, Checksum& sum) {
    Surface surface;
    float v[12];
    char name[16];
    bool ok = true;
    auto write = [&](bool set) { ok = ok && set && GMD_WriteRecord(out) == 1; };
    for (std::int64_t b = 0; b < blocks && ok; ++b) {
        for (int k = 0; k < MixedBlock::kVolumeTriangles; ++k) {
            const std::int64_t i = b * 100 + k;
            triangle(i, v);
            const std::int32_t volumes[2] = {static_cast<std::int32_t>(i % 17), static_cast<std::int32_t>(i % 5)};
            sum.add(v, 9);
            sum.add(volumes, 2);
            write(GMD_SetTriangle(out, v) && GMD_SetPolygonVolumes(out, volumes[0], volumes[1]));
        }
        for (int k = 0; k < MixedBlock::kAttributedQuads; ++k) {
            const std::int64_t i = b * 100 + k;
            triangle(i, v);
            v[9] = v[0] + 1.0f, v[10] = v[1], v[11] = v[2] + 2.0f;
            const float orientation[3] = {0.0f, 0.0f, 1.0f};
            const float thickness[2] = {0.001f * static_cast<float>(k + 1), 0.5f};
            sum.add(v, 12);
            sum.add(orientation, 3);
            sum.add(thickness, 2);
            write(GMD_SetQuad(out, v) && GMD_SetPolygonThickness(out, 2, thickness) &&
                  GMD_SetPolygonFSSorientation(out, orientation));
        }
        for (int k = 0; k < MixedBlock::kSegments; ++k) {
            const std::int64_t i = b * 100 + k;
            triangle(i, v);
            const float radius = 0.01f * static_cast<float>(k + 1);
            const std::int32_t volume = static_cast<std::int32_t>(i % 9);
            sum.add(v, 6);
            sum.add(&radius, 1);
            sum.add(&volume, 1);
            write(GMD_SetSegment(out, v) && GMD_SetSegmentVolume(out, volume) && GMD_SetSegmentRadius(out, radius));
        }
        for (int k = 0; k < MixedBlock::kWedges; ++k) {
            const std::int64_t i = b * 100 + k;
            triangle(i, v);
            v[9] = 0.0f, v[10] = 1.0f, v[11] = 0.0f;
            const std::int32_t left = static_cast<std::int32_t>(i), right = static_cast<std::int32_t>(i + 1);
            sum.add(v, 12);
            sum.add(&left, 1);
            sum.add(&right, 1);
            write(GMD_SetWedge(out, v) && GMD_SetWedgeLeftAdjacentPolygon(out, left) &&
                  GMD_SetWedgeRightAdjacentPolygon(out, right));
        }
        for (int k = 0; k < MixedBlock::kSpheres; ++k) {
            const float sphere[4] = {static_cast<float>(b), static_cast<float>(k), 0.0f, 2.5f};
            sum.add(sphere, 4);
            write(GMD_SetSphere(out, sphere));
        }
        for (int k = 0; k < MixedBlock::kNames; ++k) {
            // Eight characters: a whole number of words, so no padding comes back.
            std::snprintf(name, sizeof name, "m%03d%04d", k, static_cast<int>(b % 10000));
            sum.add(name, 2);
            write(GMD_SetGroupMaterialName(out, name));
        }
        for (int k = 0; k < MixedBlock::kSurfaces; ++k) {
            const GMD_NurbsData data = surface.fill(b);
            sum.add(Surface::kSizes, 7);
            surface.addTo(sum);
            write(GMD_SetNurbsSizes(out, Surface::kSizes) && GMD_SetNurbsData(out, &data));
        }
    }
    return ok;
}

inline MixedCounts readMixed(GMD_File* in, Checksum& sum) {
    MixedCounts counts;
    Surface surface;
    float v[12], orientation[3], thickness[8], radius, sphere[4];
    std::int32_t a, b, n, sizes[7];
    char name[64];
    while (GMD_GetRecord(in)) {
        ++counts.records;
        bool ok = false;
        switch (GMD_GetRecordType(in)) {
            case GMD_RECORD_VOLUME_TRIANGLE:
                ok = GMD_GetTriangle(in, v) && GMD_GetPolygonVolumes(in, &a, &b);
                sum.add(v, 9);
                sum.add(&a, 1);
                sum.add(&b, 1);
                break;
            case GMD_RECORD_ATTRIBUTED_QUAD:
                ok = GMD_GetQuad(in, v) && GMD_GetPolygonFSSorientation(in, orientation) &&
                     GMD_GetPolygonNumThickness(in, &n) && n == 2 && GMD_GetPolygonThickness(in, thickness);
                sum.add(v, 12);
                sum.add(orientation, 3);
                sum.add(thickness, 2);
                break;
            case 'l':
                ok = GMD_GetSegment(in, v) && GMD_GetSegmentRadius(in, &radius) && GMD_GetSegmentVolume(in, &a);
                sum.add(v, 6);
                sum.add(&radius, 1);
                sum.add(&a, 1);
                break;
            case 'w':
                ok = GMD_GetWedge(in, v) && GMD_GetEWLeftAdjacentPolygon(in, &a) && GMD_GetEWRightAdjacentPolygon(in, &b);
                sum.add(v, 12);
                sum.add(&a, 1);
                sum.add(&b, 1);
                break;
            case 'S':
                ok = GMD_GetSphere(in, sphere);
                sum.add(sphere, 4);
                break;
            case 'M':
                ok = GMD_GetMaterialName(in, name);
                sum.add(name, 2);
                break;
            case 'N': {
                GMD_NurbsData data = surface.data();
                ok = GMD_GetNurbsSizes(in, sizes) && std::equal(sizes, sizes + 7, Surface::kSizes) &&
                     GMD_GetNurbsData(in, &data);
                sum.add(sizes, 7);
                surface.addTo(sum);
                break;
            }
            default:
                break;
        }
        if (!ok) ++counts.unexpected;
    }
    return counts;
}

}  // namespace gmdbench
