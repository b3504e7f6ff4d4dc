// Cells over shared points, as VTU and OBJ files hold them: every distinct
// point once, cells as point indices, and per cell the record it came from.
#pragma once

#include <cstdint>
#include <vector>

#include "column.h"
#include "convert/runs.h"
#include "convert/tessellate.h"
#include "point_index.h"

namespace gmdk {

class SharedMesh {
public:
    // Appends the cells of `piece`, merging points whose float32 coordinates
    // are exactly equal (0 and -0 count as equal).
    void add(const Mesh& piece);
    // The same for one triangle or quad. Its corners wait in a run that goes
    // to the point index together (see PointIndex) and join the
    // connectivity when finish() or the next add(Mesh) merges them.
    void add(const PolygonCell& cell);
    // Merges the corners still waiting; the arrays are complete after it.
    void finish();

    std::int64_t pointCount() const { return index_.size(); }
    // x, y, z per point.
    const std::vector<float>& points() const { return index_.points(); }
    std::int64_t cellCount() const { return static_cast<std::int64_t>(types.size()); }
    // The corners of a cell of this CellType, which is what the
    // connectivity holds for it.
    static int corners(std::uint8_t type) { return type == CellVertex ? 1 : type == CellLine ? 2 : type == CellTriangle ? 3 : 4; }

    // Point indices, cell after cell; a point index fits 32 bits (PointIndex
    // holds no more points).
    Column<std::uint32_t> connectivity;
    Column<std::uint8_t> types;  // CellType
    Runs<std::int32_t> group, volume1, volume2, recordType;
    Runs<std::int64_t> record;
    Runs<std::uint32_t> thickness;  // the bits of a float

private:
    void tag(CellType type, std::int32_t group, std::int32_t volume1, std::int32_t volume2, std::int32_t code,
             std::size_t record, float thickness);
    void merge(const float* xyz, std::size_t count);

    PointIndex index_;
    std::vector<float> waiting_;  // x, y, z of corners not yet merged
    std::vector<std::int64_t> ids_;
};

}  // namespace gmdk
