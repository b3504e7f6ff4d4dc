// Cells over shared points, as VTU and OBJ files hold them: every distinct
// point once, cells as point indices, and per cell the record it came from.
#pragma once

#include <cstdint>
#include <vector>

#include "convert/tessellate.h"

namespace gmdk {

class SharedMesh {
public:
    // Appends the cells of `piece`, merging points whose float32 coordinates
    // are exactly equal (0 and -0 count as equal).
    void add(const Mesh& piece);
    std::int64_t pointCount() const { return static_cast<std::int64_t>(points.size() / 3); }
    std::int64_t cellCount() const { return static_cast<std::int64_t>(types.size()); }

    std::vector<float> points;               // x, y, z per point
    std::vector<std::int64_t> connectivity;  // point indices, cell after cell
    std::vector<std::int64_t> offsets;       // end of each cell in connectivity
    std::vector<std::uint8_t> types;         // CellType
    std::vector<std::int32_t> group, volume1, volume2, recordType;
    std::vector<std::int64_t> record;
    std::vector<float> thickness;

private:
    std::int64_t pointIndex(float x, float y, float z);
    void grow();

    // Open addressing: a slot holds a point index + 1, 0 when free. The table
    // is kept at most half full, so its memory stays proportional to the
    // distinct points.
    std::vector<std::int64_t> slots_;
};

}  // namespace gmdk
