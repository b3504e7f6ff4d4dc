// NURBS surfaces (their accessors, exact encodings and the checks that make a
// damaged 'N' record invalid), hinges, junctions and name records.
#include <cstring>

#include "test_support.h"

using namespace gmdtest;

namespace {

// A surface with values that a careless copy would alter: -0.0, a subnormal
// and NaNs with payloads.
struct Surface {
    std::vector<int32_t> sizes{5, 4, 2, 3, 2, 5, -3}, dimensions{2, 3};
    std::vector<float> uKnots{0, 0, 0.5f, 1, 1}, vKnots{-0.0f, 0.25f, 0.75f, 1};
    std::vector<float> points{0.1f, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -12, 13, 14, 15, 16, 17};
    std::vector<float> weights{1, 0.5f, bitCast<float>(0x7FC12345u), 1e-45f, 2, 3};
    std::vector<float> boundary{0, 0.125f, 1, 2, 3, 4, 5, 6, -0.0f, bitCast<float>(0x7FC00001u)};

    GMD_NurbsData data() {
        return {uKnots.data(), vKnots.data(), points.data(), weights.data(), dimensions.data(), boundary.data()};
    }
    void buildInBulk(GMD_File* h) {
        GMD_NurbsData d = data();
        ASSERT_TRUE(GMD_SetNurbsSizes(h, sizes.data()) && GMD_SetNurbsData(h, &d));
    }
    // Counts in a scrambled order, then each element through its own setter.
    void buildPieceByPiece(GMD_File* h) {
        using Set = int32_t (*)(GMD_File*, int32_t);
        for (auto [set, s] : {std::pair<Set, int>{GMD_SetNurbsNumVcontrolPoints, 3}, {GMD_SetNurbsNumBounds, 4},
                              {GMD_SetNurbsNumUknots, 0}, {GMD_SetNurbsNumUcontrolPoints, 2},
                              {GMD_SetNurbsNumPoints, 5}, {GMD_SetNurbsNumVknots, 1}, {GMD_SetNurbsHoleOrigin, 6}})
            ASSERT_EQ(set(h, sizes[std::size_t(s)]), 1);
        ASSERT_TRUE(GMD_SetNurbsVKnots(h, vKnots.data()) && GMD_SetNurbsVKnot(h, 0, vKnots[0]));
        for (int cell = 0; cell < 6; ++cell)
            ASSERT_TRUE(GMD_SetNurbsControlPoint(h, cell / 3, cell % 3, &points[3 * cell]) &&
                        GMD_SetNurbsWeight(h, cell / 3, cell % 3, weights[cell]));
        ASSERT_TRUE(GMD_SetNurbsUKnots(h, uKnots.data()) && GMD_SetNurbsUKnot(h, 2, uKnots[2]) &&
                    GMD_SetNurbsBoundaryDimension(h, 0, 2) && GMD_SetNurbsBoundaryDimension(h, 1, 3) &&
                    GMD_SetNurbsAllBoundaryPoints(h, boundary.data()));
    }
    // The record: W, the counts, the knots, x, y, z and weight of each control
    // point row after row, the dimensions and the boundary values.
    Words record() {
        Words grid;
        for (int p = 0; p < 6; ++p)
            grid = join({grid, floats({points[3 * p], points[3 * p + 1], points[3 * p + 2], weights[p]})});
        return join({floats({51, 5, 4, 2, 3, 2, -3}), floats(uKnots), floats(vKnots), grid, floats({2, 3}), floats(boundary)});
    }
    void expectIn(GMD_File* h) {
        std::vector<float> u(5), v(4), p(18), w(6), b(10);
        std::vector<int32_t> d(2);
        GMD_NurbsData out{u.data(), v.data(), p.data(), w.data(), d.data(), b.data()};
        ASSERT_EQ(GMD_GetNurbsData(h, &out), 1);
        EXPECT_EQ(join({floats(u), floats(v), floats(p), floats(w), ints(d), floats(b)}),
                  join({floats(uKnots), floats(vKnots), floats(points), floats(weights), ints(dimensions), floats(boundary)}));
        expectReads(h, {{G(GMD_GetNurbsSizes, 7), ints(sizes)}, {G(GMD_GetNurbsNumUknots, 1), ints({5})},
                        {G(GMD_GetNurbsNumVknots, 1), ints({4})}, {G(GMD_GetNurbsNumUcontrolPoints, 1), ints({2})},
                        {G(GMD_GetNurbsNumVcontrolPoints, 1), ints({3})}, {G(GMD_GetNurbsNumBounds, 1), ints({2})},
                        {G(GMD_GetNurbsHoleOrigin, 1), ints({-3})}, {G(GMD_GetNurbsUKnots, 5), floats(uKnots)},
                        {G(GMD_GetNurbsVKnots, 4), floats(vKnots)}, {G(GMD_GetNurbsBoundaryDimensions, 2), ints(dimensions)},
                        {GMD_GET(float, 3, GMD_GetNurbsControlPoint(h, 1, 2, out)), floats({15, 16, 17})},
                        {GMD_GET(float, 1, GMD_GetNurbsWeight(h, 0, 2, out)), floats({weights[2]})},
                        {GMD_GET(float, 1, GMD_GetNurbsUKnot(h, 2, out)), floats({0.5f})},
                        {GMD_GET(float, 1, GMD_GetNurbsVKnot(h, 0, out)), floats({-0.0f})},
                        {GMD_GET(int32_t, 1, GMD_GetNurbsBoundaryDimension(h, 1, out)), ints({3})}});
    }
};

}  // namespace

// Refused calls leave the surface as it was. Data without control points
// discards every control point.
TEST(Nurbs, BulkAndPieceByPieceRoundTripExactlyAndRefusalsChangeNothing) {
    Scratch none;
    Surface s;
    const int32_t negative[7] = {1, 1, -1, -1, 1, 0, 0};  // a grid of -1 x -1 would hold one cell
    EXPECT_EQ(GMD_SetNurbsSizes(none, negative) + GMD_SetNurbsUKnot(none, 0, 1.0f), 0);  // element setters need a surface
    GMD_SetTolerance(none, 1.0f);
    EXPECT_EQ(GMD_SetNurbsNumUknots(none, 1) + GMD_SetNurbsHoleOrigin(none, 1) + GMD_SetNurbsSizes(none, s.sizes.data()), 0);
    for (auto build : {&Surface::buildInBulk, &Surface::buildPieceByPiece}) {
        const Bytes bytes = frameOf([&](GMD_File* h) {
            (s.*build)(h);
            EXPECT_EQ(GMD_SetNurbsSizes(h, s.sizes.data()) + GMD_SetNurbsUKnot(h, 5, 9.0f) + GMD_SetNurbsVKnot(h, -1, 9.0f) +
                          GMD_SetNurbsBoundaryDimension(h, 2, 9) + GMD_SetNurbsControlPoint(h, 2, 0, s.points.data()) +
                          GMD_SetNurbsWeight(h, 0, 3, 1) + GMD_SetNurbsWeight(h, -1, 0, 1) + GMD_SetNurbsNumUknots(h, -1),
                      0);
        });
        EXPECT_EQ(bytes, frame('N', s.record()));
        ReadFile in(bytes, 1);
        s.expectIn(in);
        GMD_NurbsData d{s.uKnots.data(), s.vKnots.data(), nullptr, s.weights.data(), s.dimensions.data(), s.boundary.data()};
        ASSERT_EQ(GMD_SetNurbsData(in, &d), 1);
        expectReads(in, {{GMD_GET(float, 3, GMD_GetNurbsControlPoint(h, 1, 2, out)), zeros(3)}});
    }
    EXPECT_EQ(frameOf([](GMD_File* h) { GMD_SetNurbsHoleOrigin(h, 5); }), frame('N', floats({6, 0, 0, 0, 0, 0, 5})));
}

// Boundary k starts at value s(k), the plain sum of the earlier dimensions
// (negative ones included), and spans dimension(k) single values; point i is
// the pair at s(k) + i. Refused: k past the boundaries, or a block or pair
// that leaves the values, as 3 + 14 of 16 do (an empty block never does, even
// one that starts past the end).
TEST(Nurbs, PerBoundaryAccessorsAddressSingleValues) {
    constexpr uint32_t kBlock = ~0u;  // the whole block of boundary k
    const struct {
        std::vector<int32_t> dimensions;
        uint32_t k, i;
        std::optional<std::vector<float>> values;
    } cases[] = {
        {{3, 5, 0}, 1, kBlock, {{3, 4, 5, 6, 7}}}, {{3, 5, 0}, 1, 11, {{14, 15}}},   {{3, 5, 0}, 0, 15, std::nullopt},
        {{3, 5, 0}, 3, 0, std::nullopt},          {{3, 14, 0}, 1, kBlock, std::nullopt}, {{3, 14, 0}, 2, kBlock, {{}}},
        {{2, -1, 2}, 2, kBlock, {{1, 2}}},        {{2, -1, 2}, 2, 0, {{1, 2}}},         {{2, -3, 2}, 2, kBlock, std::nullopt},
    };
    for (const auto& c : cases) {
        Scratch h;
        const int32_t sizes[7] = {0, 0, 0, 0, 3, 8, 0};
        Words all = counting(16, 0);
        ASSERT_TRUE(GMD_SetNurbsSizes(h, sizes) && GMD_SetNurbsBoundaryDimensions(h, c.dimensions.data()) &&
                    GMD_SetNurbsAllBoundaryPoints(h, asFloats(all)));
        const bool block = c.i == kBlock;
        const std::size_t n = block ? std::size_t(std::max(c.dimensions[std::min<std::size_t>(c.k, 2)], 0)) : 2;
        const Words in = counting(n, 90);
        const auto read = block ? gotFrom<float>(n, [&](float* out) { return GMD_GetNurbsBoundaryPoints(h, c.k, out); })
                                : gotFrom<float>(n, [&](float* out) { return GMD_GetNurbsBoundaryPoint(h, c.k, c.i, out); });
        EXPECT_EQ(read, c.values ? std::optional(floats(*c.values)) : std::nullopt) << &c - cases;
        EXPECT_EQ(block ? GMD_SetNurbsBoundaryPoints(h, c.k, asFloats(in)) : GMD_SetNurbsBoundaryPoint(h, c.k, c.i, asFloats(in)),
                  c.values ? 1 : 0);
        // Value v sits at position v, so the first value read says where the block starts.
        if (c.values && !c.values->empty()) std::copy(in.begin(), in.end(), all.begin() + std::ptrdiff_t(c.values->front()));
        EXPECT_EQ(got(h, GMD_GetNurbsAllBoundaryPoints, 16), all) << &c - cases;
    }
}

namespace {

const Words kHingeWords = join({ints({4}), text("AB  "), ints({4}), text("WXYZ"), ints({1}), counting(10, 0), ints({2, 7, -2})});

}  // namespace

// The sections are appended in order, behind a second header byte of 1;
// setters of a section refuse any record but a hinge begun by its name.
TEST(Hinge, ExactRecordsRefusalsAndReadBack) {
    const Words twenty = counting(20);
    const int32_t groups[2] = {7, -2};
    const Bytes bytes = written([&](GMD_File* h) {
        EXPECT_EQ(GMD_SetHingeType(h, "WXYZ") + GMD_SetHingeGroups(h, 0, nullptr) + GMD_SetHingeName(h, nullptr), 0);
        ASSERT_TRUE(GMD_SetHingeName(h, "AB") && GMD_SetHingeType(h, "WXYZ") &&
                    GMD_SetHingePointsData(h, 1, asFloats(counting(10, 0))) && GMD_SetHingeGroups(h, 2, groups));
        EXPECT_EQ(GMD_SetHingePoints(h, -1, asFloats(twenty)) + GMD_SetHingeGroups(h, -1, nullptr), 0);
        GMD_WriteRecord(h);
        // Values 8 and 9 of each point exchanged.
        ASSERT_TRUE(GMD_SetHingeName(h, "HINGE-01") && GMD_SetHingeType(h, "axial") &&
                    GMD_SetHingePoints(h, 2, asFloats(twenty)) && GMD_SetHingeGroups(h, 0, nullptr));
        GMD_WriteRecord(h);
        EXPECT_TRUE(GMD_SetTolerance(h, 1.0f) && !GMD_SetHingeName(h, "AB")) << "a name begins a hinge on the empty record only";
    });
    const Words axial = join({ints({8}), text("HINGE-01"), ints({8}), text("axial   "), ints({2}), counting(8),
                              floats({10, 9}), counting(8, 11), floats({20, 19}), ints({0})});
    EXPECT_EQ(bytes, concat({frame('H', kHingeWords, 0, 1), frame('H', axial, 0, 1)}));
    ReadFile in(bytes, 1);
    EXPECT_EQ(textOf(in, GMD_GetHingeName, 5), "AB  ");
    EXPECT_EQ(textOf(in, GMD_GetHingeType, 5), "WXYZ");
    expectReads(in, {{G(GMD_GetHingeNumPoints, 1), ints({10})}, {G(GMD_GetHingePoints, 10), counting(10, 0)},
                     {G(GMD_GetHingePointsData, 10), counting(10, 0)}, {G(GMD_GetHingeNumGroups, 1), ints({2})},
                     {G(GMD_GetHingeGroups, 2), ints({7, -2})}, {GMD_GET(float, 10, GMD_GetHingePoint(h, 1, out)), std::nullopt},
                     {GMD_GET(float, 10, GMD_GetHingePoint(h, 0, out)), counting(10, 0)},
                     {GMD_GET(float, 10, GMD_GetHingePoint(h, 0x20000000, out)), std::nullopt}});
}

// Each record follows a sound surface (two U knots, hole origin 7) and a
// sound hinge: a damaged one is read as invalid and leaves its family's
// last in place, a sound one replaces it, and reading goes on either way.
// The getters of a family answer while a record of its letter is in hand.
TEST(Decoding, SoundAndDamagedSurfacesAndHinges) {
    const auto withW = [](const std::vector<float>& w) { return join({floats({float(w.size())}), floats(w)}); };
    const std::vector<int32_t> before{2, 0, 0, 0, 0, 0, 7};
    const struct {
        char letter;
        Words words;
        std::vector<int32_t> sizes = {};  // of a sound 'N'
        const char* name = nullptr;       // of a sound 'H'
    } cases[] = {
        // Counts are truncated toward zero, the dimensions define the point
        // count, and words after the last section are ignored.
        {'N', withW({3.9f, 0, 0, 0, 2, -1.7f, 1, 2, 3, 1, 2.5f, 10, 11, 12, 13, 14, 15, 99}), {3, 0, 0, 0, 2, 3, -1}},
        {'H', {0, 0, 0, 0, 99}, {}, ""},
        // A name that overlaps the next length word.
        {'H', join({ints({5}), text("ABCD"), ints({4}), text("TYPE"), ints({0, 0})}), {}, "ABCD\x04"},
        // Damaged: too short; W wrong; a count negative, NaN or past 32 bits; the U knots passing the end; a grid
        // whose cells overflow (2147483520 is the largest float below 2^31); the hole origin below -2^31; a
        // negative dimension.
        {'N', floats({5, 0, 0, 0, 0, 0})}, {'N', join({floats({31}), zeros(30)})}, {'N', withW({0, 0, 0, -2, 0, 0})},
        {'N', withW({0, bitCast<float>(0x7FC00000u), 0, 0, 0, 0})}, {'N', withW({2147483648.0f, 0, 0, 0, 0, 0})},
        {'N', withW({3, 0, 0, 0, 0, 0, 1, 2})}, {'N', withW({0, 0, 2147483520.0f, 2147483520.0f, 0, 0, 1, 2, 3, 4})},
        {'N', withW({0, 0, 0, 0, 0, -3e9f})}, {'N', withW({0, 0, 0, 0, 2, 0, 3, -1, 1, 2, 3, 4})},
        // A name running past the end, a point count past 32 bits, groups passing the end.
        {'H', join({ints({8}), text("ABCD")})}, {'H', {0, 0, 0x1999999Au, 0}}, {'H', {0, 0, 0, 2, 5}},
    };
    for (const auto& c : cases) {
        const Bytes sound = concat({frame('N', withW({2, 0, 0, 0, 0, 7, 0.25f, 0.75f})), frame('H', kHingeWords)});
        ReadFile in(concat({sound, frame(c.letter, c.words), frame('G', {})}), 2);
        EXPECT_EQ(nextType(in), c.sizes.empty() && !c.name ? 0 : c.letter) << &c - cases;
        if (c.letter == 'N')
            EXPECT_EQ(got(in, GMD_GetNurbsSizes, 7), ints(c.sizes.empty() ? before : c.sizes)) << &c - cases;
        else
            EXPECT_EQ(textOf(in, GMD_GetHingeName), c.name ? c.name : "AB  ") << &c - cases;
        EXPECT_EQ(nextType(in), 'G');
        EXPECT_EQ(textOf(in, GMD_GetHingeName), std::nullopt) << "not while a 'G' is in hand";
    }
}

namespace {

const float kVertex[3] = {4, 5, 6}, kNormal[3] = {0, 0, -1}, kAll[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};

// n: normal; 0, 1, 2, F: vertex of that index (F = 2^32 - 1); v: both
// vertices; j: the whole junction; g: group2 5; G: a tolerance record; +
// reads the next record.
const Calls kJunctionCalls = {
    GMD_CALL('n', GMD_SetJunctionNormal(h, kNormal)), GMD_CALL('0', GMD_SetJunctionVertex(h, 0, kVertex)),
    GMD_CALL('1', GMD_SetJunctionVertex(h, 1, kVertex)), GMD_CALL('2', GMD_SetJunctionVertex(h, 2, kVertex)),
    GMD_CALL('F', GMD_SetJunctionVertex(h, 0xFFFFFFFFu, kVertex)), GMD_CALL('v', GMD_SetJunctionVertices(h, kAll)),
    GMD_CALL('j', GMD_SetJunction(h, kAll)), GMD_CALL('g', GMD_SetGroup2(h, 5)), GMD_CALL('G', GMD_SetTolerance(h, 1.0f)),
    GMD_CALL('+', GMD_GetRecord(h)),
};

}  // namespace

// A setter that creates the record, and every whole junction, puts a space
// into the second header byte; patching setters keep the byte in hand. The
// getters need nine words and take vertex indices 0 and 1.
TEST(Junction, SettersAndGetters) {
    expectScripts(kJunctionCalls, {
        {"1", frame('O', floats({0, 0, 0, 4, 5, 6, 0, 0, 0}), 0, 0x20)},
        {"v", frame('O', floats({1, 2, 3, 4, 5, 6, 0, 0, 0}), 0, 0x20)},
        {"1gn0!2", frame('O', floats({4, 5, 6, 4, 5, 6, 0, 0, -1}), 0, 5)},
        {"ngj", frame('O', counting(9), 0, 0x20)}, {"!2!F", frame(0, {})}, {"G!j!v!0!n", frame('G', floats({1}))},
    });
    ReadFile in(concat({frame('O', counting(5)), frame('O', counting(10), 0, 7)}), 1);
    expectReads(in, {{G(GMD_GetJunction, 9), std::nullopt}, {G(GMD_GetJunctionVertices, 6), std::nullopt}});
    runScript(in, kJunctionCalls, "!0!vj+");
    expectReads(in, {{G(GMD_GetJunction, 9), counting(9)}, {G(GMD_GetJunctionVertices, 6), counting(6)},
                     {G(GMD_GetJunctionNormal, 3), counting(3, 7)}, {G(GMD_GetGroup2, 1), ints({7})},
                     {GMD_GET(float, 3, GMD_GetJunctionVertex(h, 0, out)), counting(3)},
                     {GMD_GET(float, 3, GMD_GetJunctionVertex(h, 1, out)), counting(3, 4)},
                     {GMD_GET(float, 3, GMD_GetJunctionVertex(h, 2, out)), std::nullopt}});
}

// Name records ('M', 'm', 'Z'): one padded name that replaces the one
// before; a reader takes every byte up to the first NUL, padding included.
TEST(Names, ExactRecordsLettersAndReadBack) {
    using Set = int32_t (*)(GMD_File*, const char*);
    const std::pair<char, Set> setters[] = {
        {'M', GMD_SetGroupMaterialName}, {'m', GMD_SetVolumeMaterialName}, {'Z', GMD_SetJunctionGroupName}};
    const char* names[][2] = {{"Copper1", "Copper1 "}, {"", ""}, {"Twelve chars", "Twelve chars"}};
    for (std::size_t r = 0; r < 3; ++r) {
        const auto [letter, set] = setters[r];
        const Bytes bytes = frameOf([&, letter = letter, set = set](GMD_File* h) {  // C++17 captures bindings only this way
            GMD_SetGroup2(h, 6);
            ASSERT_EQ(set(h, "a longer name first"), 1);
            for (const auto& [other, refused] : setters) EXPECT_EQ(refused(h, nullptr) + refused(h, "x"), other == letter);
            ASSERT_EQ(set(h, names[r][0]), 1);
        });
        // A junction group name puts a space into the second header byte.
        EXPECT_EQ(bytes, frame(letter, text(names[r][1]), 0, letter == 'Z' ? 0x20 : 6)) << letter;
        ReadFile in(bytes, 1);
        const std::size_t room = std::strlen(names[r][1]) + 1;
        EXPECT_EQ(textOf(in, letter == 'Z' ? GMD_GetJunctionGroupName : GMD_GetMaterialName, room), names[r][1]);
        EXPECT_EQ(textOf(in, letter == 'Z' ? GMD_GetMaterialName : GMD_GetJunctionGroupName), std::nullopt);
    }
    ReadFile in(frame('m', {0x00424241u, text("ABCD")[0]}), 1);
    EXPECT_EQ(textOf(in, GMD_GetMaterialName, 9), "ABB");
}
