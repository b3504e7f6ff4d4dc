#include "convert/shared_mesh.h"

#include <cstring>

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
        tag(c.type, c.group, c.volume1, c.volume2, c.code, c.record, c.thickness);
    }
}

void SharedMesh::tag(CellType type, std::int32_t groupByte, std::int32_t firstVolume, std::int32_t secondVolume,
                     std::int32_t code, std::size_t recordIndex, float layers) {
    types.push_back(static_cast<std::uint8_t>(type));
    group.push_back(groupByte);
    volume1.push_back(firstVolume);
    volume2.push_back(secondVolume);
    recordType.push_back(code);
    record.push_back(static_cast<std::int64_t>(recordIndex));
    std::uint32_t bits;
    std::memcpy(&bits, &layers, sizeof bits);
    thickness.push_back(bits);
}

void SharedMesh::add(const PolygonCell& c) {
    waiting_.insert(waiting_.end(), c.xyz, c.xyz + 3 * c.corners);
    if (waiting_.size() >= 3 * kRun) finish();
    tag(c.corners == 3 ? CellTriangle : CellQuad, c.group, c.volume1, c.volume2, c.code, c.record, 0);
}

}  // namespace gmdk
