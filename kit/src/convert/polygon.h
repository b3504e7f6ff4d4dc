// Polygons of more than four corners cut into triangles.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/vec.h"

namespace gmdk {

// Ear clipping on the polygon projected onto its best-fit plane, so that
// concave polygons come out right. Returns the triangles as corner indices,
// or throws Error saying why the polygon has none: too few distinct corners,
// no area, or edges that cross.
std::vector<std::array<std::size_t, 3>> triangulate(const std::vector<Vec3>& corners);

}  // namespace gmdk
