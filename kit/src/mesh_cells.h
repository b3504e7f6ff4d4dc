// The cell a segment, triangle or quad record holds, as libgmd reads it: the
// one decoding of such records, shared by the whole-mesh arrays of gmdkit.h
// and the mesh file converters.
#pragma once

#include <cstdint>

struct GMD_File;

namespace gmdk {

enum class Shape { None, Segment, Triangle, Quad };

// The shape of a record type as GMD_GetRecordType gives it: the polygon
// types, 'L' and 'l'; every other type is no cell.
Shape shapeOf(std::int32_t type);
inline int cornersOf(Shape shape) { return shape == Shape::Segment ? 2 : shape == Shape::Triangle ? 3 : 4; }

struct MeshCell {
    Shape shape = Shape::None;
    float xyz[12] = {};            // cornersOf(shape) points
    std::int32_t group = 0;
    std::int32_t volume[2] = {0, 0};  // 'p': both; 'l': [volume, 0]; else [0, 0]
    float radius = 0;              // 'L' and 'l' with a radius, else 0
};

// What readCell reads besides the corners.
enum CellParts : unsigned { kCellGroup = 1, kCellVolume = 2, kCellRadius = 4 };

// The current record of `file`, of type `type` (GMD_GetRecordType's), into
// cell: its corners and the `parts` asked for. False for a type that is no
// cell or when libgmd refuses the corners.
bool readCell(GMD_File* file, std::int32_t type, unsigned parts, MeshCell& cell);

}  // namespace gmdk
