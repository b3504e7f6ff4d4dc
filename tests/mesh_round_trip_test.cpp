// A mesh of a few thousand mixed elements (segments, polygons, wedges) written through the setters and
// read back: every record's type, group byte and every value must return.
#include <random>
#include <utility>

#include "test_support.h"

using namespace gmdtest;

namespace {

enum class Shape { Segment, Triangle, Quad, Wedge };
enum class Adjacency { None, Wedge, Edge };

struct Element {
    Shape shape = Shape::Segment;
    std::int8_t group = 0;
    std::vector<float> coords;  // vertices or wedge geometry
    bool radius = false, volume = false;
    bool volumes = false, orientation = false, thickness = false;
    Adjacency adjacency = Adjacency::None;
    float radiusValue = 0;
    std::int32_t ints[2] = {0, 0};  // segment volume, polygon volumes, adjacent polygons
    float orientationValue[3] = {0, 0, 0};
    std::vector<float> thicknessValues;
};

std::size_t coordCount(Shape shape) {
    switch (shape) {
        case Shape::Segment: return 6;
        case Shape::Triangle: return 9;
        case Shape::Quad:
        case Shape::Wedge: return 12;
    }
    return 0;
}

Element randomElement(std::mt19937& rng) {
    std::uniform_real_distribution<float> real(-1e3f, 1e3f);
    std::uniform_int_distribution<std::int32_t> integer(-100000, 100000);
    std::uniform_int_distribution<int> pick(0, 99);
    auto chance = [&](int percent) { return pick(rng) < percent; };

    Element e;
    const int s = pick(rng);
    e.shape = s < 25 ? Shape::Segment : s < 50 ? Shape::Triangle : s < 75 ? Shape::Quad : Shape::Wedge;
    e.group = static_cast<std::int8_t>(pick(rng) - 50);
    for (std::size_t i = 0; i < coordCount(e.shape); ++i) e.coords.push_back(real(rng));
    for (auto& v : e.ints) v = integer(rng);
    for (auto& v : e.orientationValue) v = real(rng);
    switch (e.shape) {
        case Shape::Segment:
            e.radius = chance(60);
            e.volume = chance(40);
            e.radiusValue = real(rng);
            break;
        case Shape::Triangle:
        case Shape::Quad:
            e.volumes = chance(25);
            if (!e.volumes) {
                e.orientation = chance(50);
                e.thickness = chance(50);
                const int n = pick(rng) % 5;
                for (int i = 0; i < n; ++i) e.thicknessValues.push_back(real(rng));
            }
            break;
        case Shape::Wedge:
            e.adjacency = static_cast<Adjacency>(pick(rng) % 3);
            break;
    }
    return e;
}

void write(GMD_File* h, const Element& e) {
    const float* c = e.coords.data();
    switch (e.shape) {
        case Shape::Segment:
            ASSERT_EQ(GMD_SetSegment(h, c), 1);
            ASSERT_EQ(e.volume ? GMD_SetSegmentVolume(h, e.ints[0]) : 1, 1);
            ASSERT_EQ(e.radius ? GMD_SetSegmentRadius(h, e.radiusValue) : 1, 1);
            break;
        case Shape::Triangle:
        case Shape::Quad: {
            const auto n = static_cast<std::int32_t>(e.thicknessValues.size());
            ASSERT_EQ(e.shape == Shape::Quad ? GMD_SetQuad(h, c) : GMD_SetTriangle(h, c), 1);
            ASSERT_EQ(e.volumes ? GMD_SetPolygonVolumes(h, e.ints[0], e.ints[1]) : 1, 1);
            ASSERT_EQ(e.thickness ? GMD_SetPolygonThickness(h, n, e.thicknessValues.data()) : 1, 1);
            ASSERT_EQ(e.orientation ? GMD_SetPolygonFSSorientation(h, e.orientationValue) : 1, 1);
            break;
        }
        case Shape::Wedge:
            // Adjacency first on some, so both orders are exercised.
            ASSERT_EQ(e.adjacency == Adjacency::Edge ? GMD_SetEdgeAdjacentPolygon(h, e.ints[0]) : 1, 1);
            ASSERT_EQ(GMD_SetWedge(h, c), 1);
            ASSERT_EQ(e.adjacency == Adjacency::Wedge ? GMD_SetWedgeRightAdjacentPolygon(h, e.ints[1]) : 1, 1);
            ASSERT_EQ(e.adjacency == Adjacency::Wedge ? GMD_SetWedgeLeftAdjacentPolygon(h, e.ints[0]) : 1, 1);
            break;
    }
    ASSERT_EQ(GMD_SetGroup(h, e.group), 1);
    ASSERT_EQ(GMD_WriteRecord(h), 1);
}

// The record type code the element must read back with.
int expectedType(const Element& e) {
    const bool attributed = e.orientation || e.thickness;
    switch (e.shape) {
        case Shape::Segment: return e.volume ? 'l' : 'L';
        case Shape::Triangle: return e.volumes ? 1 : attributed ? 5 : 3;
        case Shape::Quad: return e.volumes ? 2 : attributed ? 6 : 4;
        case Shape::Wedge: return e.adjacency == Adjacency::None ? 'W' : e.adjacency == Adjacency::Wedge ? 'w' : 'e';
    }
    return -1;
}

// Getters that refuse leave their outputs alone, so every output starts at
// the value a refusing getter must leave and is compared whatever the answer.
void check(GMD_File* h, const Element& e) {
    ASSERT_EQ(GMD_GetRecordType(h), expectedType(e));
    int32_t group = 0;
    GMD_GetGroup(h, &group);
    EXPECT_EQ(group, e.group);

    std::vector<float> coords(12, 0), t(8, 0);
    float f = 0, o[3] = {};
    int32_t a = 0, b = 0, n = 0;
    const std::vector<float> none(3, 0.0f);
    switch (e.shape) {
        case Shape::Segment:
            EXPECT_EQ(GMD_GetSegment(h, coords.data()), 1);
            EXPECT_EQ(GMD_GetSegmentRadius(h, &f), e.radius || e.volume ? 1 : 0);
            EXPECT_EQ(f, e.radius ? e.radiusValue : 0.0f);
            EXPECT_EQ(GMD_GetSegmentVolume(h, &a), e.volume ? 1 : 0);
            EXPECT_EQ(a, e.volume ? e.ints[0] : 0);
            break;
        case Shape::Triangle:
        case Shape::Quad:
            EXPECT_EQ(e.shape == Shape::Quad ? GMD_GetQuad(h, coords.data()) : GMD_GetTriangle(h, coords.data()), 1);
            EXPECT_EQ(GMD_GetPolygonVolumes(h, &a, &b), e.volumes ? 1 : 0);
            EXPECT_EQ(std::make_pair(a, b), e.volumes ? std::make_pair(e.ints[0], e.ints[1]) : std::make_pair(0, 0));
            EXPECT_EQ(GMD_GetPolygonFSSorientation(h, o), e.orientation ? 1 : 0);
            EXPECT_EQ(std::vector<float>(o, o + 3), e.orientation ? std::vector<float>(e.orientationValue, e.orientationValue + 3) : none);
            EXPECT_EQ(GMD_GetPolygonNumThickness(h, &n), e.thickness ? 1 : 0);
            EXPECT_EQ(GMD_GetPolygonThickness(h, t.data()), e.thickness ? 1 : 0);
            ASSERT_EQ(n, e.thickness ? static_cast<int32_t>(e.thicknessValues.size()) : 0);
            EXPECT_EQ(std::vector<float>(t.begin(), t.begin() + n), e.thickness ? e.thicknessValues : std::vector<float>());
            break;
        case Shape::Wedge:
            EXPECT_EQ(GMD_GetWedge(h, coords.data()), 1);
            EXPECT_EQ(GMD_GetEWLeftAdjacentPolygon(h, &a), e.adjacency == Adjacency::None ? 0 : 1);
            EXPECT_EQ(GMD_GetEWRightAdjacentPolygon(h, &b), e.adjacency == Adjacency::None ? 0 : 1);
            EXPECT_EQ(a, e.adjacency == Adjacency::None ? 0 : e.ints[0]);
            EXPECT_EQ(b, e.adjacency == Adjacency::Wedge ? e.ints[1] : e.adjacency == Adjacency::Edge ? e.ints[0] : 0);
            break;
    }
    coords.resize(e.coords.size());
    EXPECT_EQ(coords, e.coords);
}

TEST(MeshRoundTrip, MixedElementsReadBackValueForValue) {
    std::mt19937 rng(20261206);
    std::vector<Element> elements;
    for (int i = 0; i < 4000; ++i) elements.push_back(randomElement(rng));

    TempFile file;
    writtenBytes(file, [&](GMD_File* h) { for (const auto& e : elements) write(h, e); });
    Handle in(GMD_OpenReadFile(file.c_str()));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "element " << i);
        ASSERT_EQ(GMD_GetRecord(in), 1);
        check(in, elements[i]);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_EQ(GMD_GetRecord(in), 0);
}

}  // namespace
