// Mesh files other programs read, written from GMD records.
#pragma once

#include <cstdio>
#include <string>

#include "convert/shared_mesh.h"

namespace gmdk {

// How the arrays of a VTU file are stored: appended raw bytes (the smallest
// and fastest), base64 inside each array, or numbers as text.
enum class VtuEncoding { Raw, Base64, Ascii };

// VTK XML unstructured grid with cell data group, volume1, volume2, record,
// record_type and thickness. Finishes the mesh first (SharedMesh::finish).
// Throws Error when the file cannot be written.
void writeVtu(SharedMesh& mesh, const std::string& path, VtuEncoding encoding);
// Wavefront OBJ over shared vertices: one "g group_N" block per group byte,
// groups in increasing order, cells in record order within each. Finishes
// the mesh first.
void writeObj(SharedMesh& mesh, const std::string& path);

// Binary STL written as records arrive: triangles as they are, quads split
// in two, lines and vertices dropped. The triangle count goes into the
// header on close().
class StlWriter {
public:
    explicit StlWriter(const std::string& path);
    ~StlWriter();
    StlWriter(const StlWriter&) = delete;
    StlWriter& operator=(const StlWriter&) = delete;
    void add(const Mesh& piece);
    void add(const PolygonCell& cell);
    void close();
    std::uint64_t triangles() const { return count_; }

private:
    void triangle(const Vec3& a, const Vec3& b, const Vec3& c);
    void triangle(const float* a, const float* b, const float* c);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint64_t count_ = 0;
};

}  // namespace gmdk
