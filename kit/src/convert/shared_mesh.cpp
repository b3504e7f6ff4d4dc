#include "convert/shared_mesh.h"

namespace gmdk {

void SharedMesh::add(const Mesh& piece) {
    std::vector<std::int64_t> ids(piece.points.size());
    for (std::size_t i = 0; i < piece.points.size(); ++i) {
        const Vec3& v = piece.points[i];
        const float xyz[3] = {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
        ids[i] = index_.insert(xyz);
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

void SharedMesh::add(const PolygonCell& c) {
    for (int k = 0; k < c.corners; ++k) connectivity.push_back(index_.insert(c.xyz + 3 * k));
    offsets.push_back(static_cast<std::int64_t>(connectivity.size()));
    types.push_back(static_cast<std::uint8_t>(c.corners == 3 ? CellTriangle : CellQuad));
    group.push_back(c.group);
    volume1.push_back(c.volume1);
    volume2.push_back(c.volume2);
    recordType.push_back(c.code);
    record.push_back(static_cast<std::int64_t>(c.record));
    thickness.push_back(0);
}

}  // namespace gmdk
