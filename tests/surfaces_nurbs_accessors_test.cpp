// Building and reading NURBS surfaces through their accessors, in bulk and
// piece by piece, and the round trip through a file.
#include "test_support.h"

using namespace gmdtest;

namespace {

// A surface with values that a careless copy would alter: -0.0, a
// subnormal and NaNs with payloads.
struct Surface {
    std::vector<int32_t> sizes{5, 4, 2, 3, 2, 5, -3};
    std::vector<float> uKnots{0, 0, 0.5f, 1, 1}, vKnots{-0.0f, 0.25f, 0.75f, 1};
    std::vector<float> points{0.1f, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -12, 13, 14, 15, 16, 17};
    std::vector<float> weights{1, 0.5f, bitsFloat(0x7FC12345u), 1e-45f, 2, 3};
    std::vector<int32_t> dimensions{2, 3};
    std::vector<float> boundary{0, 0.125f, 1, 2, 3, 4, 5, 6, -0.0f, bitsFloat(0x7FC00001u)};

    GMD_NurbsData data() {
        return {uKnots.data(), vKnots.data(), points.data(), weights.data(), dimensions.data(), boundary.data()};
    }

    void buildInBulk(GMD_File* h) {
        ASSERT_EQ(GMD_SetNurbsSizes(h, sizes.data()), 1);
        GMD_NurbsData d = data();
        ASSERT_EQ(GMD_SetNurbsData(h, &d), 1);
    }

    // Counts in a scrambled order, then each element through its own setter.
    void buildPieceByPiece(GMD_File* h) {
        ASSERT_EQ(GMD_SetNurbsNumVcontrolPoints(h, sizes[3]), 1);
        ASSERT_EQ(GMD_SetNurbsNumBounds(h, sizes[4]), 1);
        ASSERT_EQ(GMD_SetNurbsNumUknots(h, sizes[0]), 1);
        ASSERT_EQ(GMD_SetNurbsNumUcontrolPoints(h, sizes[2]), 1);
        ASSERT_EQ(GMD_SetNurbsNumPoints(h, sizes[5]), 1);
        ASSERT_EQ(GMD_SetNurbsNumVknots(h, sizes[1]), 1);
        ASSERT_EQ(GMD_SetNurbsHoleOrigin(h, sizes[6]), 1);
        for (int k = 0; k < sizes[0]; ++k) ASSERT_EQ(GMD_SetNurbsUKnot(h, k, uKnots[k]), 1);
        for (int k = 0; k < sizes[1]; ++k) ASSERT_EQ(GMD_SetNurbsVKnot(h, k, vKnots[k]), 1);
        for (int cell = 0; cell < 6; ++cell) {
            ASSERT_EQ(GMD_SetNurbsControlPoint(h, cell / 3, cell % 3, &points[3 * cell]), 1);
            ASSERT_EQ(GMD_SetNurbsWeight(h, cell / 3, cell % 3, weights[cell]), 1);
        }
        ASSERT_EQ(GMD_SetNurbsBoundaryDimensions(h, dimensions.data()), 1);
        ASSERT_EQ(GMD_SetNurbsAllBoundaryPoints(h, boundary.data()), 1);
    }

    void expectIn(GMD_File* h) {
        EXPECT_EQ(nurbsSizes(h), sizes);
        std::vector<float> u(5), v(4), p(18), w(6), b(10), cell(4);
        std::vector<int32_t> d(2);
        GMD_NurbsData out{u.data(), v.data(), p.data(), w.data(), d.data(), b.data()};
        ASSERT_EQ(GMD_GetNurbsData(h, &out), 1);
        EXPECT_EQ(bitsOf(u), bitsOf(uKnots));
        EXPECT_EQ(bitsOf(v), bitsOf(vKnots));
        EXPECT_EQ(bitsOf(p), bitsOf(points));
        EXPECT_EQ(bitsOf(w), bitsOf(weights));
        EXPECT_EQ(d, dimensions);
        EXPECT_EQ(bitsOf(b), bitsOf(boundary));
        ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 2, cell.data()), 1);
        ASSERT_EQ(GMD_GetNurbsWeight(h, 0, 2, &cell[3]), 1);
        EXPECT_EQ(bitsOf(cell), bitsOf({15, 16, 17, weights[2]}));
    }
};

}  // namespace

TEST(NurbsAccessors, BulkAndPieceByPieceBuildTheSameRecordAndReadBackExactly) {
    Bytes bulk = written([](GMD_File* h) {
        Surface().buildInBulk(h);
        Surface().expectIn(h);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
    Bytes piece = written([](GMD_File* h) {
        Surface().buildPieceByPiece(h);
        Surface().expectIn(h);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
    ASSERT_EQ(bulk.size(), 12 + 4u * (1 + 6 + 5 + 4 + 24 + 2 + 10));
    EXPECT_EQ(bulk, piece);

    ReadFile in(bulk);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    ASSERT_EQ(GMD_GetRecordType(in), 78);
    Surface().expectIn(in);
}

TEST(NurbsAccessors, CountSettersStartAClearedSurfaceOnTheEmptyRecordAndResizeOneInHand) {
    using Set = int32_t (*)(GMD_File*, int32_t);
    const Set setters[] = {GMD_SetNurbsNumUknots, GMD_SetNurbsNumVknots, GMD_SetNurbsNumUcontrolPoints,
                           GMD_SetNurbsNumVcontrolPoints, GMD_SetNurbsNumBounds, GMD_SetNurbsNumPoints,
                           GMD_SetNurbsHoleOrigin};
    for (int s = 0; s < 7; ++s) {
        SCOPED_TRACE(s);
        Scratch h;
        Surface().buildInBulk(h);
        ASSERT_EQ(GMD_WriteRecord(h), 1);  // the written surface stays in the model
        EXPECT_EQ(setters[s](h, -1), s == 6 ? 1 : 0) << "only the hole origin may be negative";
        if (s < 6) {
            EXPECT_EQ(GMD_GetRecordType(h), 0) << "a refused call begins no surface";
            ASSERT_EQ(setters[s](h, 8), 1);
        }
        std::vector<int32_t> expected(7, 0);
        expected[s] = s == 6 ? -1 : 8;
        EXPECT_EQ(nurbsSizes(h), expected);
        std::vector<float> knots(8, -1.0f), values(16, -1.0f);
        GMD_GetNurbsUKnots(h, knots.data());
        GMD_GetNurbsAllBoundaryPoints(h, values.data());
        EXPECT_EQ(knots, std::vector<float>(8, s == 0 ? 0.0f : -1.0f));
        EXPECT_EQ(values, std::vector<float>(16, s == 5 ? 0.0f : -1.0f));
    }

    Scratch h;
    Surface().buildInBulk(h);
    ASSERT_EQ(GMD_SetNurbsNumUknots(h, 7), 1);
    ASSERT_EQ(GMD_SetNurbsNumPoints(h, 6), 1);
    EXPECT_EQ(GMD_SetNurbsNumBounds(h, -1), 0);
    std::vector<float> knots(7), values(12);
    GMD_GetNurbsUKnots(h, knots.data());
    GMD_GetNurbsAllBoundaryPoints(h, values.data());
    EXPECT_EQ(knots, (std::vector<float>{0, 0, 0.5f, 1, 1, 0, 0})) << "earlier values are kept, new ones 0";
    EXPECT_EQ(bitsOf(values), bitsOf({0, 0.125f, 1, 2, 3, 4, 5, 6, -0.0f, bitsFloat(0x7FC00001u), 0, 0}));
    EXPECT_EQ(nurbsSizes(h), (std::vector<int32_t>{7, 4, 2, 3, 2, 6, -3}));
}

TEST(NurbsAccessors, GridTakesItsShapeFromTheSecondCountAndLosesItsCellsOnEveryChange) {
    for (bool rowsFirst : {true, false}) {
        SCOPED_TRACE(rowsFirst ? "rows first" : "columns first");
        Scratch h;
        const float p[3] = {1, 2, 3};
        std::vector<float> cell(4, -1.0f);
        ASSERT_EQ(rowsFirst ? GMD_SetNurbsNumUcontrolPoints(h, 3) : GMD_SetNurbsNumVcontrolPoints(h, 4), 1);
        EXPECT_EQ(GMD_SetNurbsControlPoint(h, 0, 0, p), 0) << "no grid yet";
        ASSERT_EQ(rowsFirst ? GMD_SetNurbsNumVcontrolPoints(h, 4) : GMD_SetNurbsNumUcontrolPoints(h, 3), 1);
        ASSERT_EQ(GMD_SetNurbsControlPoint(h, 1, 1, p), 1);
        ASSERT_EQ(GMD_SetNurbsWeight(h, 1, 1, 5.0f), 1);
        for (auto ij : {std::pair<int, int>{3, 0}, {0, 4}, {-1, 0}, {0, -1}}) {
            EXPECT_EQ(GMD_GetNurbsControlPoint(h, ij.first, ij.second, cell.data()), 0) << ij.first << "," << ij.second;
            EXPECT_EQ(GMD_SetNurbsWeight(h, ij.first, ij.second, 1.0f), 0) << ij.first << "," << ij.second;
        }
        ASSERT_EQ(GMD_SetNurbsNumVcontrolPoints(h, 4), 1) << "the same count again still re-dimensions";
        ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 1, cell.data()), 1);
        ASSERT_EQ(GMD_GetNurbsWeight(h, 2, 3, &cell[3]), 1);
        EXPECT_EQ(cell, std::vector<float>(4, 0.0f));
        ASSERT_EQ(GMD_SetNurbsNumUcontrolPoints(h, 0), 1);
        EXPECT_EQ(GMD_GetNurbsControlPoint(h, 0, 0, cell.data()), 0);
    }
}

TEST(NurbsAccessors, RefusalsChangeNothing) {
    Scratch h;
    const int32_t negative[7] = {1, 1, 1, 1, 1, -1, 0};
    float f = 0;
    int32_t sizes[7];
    EXPECT_EQ(GMD_SetNurbsSizes(h, negative), 0);
    EXPECT_EQ(GMD_SetNurbsUKnot(h, 0, 1.0f), 0) << "element setters need a surface in hand";
    EXPECT_EQ(GMD_GetNurbsSizes(h, sizes), 0);
    ASSERT_EQ(GMD_SetTolerance(h, 1.0f), 1);
    EXPECT_EQ(GMD_SetNurbsNumUknots(h, 1), 0) << "another letter is in hand";
    EXPECT_EQ(GMD_GetRecordType(h), 'G');
    ASSERT_EQ(GMD_ResetRecord(h), 1);

    Surface s;
    s.buildInBulk(h);
    EXPECT_EQ(GMD_SetNurbsSizes(h, s.sizes.data()), 0) << "only on the empty record";
    for (auto index : {-1, 5, std::numeric_limits<int32_t>::min()}) {
        EXPECT_EQ(GMD_GetNurbsUKnot(h, index, &f), 0) << index;
        EXPECT_EQ(GMD_SetNurbsUKnot(h, index, 9.0f), 0) << index;
    }
    EXPECT_EQ(GMD_GetNurbsVKnot(h, 4, &f), 0);
    EXPECT_EQ(GMD_SetNurbsVKnot(h, -1, 9.0f), 0);
    EXPECT_EQ(GMD_GetNurbsBoundaryDimension(h, 2, &sizes[0]), 0);
    EXPECT_EQ(GMD_SetNurbsBoundaryDimension(h, 0xFFFFFFFFu, 9), 0);
    s.expectIn(h);
}

// Boundary k starts at value s(k), the sum of the earlier dimensions, and
// spans dimension(k) single values; point i is the pair at s(k) + i.
TEST(NurbsAccessors, PerBoundaryAccessorsAddressSingleValues) {
    Scratch h;
    const int32_t sizes[7] = {0, 0, 0, 0, 2, 8, 0}, dimensions[2] = {3, 5};
    ASSERT_EQ(GMD_SetNurbsSizes(h, sizes), 1);
    ASSERT_EQ(GMD_SetNurbsBoundaryDimensions(h, dimensions), 1);
    std::vector<float> all(16), values(5, -1.0f);
    for (int k = 0; k < 16; ++k) all[k] = static_cast<float>(k);
    ASSERT_EQ(GMD_SetNurbsAllBoundaryPoints(h, all.data()), 1);

    ASSERT_EQ(GMD_GetNurbsBoundaryPoints(h, 1, values.data()), 1);
    EXPECT_EQ(values, (std::vector<float>{3, 4, 5, 6, 7}));
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 2, values.data()), 0);
    struct PairCase {
        uint32_t k, i;
        float first;  // -1: refused
    } pairs[] = {{0, 0, 0}, {1, 0, 3}, {1, 11, 14}, {0, 14, 14}, {1, 12, -1}, {0, 15, -1}, {2, 0, -1}, {1, 0xFFFFFFFFu, -1}};
    for (const auto& c : pairs) {
        float pair[2] = {-1, -1};
        EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, c.k, c.i, pair), c.first >= 0) << c.k << "," << c.i;
        EXPECT_EQ(pair[0], c.first);
        EXPECT_EQ(pair[1], c.first >= 0 ? c.first + 1 : -1) << "points i and i + 1 share a value";
        EXPECT_EQ(GMD_SetNurbsBoundaryPoint(h, c.k, c.i + 100, pair), 0);
    }

    const float five[5] = {50, 51, 52, 53, 54}, pair[2] = {90, 91};
    ASSERT_EQ(GMD_SetNurbsBoundaryPoints(h, 1, five), 1);
    ASSERT_EQ(GMD_SetNurbsBoundaryPoint(h, 0, 1, pair), 1);
    GMD_GetNurbsAllBoundaryPoints(h, all.data());
    EXPECT_EQ(all, (std::vector<float>{0, 90, 91, 50, 51, 52, 53, 54, 8, 9, 10, 11, 12, 13, 14, 15}));

    // Dimensions that no longer fit the values.
    ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, 1, 14), 1);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 1, all.data()), 0) << "3 + 14 values pass the 16 present";
    ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, 1, 13), 1);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 1, all.data()), 1);
    ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, 0, -1), 1);
    all.assign(16, -1.0f);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 0, all.data()), 1) << "a negative dimension addresses no value";
    EXPECT_EQ(all[0], -1.0f);
    EXPECT_EQ(GMD_SetNurbsBoundaryPoints(h, 1, five), 0) << "starts before the first value";
    EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, 1, 0, values.data()), 0);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, 0, 0, values.data()), 1) << "boundary 0 starts at 0 whatever its dimension";
}

// Blocks start at the plain sum of the dimensions before them and are
// refused only where they leave the values.
TEST(NurbsAccessors, BoundaryBlocksAreRefusedOnlyWhereTheyLeaveTheValues) {
    struct Case {
        int32_t points;  // boundary points, two values each
        std::vector<int32_t> dimensions;
        uint32_t k;
        std::vector<float> block;  // the values of boundary k; empty when none
        bool refused;
    };
    const Case cases[] = {
        {0, {1, 0}, 1, {}, false},           // empty, starting past the end of no values
        {2, {2, -1, 2}, 2, {11, 12}, false},  // starts at 2 - 1
        {2, {2, -3, 2}, 2, {}, true},        // starts before the first value
        {2, {3, 0, 2}, 2, {}, true},         // passes the last value
    };
    for (const auto& c : cases) {
        Scratch h;
        const float values[4] = {10, 11, 12, 13};
        ASSERT_EQ(GMD_SetNurbsNumBounds(h, static_cast<int32_t>(c.dimensions.size())), 1);
        ASSERT_EQ(GMD_SetNurbsNumPoints(h, c.points), 1);
        ASSERT_EQ(GMD_SetNurbsAllBoundaryPoints(h, values), 1);
        ASSERT_EQ(GMD_SetNurbsBoundaryDimensions(h, c.dimensions.data()), 1);
        std::vector<float> out(4, -1.0f), pair(2, -1.0f);
        EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, c.k, out.data()), c.refused ? 0 : 1) << c.dimensions[1];
        EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + static_cast<long>(c.block.size())), c.block);
        EXPECT_EQ(out[c.block.size()], -1.0f) << "copied past the block";
        if (c.block.size() == 2) {
            EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, c.k, 0, pair.data()), 1);
            EXPECT_EQ(pair, c.block);
            const float in[2] = {20, 21};
            EXPECT_EQ(GMD_SetNurbsBoundaryPoints(h, c.k, in) + GMD_SetNurbsBoundaryPoint(h, c.k, 1, in), 2);
            GMD_GetNurbsAllBoundaryPoints(h, out.data());
            EXPECT_EQ(out, (std::vector<float>{10, 20, 20, 21}));
        }
    }
}

TEST(NurbsAccessors, NullGridArraysAreSkippedAndTheGridIsRedimensioned) {
    Scratch h;
    Surface s;
    s.buildInBulk(h);
    GMD_NurbsData d = s.data();
    d.controlPoints = nullptr;
    ASSERT_EQ(GMD_SetNurbsData(h, &d), 1);
    std::vector<float> cell(4);
    ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 2, cell.data()), 1);
    ASSERT_EQ(GMD_GetNurbsWeight(h, 1, 2, &cell[3]), 1);
    EXPECT_EQ(cell, (std::vector<float>{0, 0, 0, 3})) << "earlier points are discarded";

    d = s.data();
    d.weights = nullptr;
    ASSERT_EQ(GMD_SetNurbsData(h, &d), 1);
    ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 2, cell.data()), 1);
    ASSERT_EQ(GMD_GetNurbsWeight(h, 1, 2, &cell[3]), 1);
    EXPECT_EQ(cell, (std::vector<float>{15, 16, 17, 0}));

    std::vector<float> u(5, -1), v(4, -1), b(10, -1);
    std::vector<int32_t> dims(2, -1);
    GMD_NurbsData out{u.data(), v.data(), nullptr, nullptr, dims.data(), b.data()};
    ASSERT_EQ(GMD_GetNurbsData(h, &out), 1);
    EXPECT_EQ(u, s.uKnots);
    EXPECT_EQ(dims, s.dimensions);
    EXPECT_EQ(bitsOf(b), bitsOf(s.boundary));
}
