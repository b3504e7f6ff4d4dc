// Tessellation and NURBS evaluation: every generated point must lie on the
// surface the record describes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "convert/tessellate.h"
#include "model/record.h"

namespace gmdk {
namespace {

Mesh tessellate(const std::vector<Record>& records, int resolution) {
    Mesh mesh;
    for (const Record& r : records) gmdk::tessellate(r, resolution, mesh);
    return mesh;
}

Field numbers(const std::string& name, std::vector<float> values) {
    const bool scalar = values.size() == 1;
    return floatField(name, std::move(values), scalar);
}

Field integers(const std::string& name, std::vector<std::int32_t> values) {
    const bool scalar = values.size() == 1;
    return intField(name, std::move(values), scalar);
}

Record record(char letter, std::vector<Field> fields) {
    Record r;
    r.frame.letter = static_cast<std::uint8_t>(letter);
    r.code = letter;
    r.hasFields = true;
    r.fields = std::move(fields);
    return r;
}

// Quarter cylinder of radius 2 about z: quadratic along U, linear along V.
Record quarterCylinder(std::vector<std::int32_t> dims = {}, std::vector<float> boundary = {}) {
    const float w = static_cast<float>(std::sqrt(0.5));
    return record('N', {integers("holeOrigin", {0}), numbers("uKnots", {0, 0, 0, 1, 1, 1}), numbers("vKnots", {0, 0, 1, 1}),
                        integers("numUcontrolPoints", {3}), integers("numVcontrolPoints", {2}),
                        numbers("controlPoints", {2, 0, 0, 2, 0, 1, 2, 2, 0, 2, 2, 1, 0, 2, 0, 0, 2, 1}),
                        numbers("weights", {1, 1, w, w, 1, 1}), integers("boundaryDimensions", std::move(dims)),
                        numbers("boundaryPoints", std::move(boundary))});
}

TEST(Nurbs, RationalQuarterCircleStaysOnItsRadius) {
    NurbsSurface s;
    std::string reason;
    ASSERT_TRUE(nurbsFromRecord(quarterCylinder(), s, reason)) << reason;
    EXPECT_EQ(s.degreeU, 2);
    EXPECT_EQ(s.degreeV, 1);
    for (double u : {0.0, 0.1, 0.25, 0.5, 0.8, 1.0})
        for (double v : {0.0, 0.3, 1.0}) {
            const Vec3 p = evaluate(s, u, v);
            EXPECT_NEAR(std::hypot(p.x, p.y), 2.0, 1e-6) << "u=" << u << " v=" << v;
            EXPECT_NEAR(p.z, v, 1e-9);
            EXPECT_GE(p.x, -1e-9);
            EXPECT_GE(p.y, -1e-9);
        }
    // The clamped ends interpolate the corner control points.
    const Vec3 start = evaluate(s, 0, 0), end = evaluate(s, 1, 1);
    EXPECT_NEAR(start.x, 2, 1e-12);
    EXPECT_NEAR(start.y, 0, 1e-12);
    EXPECT_NEAR(end.x, 0, 1e-12);
    EXPECT_NEAR(end.y, 2, 1e-12);
    EXPECT_NEAR(end.z, 1, 1e-12);
    // Symmetric weights put the middle of the arc at 45 degrees.
    const Vec3 mid = evaluate(s, 0.5, 0);
    EXPECT_NEAR(mid.x, mid.y, 1e-9);
}

TEST(Nurbs, InteriorKnotsAndParametersOutsideTheDomain) {
    // Degree 1 along U with an interior knot: a polyline through the control rows.
    Record r = record('N', {integers("holeOrigin", {0}), numbers("uKnots", {0, 0, 0.5f, 1, 1}), numbers("vKnots", {0, 0, 1, 1}),
                            integers("numUcontrolPoints", {3}), integers("numVcontrolPoints", {2}),
                            numbers("controlPoints", {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0, 1, 0, 3, 1, 1, 3}),
                            numbers("weights", {1, 1, 1, 1, 1, 1}), integers("boundaryDimensions", {}),
                            numbers("boundaryPoints", {})});
    NurbsSurface s;
    std::string reason;
    ASSERT_TRUE(nurbsFromRecord(r, s, reason)) << reason;
    struct Case { double u, v, x, y, z; };
    for (const Case& c : {Case{0.25, 0, 0.5, 0, 0}, Case{0.5, 1, 1, 1, 0}, Case{0.75, 0.5, 1, 0.5, 1.5},
                          Case{-3, 0, 0, 0, 0}, Case{7, 2, 1, 1, 3}}) {
        const Vec3 p = evaluate(s, c.u, c.v);
        EXPECT_NEAR(p.x, c.x, 1e-12) << c.u << "," << c.v;
        EXPECT_NEAR(p.y, c.y, 1e-12) << c.u << "," << c.v;
        EXPECT_NEAR(p.z, c.z, 1e-12) << c.u << "," << c.v;
    }
}

TEST(Nurbs, CountsThatGiveNoSurfaceAreRefused) {
    struct Case { std::vector<float> u; std::int32_t rows; };
    for (const Case& c : {Case{{0, 1}, 3}, Case{{0, 0, 0, 0, 0, 0}, 3}, Case{{0, 0, 1, 0.5f, 1, 1}, 3}}) {
        Record r = quarterCylinder();
        for (Field& f : r.fields) {
            if (f.name == "uKnots") f.floats = c.u;
            if (f.name == "numUcontrolPoints") f.ints = {c.rows};
        }
        NurbsSurface s;
        std::string reason;
        EXPECT_FALSE(nurbsFromRecord(r, s, reason));
        EXPECT_FALSE(reason.empty());
    }
}

TEST(Tessellation, SolidPointsLieOnTheirSurfaces) {
    struct Case {
        const char* what;
        Record r;
        std::function<bool(Vec3)> onSurface;
    };
    auto near = [](double a, double b) { return std::fabs(a - b) < 1e-5; };
    std::vector<Case> cases;
    cases.push_back({"sphere", record('S', {numbers("center", {1, 2, 3}), numbers("radius", {2})}),
                     [&](Vec3 p) { return near(length(p - Vec3{1, 2, 3}), 2); }});
    cases.push_back({"disk", record('D', {numbers("center", {0, 0, 1}), numbers("normal", {0, 0, 5}), numbers("radius", {3})}),
                     [&](Vec3 p) { return near(p.z, 1) && std::hypot(p.x, p.y) < 3 + 1e-5; }});
    cases.push_back({"cylinder", record('C', {numbers("lowerCenter", {0, 0, 0}), numbers("upperCenter", {0, 4, 0}), numbers("radius", {1})}),
                     [&](Vec3 p) {
                         const double r = std::hypot(p.x, p.z);
                         return (near(r, 1) || ((near(p.y, 0) || near(p.y, 4)) && r < 1 + 1e-5)) && p.y > -1e-5 && p.y < 4 + 1e-5;
                     }});
    Record cone = record('F', {numbers("lowerCenter", {0, 0, 0}), numbers("xDirection", {1, 0, 0}),
                               numbers("lowerXsemiAxis", {2}), numbers("lowerYsemiAxis", {1}), numbers("upperXsemiAxis", {1}),
                               numbers("upperYsemiAxis", {0.5f}), numbers("upperCenter", {0, 0, 2})});
    cases.push_back({"cone", cone, [&](Vec3 p) {
                         // The ellipse shrinks linearly from (2, 1) at z = 0 to (1, 0.5) at z = 2.
                         const double a = 2 - p.z / 2, b = 1 - p.z / 4;
                         const double e = p.x * p.x / (a * a) + p.y * p.y / (b * b);
                         return near(e, 1) || ((near(p.z, 0) || near(p.z, 2)) && e < 1 + 1e-5);
                     }});
    for (const Case& c : cases) {
        const Mesh mesh = tessellate({c.r}, 12);
        ASSERT_FALSE(mesh.cells.empty()) << c.what;
        for (const Vec3& p : mesh.points) EXPECT_TRUE(c.onSurface(p)) << c.what << " point " << p.x << "," << p.y << "," << p.z;
        for (const Cell& cell : mesh.cells)
            for (std::uint32_t id : cell.ids) ASSERT_LT(id, mesh.points.size()) << c.what;
    }
}

TEST(Tessellation, CellsCarryTheirRecordsTags) {
    Record quad = record('p', {numbers("vertices", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}), integers("volumes", {3, 4})});
    quad.code = 2;
    quad.index = 7;
    quad.frame.group = -5;
    Record attributed = record('A', {numbers("vertices", {0, 0, 0, 1, 0, 0, 0, 1, 0}), numbers("thickness", {0.25f, 0.5f})});
    attributed.code = 5;
    Record invalid = record('S', {});
    invalid.code = 0;
    invalid.hasFields = false;
    const Mesh mesh = tessellate({quad, attributed, invalid}, 8);
    ASSERT_EQ(mesh.cells.size(), 2u);
    EXPECT_EQ(mesh.cells[0].type, CellQuad);
    EXPECT_EQ(mesh.cells[0].record, 7u);
    EXPECT_EQ(mesh.cells[0].group, -5);
    EXPECT_EQ(mesh.cells[0].volume1, 3);
    EXPECT_EQ(mesh.cells[0].volume2, 4);
    EXPECT_EQ(mesh.cells[1].type, CellTriangle);
    EXPECT_FLOAT_EQ(mesh.cells[1].thickness, 0.75f);
}

TEST(Tessellation, BoundaryCurvesFollowTheSurface) {
    const Mesh mesh = tessellate({quarterCylinder({3}, {0, 0, 0.5f, 0.5f, 1, 1})}, 6);
    std::size_t lines = 0;
    for (const Cell& c : mesh.cells) lines += c.type == CellLine;
    EXPECT_EQ(lines, 2u);
    for (const Vec3& p : mesh.points) EXPECT_NEAR(std::hypot(p.x, p.y), 2.0, 1e-6);
}

}  // namespace
}  // namespace gmdk
