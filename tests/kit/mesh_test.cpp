// Whole meshes through gmdk_mesh_write and gmdk_mesh_open/fill: cells,
// groups, volumes, radii and record indices survive the trip, points merge
// when asked, and damage is told from the end.
#include <cmath>
#include <vector>

#include "gmdkit.h"
#include "kit_support.h"

namespace {

using kittest::Bytes;
using kittest::frame;
using kittest::TempFile;
using kittest::operator+;
using I64 = std::vector<std::int64_t>;
using I32 = std::vector<std::int32_t>;

Bytes bitsOf(const float* xyz) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(xyz);
    return Bytes(bytes, bytes + 12);
}

// Arrays of one kind of cell, owned by the test.
struct CellArrays {
    I64 corners, record;
    I32 group, volume;

    GMDK_Cells view(std::int64_t count, int k) {
        const auto n = static_cast<std::size_t>(count);
        corners.resize(n * static_cast<std::size_t>(k));
        record.resize(n);
        group.resize(n);
        volume.resize(2 * n);
        return {count, corners.data(), group.data(), volume.data(), record.data()};
    }
};

struct MeshArrays {
    std::vector<float> points, radius;
    CellArrays segments, triangles, quads;
    GMDK_Mesh mesh{};

    const float* corner(const CellArrays& cells, int k, std::size_t cell, int c) const {
        return &points[3 * static_cast<std::size_t>(cells.corners[cell * k + c])];
    }
};

// Reads a whole mesh; the status of open, or of fill when open succeeded.
int readMesh(const char* path, int options, MeshArrays& out, GMDK_Report* report = nullptr) {
    GMDK_MeshReader* reader = nullptr;
    GMDK_Mesh counts{};
    int status = gmdk_mesh_open(path, options, &reader, &counts, report);
    if (status != GMDK_STATUS_OK) {
        EXPECT_EQ(reader, nullptr);
        return status;
    }
    out.points.resize(static_cast<std::size_t>(counts.point_count) * 3);
    out.radius.resize(static_cast<std::size_t>(counts.segments.count));
    out.mesh = {counts.point_count, out.points.data(), out.segments.view(counts.segments.count, 2), out.radius.data(),
                out.triangles.view(counts.triangles.count, 3), out.quads.view(counts.quads.count, 4)};
    // Arrays sized from other counts are refused, not overrun.
    out.mesh.triangles.count += 1;
    EXPECT_EQ(gmdk_mesh_fill(reader, &out.mesh), GMDK_STATUS_BAD_ARGUMENT);
    out.mesh.triangles.count -= 1;
    status = gmdk_mesh_fill(reader, &out.mesh);
    gmdk_mesh_close(reader);
    return status;
}

// Five points and a copy of the first with -0.0 for x.
const float kPoints[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, -0.0f, 0, 0};

struct Written {
    I64 segCorners{0, 4, 1, 3}, triCorners{0, 1, 2, 5, 2, 1}, quadCorners{0, 1, 3, 2};
    I32 segGroup{5, -3}, triGroup{1, 2}, quadGroup{-127};
    I32 segVolume{7, 0, 0, 0}, triVolume{3, 4, 0, 0}, quadVolume{0, 0};
    I64 segRecord{1, 4}, triRecord{3, 0}, quadRecord{2};
    std::vector<float> radius{0.25f, 0.5f};

    GMDK_Mesh mesh() {
        return {6,
                const_cast<float*>(kPoints),
                {2, segCorners.data(), segGroup.data(), segVolume.data(), segRecord.data()},
                radius.data(),
                {2, triCorners.data(), triGroup.data(), triVolume.data(), triRecord.data()},
                {1, quadCorners.data(), quadGroup.data(), quadVolume.data(), quadRecord.data()}};
    }
};

TEST(Mesh, RoundTripKeepsCellsAttributesAndRecordOrder) {
    Written w;
    GMDK_Mesh mesh = w.mesh();
    TempFile file;
    GMDK_Report report;
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, &report), GMDK_STATUS_OK);
    EXPECT_EQ(report.frames, 5u);
    // Records 5 and 6, an invalid polygon (5 words) and a sphere, are
    // skipped; then the mesh again, appended.
    file.write(file.bytes() + frame('P', 20) + frame('S', 16));
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 1, nullptr), GMDK_STATUS_OK);

    MeshArrays m;
    ASSERT_EQ(readMesh(file.c_str(), 0, m), GMDK_STATUS_OK);
    ASSERT_EQ(m.mesh.point_count, 4 * 2 + 4 * 3 + 2 * 4);
    // Written in record order: the second triangle (record 0) first.
    EXPECT_EQ(m.triangles.record, (I64{0, 3, 7, 10}));
    EXPECT_EQ(m.segments.record, (I64{1, 4, 8, 11}));
    EXPECT_EQ(m.quads.record, (I64{2, 9}));
    EXPECT_EQ(m.triangles.group, (I32{2, 1, 2, 1}));
    EXPECT_EQ(m.triangles.volume, (I32{0, 0, 3, 4, 0, 0, 3, 4}));
    EXPECT_EQ(m.segments.group, (I32{5, -3, 5, -3}));
    EXPECT_EQ(m.segments.volume, (I32{7, 0, 0, 0, 7, 0, 0, 0}));
    EXPECT_EQ(m.radius, (std::vector<float>{0.25f, 0.5f, 0.25f, 0.5f}));
    EXPECT_EQ(m.quads.group, (I32{-127, -127}));
    // Unmerged: every corner is a new point, in file order, bit for bit
    // (the -0.0 stays -0.0).
    EXPECT_EQ(m.triangles.corners, (I64{0, 1, 2, 9, 10, 11, 14, 15, 16, 23, 24, 25}));
    EXPECT_EQ(m.segments.corners, (I64{3, 4, 12, 13, 17, 18, 26, 27}));
    EXPECT_EQ(m.quads.corners, (I64{5, 6, 7, 8, 19, 20, 21, 22}));
    const std::size_t written[] = {1, 0, 1, 0};  // triangle i as read is triangle written[i]
    for (std::size_t i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(bitsOf(m.corner(m.triangles, 3, i, c)), bitsOf(&kPoints[3 * w.triCorners[written[i] * 3 + c]]));

    // Merged: the five distinct points once each, -0.0 taken as 0.0 and the
    // first occurrence's bits kept.
    MeshArrays merged;
    ASSERT_EQ(readMesh(file.c_str(), GMDK_MERGE_POINTS, merged), GMDK_STATUS_OK);
    ASSERT_EQ(merged.mesh.point_count, 5);
    EXPECT_EQ(merged.points, (std::vector<float>{0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1, 0}));
    EXPECT_TRUE(std::signbit(merged.points[0]));
    EXPECT_EQ(merged.triangles.corners, (I64{0, 1, 2, 0, 2, 1, 0, 1, 2, 0, 2, 1}));
    EXPECT_EQ(merged.segments.corners, (I64{0, 3, 2, 4, 0, 3, 2, 4}));
    EXPECT_EQ(merged.quads.corners, (I64{0, 2, 4, 1, 0, 2, 4, 1}));
}

TEST(Mesh, RefusesABadMeshBeforeTouchingTheFile) {
    TempFile file;
    const Bytes before = frame('S', 16);
    file.write(before);
    void (*const spoil[])(GMDK_Mesh&) = {
        [](GMDK_Mesh& m) { m.triangles.corners[4] = 6; },    // beyond the points
        [](GMDK_Mesh& m) { m.segments.corners[0] = -1; },
        [](GMDK_Mesh& m) { m.quads.group[0] = -128; },       // the group setter refuses it
        [](GMDK_Mesh& m) { m.quads.corners = nullptr; },
    };
    for (auto bad : spoil) {
        Written w;
        GMDK_Mesh mesh = w.mesh();
        bad(mesh);
        GMDK_Report report;
        EXPECT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, &report), GMDK_STATUS_BAD_ARGUMENT);
        EXPECT_NE(report.reason[0], '\0');
        EXPECT_EQ(file.bytes(), before);
    }
}

TEST(Mesh, DamageIsRefusedOrKeptUpToTheStop) {
    Written w;
    GMDK_Mesh mesh = w.mesh();
    TempFile file;
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, nullptr), GMDK_STATUS_OK);
    const Bytes bytes = kittest::cut(file.bytes(), 3);  // the last record, a segment, loses its trailer
    file.write(bytes);

    MeshArrays m;
    GMDK_Report report;
    EXPECT_EQ(readMesh(file.c_str(), 0, m, &report), GMDK_STATUS_DAMAGED);
    EXPECT_EQ(report.last_good_record, 3);
    ASSERT_EQ(readMesh(file.c_str(), GMDK_KEEP_DAMAGED | GMDK_MERGE_POINTS, m, &report), GMDK_STATUS_OK);
    EXPECT_EQ(report.stop, GMDK_STOP_TRUNCATED);
    EXPECT_EQ(report.stop_offset, bytes.size() - (12 + 4 * 7 - 3));
    EXPECT_EQ(m.mesh.segments.count, 1);
    EXPECT_EQ(m.mesh.triangles.count, 2);
    EXPECT_EQ(m.mesh.quads.count, 1);

    // A file changed between the passes is not read past the arrays.
    GMDK_MeshReader* reader = nullptr;
    GMDK_Mesh counts{};
    ASSERT_EQ(gmdk_mesh_open(file.c_str(), GMDK_KEEP_DAMAGED, &reader, &counts, nullptr), GMDK_STATUS_OK);
    GMDK_Mesh triangles = mesh;
    triangles.segments.count = triangles.quads.count = 0;
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &triangles, 0, nullptr), GMDK_STATUS_OK);
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &triangles, 1, nullptr), GMDK_STATUS_OK);
    m.points.assign(3 * static_cast<std::size_t>(counts.point_count), 0.0f);
    counts = {counts.point_count, m.points.data(), m.segments.view(counts.segments.count, 2), nullptr,
              m.triangles.view(counts.triangles.count, 3), m.quads.view(counts.quads.count, 4)};
    EXPECT_EQ(gmdk_mesh_fill(reader, &counts), GMDK_STATUS_READ_FAILED);
    gmdk_mesh_close(reader);

    // A foreign file has nothing before its damage to keep.
    const std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    file.write(Bytes(text.begin(), text.end()));
    EXPECT_EQ(readMesh(file.c_str(), GMDK_KEEP_DAMAGED, m, &report), GMDK_STATUS_NOT_GMD);
    EXPECT_EQ(readMesh(".", 0, m, &report), GMDK_STATUS_OPEN_FAILED);
}

}  // namespace
