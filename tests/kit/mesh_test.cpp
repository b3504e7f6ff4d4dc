// Whole meshes through gmdk_mesh_write and gmdk_mesh_open/fill: cells,
// groups, volumes, radii and record indices survive the trip, points merge
// when asked, and damage is told from the end.
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "gmdkit.h"
#include "kit_support.h"

namespace {

using kittest::Bytes;
using kittest::frame;
using kittest::TempFile;
using kittest::operator+;

// Arrays of one kind of cell, owned by the test.
struct CellArrays {
    std::vector<std::int64_t> corners;
    std::vector<std::int32_t> group, volume;
    std::vector<std::int64_t> record;

    GMDK_Cells view(std::int64_t count, int k) {
        corners.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(k));
        group.resize(static_cast<std::size_t>(count));
        volume.resize(static_cast<std::size_t>(count) * 2);
        record.resize(static_cast<std::size_t>(count));
        return {count, corners.data(), group.data(), volume.data(), record.data()};
    }
};

struct MeshArrays {
    std::vector<float> points, radius;
    CellArrays segments, triangles, quads;
    GMDK_Mesh mesh{};
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
    status = gmdk_mesh_fill(reader, &out.mesh);
    gmdk_mesh_close(reader);
    return status;
}

// Five points and a copy of the first with -0.0 for x.
const float kPoints[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, -0.0f, 0, 0};

struct Written {
    std::vector<std::int64_t> segCorners{0, 4, 1, 3}, triCorners{0, 1, 2, 5, 2, 1}, quadCorners{0, 1, 3, 2};
    std::vector<std::int32_t> segGroup{5, -3}, triGroup{1, 2}, quadGroup{-127};
    std::vector<std::int32_t> segVolume{7, 0, 0, 0}, triVolume{3, 4, 0, 0}, quadVolume{0, 0};
    std::vector<std::int64_t> segRecord{1, 4}, triRecord{3, 0}, quadRecord{2};
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

// The coordinates of corner c of cell i, as read.
const float* corner(const MeshArrays& m, const CellArrays& cells, int k, std::size_t i, int c) {
    return &m.points[static_cast<std::size_t>(cells.corners[i * k + c]) * 3];
}

TEST(Mesh, RoundTripKeepsCellsAttributesAndRecordOrder) {
    Written w;
    GMDK_Mesh mesh = w.mesh();
    TempFile file;
    GMDK_Report report;
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, &report), GMDK_STATUS_OK);
    EXPECT_EQ(report.frames, 5u);
    // Records 5 and 6: an invalid polygon (5 words) and a sphere, both
    // skipped; then the mesh again, appended.
    file.append(frame('P', 20) + frame('S', 16));
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 1, nullptr), GMDK_STATUS_OK);

    MeshArrays m;
    ASSERT_EQ(readMesh(file.c_str(), 0, m), GMDK_STATUS_OK);
    ASSERT_EQ(m.mesh.segments.count, 4);
    ASSERT_EQ(m.mesh.triangles.count, 4);
    ASSERT_EQ(m.mesh.quads.count, 2);
    ASSERT_EQ(m.mesh.point_count, 4 * 2 + 4 * 3 + 2 * 4);

    // Written in record order: triangle 1 (record 0) first.
    EXPECT_EQ(m.triangles.record, (std::vector<std::int64_t>{0, 3, 7, 10}));
    EXPECT_EQ(m.segments.record, (std::vector<std::int64_t>{1, 4, 8, 11}));
    EXPECT_EQ(m.quads.record, (std::vector<std::int64_t>{2, 9}));
    EXPECT_EQ(m.triangles.group, (std::vector<std::int32_t>{2, 1, 2, 1}));
    EXPECT_EQ(m.triangles.volume, (std::vector<std::int32_t>{0, 0, 3, 4, 0, 0, 3, 4}));
    EXPECT_EQ(m.segments.group, (std::vector<std::int32_t>{5, -3, 5, -3}));
    EXPECT_EQ(m.segments.volume, (std::vector<std::int32_t>{7, 0, 0, 0, 7, 0, 0, 0}));
    EXPECT_EQ(m.radius, (std::vector<float>{0.25f, 0.5f, 0.25f, 0.5f}));
    EXPECT_EQ(m.quads.group, (std::vector<std::int32_t>{-127, -127}));
    EXPECT_EQ(m.quads.volume, (std::vector<std::int32_t>{0, 0, 0, 0}));

    // Unmerged: every corner is a new point, in file order, bit for bit
    // (the -0.0 stays -0.0).
    EXPECT_EQ(m.triangles.corners, (std::vector<std::int64_t>{0, 1, 2, 9, 10, 11, 14, 15, 16, 23, 24, 25}));
    EXPECT_EQ(m.segments.corners, (std::vector<std::int64_t>{3, 4, 12, 13, 17, 18, 26, 27}));
    EXPECT_EQ(m.quads.corners, (std::vector<std::int64_t>{5, 6, 7, 8, 19, 20, 21, 22}));
    const std::size_t written[] = {1, 0, 1, 0};  // triangle i as read is triangle written[i]
    for (std::size_t i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(std::memcmp(corner(m, m.triangles, 3, i, c), &kPoints[3 * w.triCorners[written[i] * 3 + c]], 12),
                      0);
    for (std::size_t i = 0; i < 4; ++i)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(std::memcmp(corner(m, m.segments, 2, i, c), &kPoints[3 * w.segCorners[(i % 2) * 2 + c]], 12), 0);

    // Merged: the five distinct points once each, -0.0 taken as 0.0.
    MeshArrays merged;
    ASSERT_EQ(readMesh(file.c_str(), GMDK_MERGE_POINTS, merged), GMDK_STATUS_OK);
    ASSERT_EQ(merged.mesh.point_count, 5);
    std::set<std::int64_t> used;
    for (const CellArrays* cells : {&merged.segments, &merged.triangles, &merged.quads})
        used.insert(cells->corners.begin(), cells->corners.end());
    EXPECT_EQ(used.size(), 5u);
    // The first occurrence of the origin is the -0.0 copy: its bits are kept.
    EXPECT_EQ(merged.triangles.corners[0], merged.triangles.corners[3]);
    EXPECT_TRUE(std::signbit(merged.points[3 * static_cast<std::size_t>(merged.triangles.corners[0])]));
    for (std::size_t i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_EQ(corner(merged, merged.triangles, 3, i, c)[axis],
                          kPoints[3 * w.triCorners[written[i] * 3 + c] + axis]);
    EXPECT_EQ(merged.quads.corners, (std::vector<std::int64_t>{0, 2, 4, 1, 0, 2, 4, 1}));
    EXPECT_EQ(merged.segments.record, m.segments.record);
}

TEST(Mesh, RefusesABadMeshBeforeTouchingTheFile) {
    TempFile file;
    const Bytes before = frame('S', 16);
    file.write(before);
    const struct {
        const char* name;
        void (*spoil)(Written&);
    } cases[] = {
        {"corner beyond the points", [](Written& w) { w.triCorners[4] = 6; }},
        {"negative corner", [](Written& w) { w.segCorners[0] = -1; }},
        {"group the group byte refuses", [](Written& w) { w.quadGroup[0] = -128; }},
        {"group 200", [](Written& w) { w.triGroup[1] = 200; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Written w;
        c.spoil(w);
        GMDK_Mesh mesh = w.mesh();
        GMDK_Report report;
        EXPECT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, &report), GMDK_STATUS_BAD_ARGUMENT);
        EXPECT_NE(report.reason[0], '\0');
        EXPECT_EQ(file.bytes(), before);
    }
    Written w;
    GMDK_Mesh noCorners = w.mesh();
    noCorners.quads.corners = nullptr;
    EXPECT_EQ(gmdk_mesh_write(file.c_str(), &noCorners, 0, nullptr), GMDK_STATUS_BAD_ARGUMENT);
    EXPECT_EQ(file.bytes(), before);
}

TEST(Mesh, DamageIsRefusedOrKeptUpToTheStop) {
    Written w;
    GMDK_Mesh mesh = w.mesh();
    TempFile file;
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, nullptr), GMDK_STATUS_OK);
    Bytes bytes = file.bytes();
    bytes.resize(bytes.size() - 3);  // the last record, segment 2, loses its trailer
    file.write(bytes);

    MeshArrays m;
    GMDK_Report report;
    EXPECT_EQ(readMesh(file.c_str(), 0, m, &report), GMDK_STATUS_DAMAGED);
    EXPECT_EQ(report.stop, GMDK_STOP_TRUNCATED);
    EXPECT_EQ(report.last_good_record, 3);

    ASSERT_EQ(readMesh(file.c_str(), GMDK_KEEP_DAMAGED | GMDK_MERGE_POINTS, m, &report), GMDK_STATUS_OK);
    EXPECT_EQ(report.stop, GMDK_STOP_TRUNCATED);
    EXPECT_EQ(report.stop_offset, bytes.size() - (12 + 4 * 7 - 3));
    EXPECT_EQ(m.mesh.segments.count, 1);
    EXPECT_EQ(m.mesh.triangles.count, 2);
    EXPECT_EQ(m.mesh.quads.count, 1);

    // A foreign file has nothing before its damage to keep.
    const std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    file.write(Bytes(text.begin(), text.end()));
    EXPECT_EQ(readMesh(file.c_str(), GMDK_KEEP_DAMAGED, m, &report), GMDK_STATUS_NOT_GMD);
    EXPECT_EQ(readMesh(".", 0, m, &report), GMDK_STATUS_OPEN_FAILED);
}

TEST(Mesh, FillWantsTheCountsItWasOpenedWith) {
    Written w;
    GMDK_Mesh mesh = w.mesh();
    TempFile file;
    ASSERT_EQ(gmdk_mesh_write(file.c_str(), &mesh, 0, nullptr), GMDK_STATUS_OK);
    GMDK_MeshReader* reader = nullptr;
    GMDK_Mesh counts{};
    ASSERT_EQ(gmdk_mesh_open(file.c_str(), 0, &reader, &counts, nullptr), GMDK_STATUS_OK);
    std::vector<std::int64_t> corners(static_cast<std::size_t>(counts.triangles.count) * 3);
    GMDK_Mesh smaller{};
    smaller.point_count = counts.point_count;
    smaller.triangles = {counts.triangles.count - 1, corners.data(), nullptr, nullptr, nullptr};
    EXPECT_EQ(gmdk_mesh_fill(reader, &smaller), GMDK_STATUS_BAD_ARGUMENT);
    gmdk_mesh_close(reader);
}

}  // namespace
