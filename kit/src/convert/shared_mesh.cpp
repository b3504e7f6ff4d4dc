#include "convert/shared_mesh.h"

#include <cstring>

namespace gmdk {

namespace {

std::uint32_t bitsOf(float v) {
    if (v == 0) v = 0;  // -0 and 0 are one point
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

std::uint64_t hashOf(const float* p) {
    std::uint64_t h = 0x9e3779b97f4a7c15ull;
    for (int k = 0; k < 3; ++k) {
        h ^= bitsOf(p[k]);
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    return h;
}

bool samePoint(const float* a, const float* b) {
    for (int k = 0; k < 3; ++k)
        if (bitsOf(a[k]) != bitsOf(b[k])) return false;
    return true;
}

}  // namespace

void SharedMesh::grow() {
    std::vector<std::int64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::int64_t entry : old) {
        if (!entry) continue;
        std::size_t at = static_cast<std::size_t>(hashOf(&points[3 * static_cast<std::size_t>(entry - 1)])) & mask;
        while (slots_[at]) at = (at + 1) & mask;
        slots_[at] = entry;
    }
}

std::int64_t SharedMesh::pointIndex(float x, float y, float z) {
    if (2 * (pointCount() + 1) > static_cast<std::int64_t>(slots_.size())) grow();
    const float p[3] = {x, y, z};
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(hashOf(p)) & mask;
    while (slots_[at]) {
        const std::int64_t index = slots_[at] - 1;
        if (samePoint(&points[3 * static_cast<std::size_t>(index)], p)) return index;
        at = (at + 1) & mask;
    }
    const std::int64_t index = pointCount();
    points.insert(points.end(), p, p + 3);
    slots_[at] = index + 1;
    return index;
}

void SharedMesh::add(const Mesh& piece) {
    std::vector<std::int64_t> ids(piece.points.size());
    for (std::size_t i = 0; i < piece.points.size(); ++i) {
        const Vec3& v = piece.points[i];
        ids[i] = pointIndex(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
    }
    for (const Cell& c : piece.cells) {
        for (std::uint32_t id : c.ids) connectivity.push_back(ids[id]);
        offsets.push_back(static_cast<std::int64_t>(connectivity.size()));
        types.push_back(static_cast<std::uint8_t>(c.type));
        group.push_back(c.group);
        volume1.push_back(c.volume1);
        volume2.push_back(c.volume2);
        recordType.push_back(c.code);
        record.push_back(static_cast<std::int64_t>(c.record));
        thickness.push_back(c.thickness);
    }
}

}  // namespace gmdk
