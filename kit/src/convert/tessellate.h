// Records as a plain mesh: points and cells (vertices, lines, triangles,
// quads), each cell tagged with the record it came from. Segments, polygons,
// wedges, edges and junctions map one to one; canonical solids and NURBS
// surfaces are tessellated, `resolution` steps around or across them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/record.h"
#include "model/vec.h"

struct GMD_File;

namespace gmdk {

enum CellType : int { CellVertex = 1, CellLine = 3, CellTriangle = 5, CellQuad = 9 };

struct Cell {
    CellType type = CellLine;
    std::vector<std::uint32_t> ids;
    std::size_t record = 0;
    std::int32_t code = 0;
    std::int32_t group = 0;
    std::int32_t volume1 = 0;
    std::int32_t volume2 = 0;
    float thickness = 0;   // the sum of the layers of an attributed polygon
};

struct Mesh {
    std::vector<Vec3> points;
    std::vector<Cell> cells;
    std::vector<std::string> warnings;   // records that could not be tessellated
};

// A triangle or quad of a 'P' or 'p' record, the bulk of most files, read
// straight from the handle without building fields.
struct PolygonCell {
    int corners = 0;
    float xyz[12] = {};
    std::int32_t code = 0, group = 0, volume1 = 0, volume2 = 0;
    std::size_t record = 0;
};
// False for every other record (whose fields then go through tessellate).
bool readPlainPolygon(GMD_File* handle, const Record& record, PolygonCell& cell);

// Appends the points and cells of one record (nothing for records without
// geometry); `resolution` steps around solids and across surfaces.
void tessellate(const Record& record, int resolution, Mesh& mesh);

// A rational B-spline surface as the record holds it: control point (i, j)
// at row i (along U) and column j (along V).
struct NurbsSurface {
    int degreeU = 0, degreeV = 0;
    std::vector<double> uKnots, vKnots;
    int rows = 0, columns = 0;
    std::vector<Vec3> points;
    std::vector<double> weights;

    double uMin() const { return uKnots[static_cast<std::size_t>(degreeU)]; }
    double uMax() const { return uKnots[static_cast<std::size_t>(rows)]; }
    double vMin() const { return vKnots[static_cast<std::size_t>(degreeV)]; }
    double vMax() const { return vKnots[static_cast<std::size_t>(columns)]; }
};

// Fails (with the reason) when the counts or knots give no surface.
bool nurbsFromRecord(const Record& record, NurbsSurface& surface, std::string& reason);
// S(u, v), with u and v clamped to the knot domain.
Vec3 evaluate(const NurbsSurface& surface, double u, double v);

}  // namespace gmdk
