#include "convert/shared_mesh.h"

#include "model/error.h"

namespace gmdk {

namespace {
// Corners merged together: enough for the index to overlap its cache misses.
constexpr std::size_t kRun = 1024;
}  // namespace

void SharedMesh::merge(const float* xyz, std::size_t count) {
    ids_.resize(count);
    index_.insert(xyz, count, ids_.data());
    for (std::int64_t id : ids_) connectivity.push_back(static_cast<std::uint32_t>(id));
}

void SharedMesh::finish() {
    merge(waiting_.data(), waiting_.size() / 3);
    waiting_.clear();
}

void SharedMesh::add(const Mesh& piece) {
    finish();
    std::vector<float> xyz;
    xyz.reserve(3 * piece.points.size());
    for (const Vec3& v : piece.points)
        xyz.insert(xyz.end(), {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)});
    std::vector<std::int64_t> ids(piece.points.size());
    index_.insert(xyz.data(), piece.points.size(), ids.data());
    for (const Cell& c : piece.cells) {
        if (c.ids.size() != static_cast<std::size_t>(corners(static_cast<std::uint8_t>(c.type))))
            throw Error("a cell of type " + std::to_string(c.type) + " with " + std::to_string(c.ids.size()) + " corners");
        for (std::uint32_t id : c.ids) connectivity.push_back(static_cast<std::uint32_t>(ids[id]));
        types.push_back(static_cast<std::uint8_t>(c.type));
        group.push_back(c.group);
        volume1.push_back(c.volume1);
        volume2.push_back(c.volume2);
        recordType.push_back(c.code);
        record.push_back(static_cast<std::int64_t>(c.record));
        thickness.push_back(c.thickness);
    }
}

void SharedMesh::add(const PolygonCell& c) {
    waiting_.insert(waiting_.end(), c.xyz, c.xyz + 3 * c.corners);
    if (waiting_.size() >= 3 * kRun) finish();
    types.push_back(static_cast<std::uint8_t>(c.corners == 3 ? CellTriangle : CellQuad));
    group.push_back(c.group);
    volume1.push_back(c.volume1);
    volume2.push_back(c.volume2);
    recordType.push_back(c.code);
    record.push_back(static_cast<std::int64_t>(c.record));
    thickness.push_back(0);
}

}  // namespace gmdk
