// Mesh files other programs read, and the two they write that become GMD
// polygon records.
#pragma once

#include <string>
#include <vector>

#include "mesh.h"

namespace tool {

// VTK XML unstructured grid (ASCII) with cell data record, record_type, group,
// volume1, volume2 and thickness.
void writeVtu(const Mesh& mesh, const std::string& path);
// Wavefront OBJ: faces and lines, one "g group_N" block per group byte.
void writeObj(const Mesh& mesh, const std::string& path);
// Binary STL: triangles; quads are split in two, lines and vertices dropped.
void writeStl(const Mesh& mesh, const std::string& path);

// A polygon soup read back: each face is 2 (a line), 3 or 4 corners.
struct Face {
    std::vector<Vec3> corners;
    int group = 0;
};

// Binary or ASCII STL, told apart by the file's size and first bytes.
std::vector<Face> readStl(const std::string& path, const std::string& label);
// Faces and lines of an OBJ file; polygons of more than four corners are
// split into a fan of triangles; "g group_N" sets the group of what follows.
std::vector<Face> readObj(const std::string& path, const std::string& label);

}  // namespace tool
