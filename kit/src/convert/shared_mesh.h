// Cells over shared points, as VTU and OBJ files hold them: every distinct
// point once, cells as point indices, and per cell the record it came from.
#pragma once

#include <cstdint>
#include <vector>

#include "convert/tessellate.h"
#include "point_index.h"

namespace gmdk {

class SharedMesh {
public:
    // Appends the cells of `piece`, merging points whose float32 coordinates
    // are exactly equal (0 and -0 count as equal).
    void add(const Mesh& piece);
    void add(const PolygonCell& cell);
    std::int64_t pointCount() const { return index_.size(); }
    // x, y, z per point.
    const std::vector<float>& points() const { return index_.points(); }
    std::int64_t cellCount() const { return static_cast<std::int64_t>(types.size()); }

    std::vector<std::int64_t> connectivity;  // point indices, cell after cell
    std::vector<std::int64_t> offsets;       // end of each cell in connectivity
    std::vector<std::uint8_t> types;         // CellType
    std::vector<std::int32_t> group, volume1, volume2, recordType;
    std::vector<std::int64_t> record;
    std::vector<float> thickness;

private:
    PointIndex index_;
};

}  // namespace gmdk
