// Building and reading NURBS surfaces through their accessors, in bulk and
// piece by piece, and the round trip through a file.
#include <functional>
#include <limits>

#include "surfaces_support.h"

using namespace gmdtest;

namespace {

std::vector<int32_t> sizesOf(GMD_File* h) {
    std::vector<int32_t> sizes(7, -99);
    EXPECT_EQ(GMD_GetNurbsSizes(h, sizes.data()), 1);
    return sizes;
}

// A write handle whose file nobody reads: a place to build records.
struct Scratch {
    TempFile file;
    Handle h{GMD_OpenWriteFile(file.c_str())};
    operator GMD_File*() const { return h; }
};

// A surface with values that a careless copy would alter: -0.0, a
// subnormal, a NaN with a payload, and 0.1, which only rounds on file.
struct Surface {
    std::vector<int32_t> sizes{5, 4, 2, 3, 2, 5, -3};
    std::vector<float> uKnots{0, 0, 0.5f, 1, 1};
    std::vector<float> vKnots{-0.0f, 0.25f, 0.75f, 1};
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

    // Counts in a scrambled order, each element through its own setter.
    void buildPieceByPiece(GMD_File* h) {
        ASSERT_EQ(GMD_SetNurbsNumVcontrolPoints(h, sizes[3]), 1);
        ASSERT_EQ(GMD_SetNurbsNumBounds(h, sizes[4]), 1);
        ASSERT_EQ(GMD_SetNurbsNumUknots(h, sizes[0]), 1);
        ASSERT_EQ(GMD_SetNurbsNumUcontrolPoints(h, sizes[2]), 1);
        ASSERT_EQ(GMD_SetNurbsNumPoints(h, sizes[5]), 1);
        ASSERT_EQ(GMD_SetNurbsNumVknots(h, sizes[1]), 1);
        ASSERT_EQ(GMD_SetNurbsHoleOrigin(h, sizes[6]), 1);
        for (int k = 0; k < sizes[0]; ++k) ASSERT_EQ(GMD_SetNurbsUKnot(h, k, uKnots[k]), 1);
        ASSERT_EQ(GMD_SetNurbsVKnots(h, vKnots.data()), 1);
        for (int i = 0; i < sizes[2]; ++i) {
            for (int j = 0; j < sizes[3]; ++j) {
                ASSERT_EQ(GMD_SetNurbsControlPoint(h, i, j, &points[3 * (i * sizes[3] + j)]), 1);
                ASSERT_EQ(GMD_SetNurbsWeight(h, i, j, weights[i * sizes[3] + j]), 1);
            }
        }
        for (uint32_t k = 0; k < 2; ++k) ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, k, dimensions[k]), 1);
        ASSERT_EQ(GMD_SetNurbsAllBoundaryPoints(h, boundary.data()), 1);
    }

    // Everything the surface in hand holds, read in bulk and piece by piece.
    void expectIn(GMD_File* h) {
        EXPECT_EQ(sizesOf(h), sizes);
        std::vector<float> u(5), v(4), p(18), w(6), b(10);
        std::vector<int32_t> d(2);
        GMD_NurbsData out{u.data(), v.data(), p.data(), w.data(), d.data(), b.data()};
        ASSERT_EQ(GMD_GetNurbsData(h, &out), 1);
        EXPECT_EQ(bitsOf(u), bitsOf(uKnots));
        EXPECT_EQ(bitsOf(v), bitsOf(vKnots));
        EXPECT_EQ(bitsOf(p), bitsOf(points));
        EXPECT_EQ(bitsOf(w), bitsOf(weights));
        EXPECT_EQ(d, dimensions);
        EXPECT_EQ(bitsOf(b), bitsOf(boundary));

        for (int i = 0; i < sizes[2]; ++i) {
            for (int j = 0; j < sizes[3]; ++j) {
                float point[3], weight;
                ASSERT_EQ(GMD_GetNurbsControlPoint(h, i, j, point), 1);
                ASSERT_EQ(GMD_GetNurbsWeight(h, i, j, &weight), 1);
                const int cell = i * sizes[3] + j;
                EXPECT_EQ(bitsOf({point[0], point[1], point[2]}),
                          bitsOf({points[3 * cell], points[3 * cell + 1], points[3 * cell + 2]}));
                EXPECT_EQ(floatBits(weight), floatBits(weights[cell]));
            }
        }
        float knot;
        ASSERT_EQ(GMD_GetNurbsVKnot(h, 0, &knot), 1);
        EXPECT_EQ(floatBits(knot), floatBits(-0.0f));
        int32_t n;
        ASSERT_EQ(GMD_GetNurbsNumUcontrolPoints(h, &n), 1);
        EXPECT_EQ(n, 2);
        ASSERT_EQ(GMD_GetNurbsHoleOrigin(h, &n), 1);
        EXPECT_EQ(n, -3);
    }
};

}  // namespace

TEST(NurbsAccessors, BulkAndPieceByPieceBuildTheSameRecordAndReadBackExactly) {
    TempFile bulkFile, pieceFile;
    Bytes bulk = writtenBytes(bulkFile, [](GMD_File* h) {
        Surface s;
        s.buildInBulk(h);
        s.expectIn(h);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
    Bytes piece = writtenBytes(pieceFile, [](GMD_File* h) {
        Surface s;
        s.buildPieceByPiece(h);
        s.expectIn(h);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
    ASSERT_EQ(bulk.size(), 12 + 4u * (1 + 6 + 5 + 4 + 24 + 2 + 10));
    EXPECT_EQ(bulk, piece);

    ReadFile in(bulk);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    ASSERT_EQ(GMD_GetRecordType(in), 78);
    Surface().expectIn(in);
}

TEST(NurbsAccessors, CountSettersStartAClearedSurfaceOnTheEmptyRecord) {
    struct Case {
        const char* name;
        std::function<int32_t(GMD_File*)> set;
        std::vector<int32_t> sizes;
    } cases[] = {
        {"U knots", [](GMD_File* h) { return GMD_SetNurbsNumUknots(h, 8); }, {8, 0, 0, 0, 0, 0, 0}},
        {"V knots", [](GMD_File* h) { return GMD_SetNurbsNumVknots(h, 2); }, {0, 2, 0, 0, 0, 0, 0}},
        {"grid rows", [](GMD_File* h) { return GMD_SetNurbsNumUcontrolPoints(h, 3); }, {0, 0, 3, 0, 0, 0, 0}},
        {"grid columns", [](GMD_File* h) { return GMD_SetNurbsNumVcontrolPoints(h, 4); }, {0, 0, 0, 4, 0, 0, 0}},
        {"boundaries", [](GMD_File* h) { return GMD_SetNurbsNumBounds(h, 2); }, {0, 0, 0, 0, 2, 0, 0}},
        {"boundary points", [](GMD_File* h) { return GMD_SetNurbsNumPoints(h, 3); }, {0, 0, 0, 0, 0, 3, 0}},
        {"hole origin", [](GMD_File* h) { return GMD_SetNurbsHoleOrigin(h, -4); }, {0, 0, 0, 0, 0, 0, -4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch h;
        Surface().buildInBulk(h);  // a surface left over in the model
        ASSERT_EQ(GMD_ResetRecord(h), 1);
        ASSERT_EQ(c.set(h), 1);
        EXPECT_EQ(GMD_GetRecordType(h), 'N');
        EXPECT_EQ(sizesOf(h), c.sizes);
        std::vector<float> knots(8, -1.0f), values(6, -1.0f);
        std::vector<int32_t> dimensions(2, -1);
        GMD_GetNurbsUKnots(h, knots.data());
        GMD_GetNurbsAllBoundaryPoints(h, values.data());
        GMD_GetNurbsBoundaryDimensions(h, dimensions.data());
        EXPECT_EQ(knots, std::vector<float>(8, c.sizes[0] ? 0.0f : -1.0f));
        EXPECT_EQ(values, std::vector<float>(6, c.sizes[5] ? 0.0f : -1.0f));
        EXPECT_EQ(dimensions, std::vector<int32_t>(2, c.sizes[4] ? 0 : -1));
        float point[3];
        EXPECT_EQ(GMD_GetNurbsControlPoint(h, 0, 0, point), 0) << "one grid count alone gives no grid";
    }
}

TEST(NurbsAccessors, CountSettersResizeTheSurfaceInHand) {
    Scratch h;
    Surface().buildInBulk(h);
    ASSERT_EQ(GMD_SetNurbsNumUknots(h, 7), 1);
    ASSERT_EQ(GMD_SetNurbsNumPoints(h, 6), 1);
    ASSERT_EQ(GMD_SetNurbsNumBounds(h, 1), 1);
    std::vector<float> knots(7), values(12);
    int32_t dimension = 0;
    GMD_GetNurbsUKnots(h, knots.data());
    GMD_GetNurbsAllBoundaryPoints(h, values.data());
    EXPECT_EQ(knots, (std::vector<float>{0, 0, 0.5f, 1, 1, 0, 0})) << "earlier values are kept, new ones 0";
    EXPECT_EQ(bitsOf(values), bitsOf({0, 0.125f, 1, 2, 3, 4, 5, 6, -0.0f, bitsFloat(0x7FC00001u), 0, 0}));
    EXPECT_EQ(GMD_GetNurbsBoundaryDimension(h, 0, &dimension), 1);
    EXPECT_EQ(dimension, 2);
    EXPECT_EQ(GMD_GetNurbsBoundaryDimension(h, 1, &dimension), 0);
    EXPECT_EQ(sizesOf(h), (std::vector<int32_t>{7, 4, 2, 3, 1, 6, -3}));
}

TEST(NurbsAccessors, GridTakesItsShapeFromTheSecondCountAndLosesItsCellsOnEveryChange) {
    for (bool rowsFirst : {true, false}) {
        SCOPED_TRACE(rowsFirst ? "rows first" : "columns first");
        Scratch h;
        const float p[3] = {1, 2, 3};
        float out[3] = {-1, -1, -1}, weight = -1;
        ASSERT_EQ(rowsFirst ? GMD_SetNurbsNumUcontrolPoints(h, 3) : GMD_SetNurbsNumVcontrolPoints(h, 4), 1);
        EXPECT_EQ(GMD_SetNurbsControlPoint(h, 0, 0, p), 0) << "no grid yet";
        ASSERT_EQ(rowsFirst ? GMD_SetNurbsNumVcontrolPoints(h, 4) : GMD_SetNurbsNumUcontrolPoints(h, 3), 1);
        ASSERT_EQ(GMD_GetNurbsControlPoint(h, 2, 3, out), 1);
        EXPECT_EQ(std::vector<float>(out, out + 3), std::vector<float>(3, 0.0f));
        ASSERT_EQ(GMD_GetNurbsWeight(h, 2, 3, &weight), 1);
        EXPECT_EQ(weight, 0.0f);
        for (auto cell : {std::pair<int, int>{3, 0}, {0, 4}, {-1, 0}, {0, -1}}) {
            EXPECT_EQ(GMD_GetNurbsControlPoint(h, cell.first, cell.second, out), 0) << cell.first << "," << cell.second;
            EXPECT_EQ(GMD_SetNurbsWeight(h, cell.first, cell.second, 1.0f), 0);
        }
        ASSERT_EQ(GMD_SetNurbsControlPoint(h, 1, 1, p), 1);
        ASSERT_EQ(GMD_SetNurbsWeight(h, 1, 1, 5.0f), 1);
        ASSERT_EQ(GMD_SetNurbsNumVcontrolPoints(h, 4), 1) << "the same count again still re-dimensions";
        ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 1, out), 1);
        EXPECT_EQ(out[0], 0.0f);
        ASSERT_EQ(GMD_GetNurbsWeight(h, 1, 1, &weight), 1);
        EXPECT_EQ(weight, 0.0f);
        ASSERT_EQ(GMD_SetNurbsNumUcontrolPoints(h, 0), 1);
        EXPECT_EQ(GMD_GetNurbsControlPoint(h, 0, 0, out), 0);
    }
}

TEST(NurbsAccessors, RefusalsChangeNothing) {
    Scratch h;
    const int32_t negative[7] = {1, 1, 1, 1, 1, -1, 0};
    std::function<int32_t(GMD_File*)> refusedOnEmpty[] = {
        [](GMD_File* f) { return GMD_SetNurbsNumUknots(f, -1); },
        [](GMD_File* f) { return GMD_SetNurbsNumVknots(f, -1); },
        [](GMD_File* f) { return GMD_SetNurbsNumUcontrolPoints(f, -1); },
        [](GMD_File* f) { return GMD_SetNurbsNumVcontrolPoints(f, -2); },
        [](GMD_File* f) { return GMD_SetNurbsNumBounds(f, -1); },
        [](GMD_File* f) { return GMD_SetNurbsNumPoints(f, std::numeric_limits<int32_t>::min()); },
        [&](GMD_File* f) { return GMD_SetNurbsSizes(f, negative); },
        [](GMD_File* f) { return GMD_SetNurbsUKnot(f, 0, 1.0f); },
        [](GMD_File* f) {
            float knots[1] = {};
            return GMD_SetNurbsUKnots(f, knots);
        },
        [](GMD_File* f) {
            GMD_NurbsData d{};
            return GMD_SetNurbsData(f, &d);
        },
        [](GMD_File* f) {
            int32_t sizes[7];
            return GMD_GetNurbsSizes(f, sizes);
        },
    };
    for (auto& call : refusedOnEmpty) {
        EXPECT_EQ(call(h), 0);
        EXPECT_EQ(GMD_GetRecordType(h), 0) << "a refused call begins no surface";
    }

    ASSERT_EQ(GMD_SetTolerance(h, 1.0f), 1);
    EXPECT_EQ(GMD_SetNurbsNumUknots(h, 1), 0) << "another letter is in hand";
    EXPECT_EQ(GMD_SetNurbsHoleOrigin(h, 1), 0);
    EXPECT_EQ(GMD_GetRecordType(h), 'G');
    ASSERT_EQ(GMD_ResetRecord(h), 1);

    Surface s;
    s.buildInBulk(h);
    EXPECT_EQ(GMD_SetNurbsSizes(h, s.sizes.data()), 0) << "only on the empty record";
    EXPECT_EQ(GMD_SetNurbsNumUknots(h, -1), 0);
    float f;
    for (auto index : {-1, 5, std::numeric_limits<int32_t>::min()}) {
        EXPECT_EQ(GMD_GetNurbsUKnot(h, index, &f), 0) << index;
        EXPECT_EQ(GMD_SetNurbsUKnot(h, index, 9.0f), 0) << index;
    }
    EXPECT_EQ(GMD_GetNurbsVKnot(h, 4, &f), 0);
    EXPECT_EQ(GMD_SetNurbsVKnot(h, -1, 9.0f), 0);
    int32_t d;
    EXPECT_EQ(GMD_GetNurbsBoundaryDimension(h, 2, &d), 0);
    EXPECT_EQ(GMD_SetNurbsBoundaryDimension(h, 0xFFFFFFFFu, 9), 0);
    s.expectIn(h);
}

TEST(NurbsAccessors, SizesWithNegativeHoleOriginAreAccepted) {
    Scratch h;
    const int32_t sizes[7] = {2, 0, 1, 2, 1, 3, -8};
    ASSERT_EQ(GMD_SetNurbsSizes(h, sizes), 1);
    EXPECT_EQ(sizesOf(h), std::vector<int32_t>(sizes, sizes + 7));
    std::vector<float> values(6, -1.0f);
    GMD_GetNurbsAllBoundaryPoints(h, values.data());
    EXPECT_EQ(values, std::vector<float>(6, 0.0f));
}

// Boundary k starts at value s(k), the sum of the earlier dimensions, and
// spans dimension(k) single values; point i is the pair at s(k) + i.
TEST(NurbsAccessors, PerBoundaryAccessorsAddressSingleValues) {
    Scratch h;
    const int32_t sizes[7] = {0, 0, 0, 0, 2, 8, 0};
    ASSERT_EQ(GMD_SetNurbsSizes(h, sizes), 1);
    const int32_t dimensions[2] = {3, 5};
    ASSERT_EQ(GMD_SetNurbsBoundaryDimensions(h, dimensions), 1);
    std::vector<float> all(16);
    for (int k = 0; k < 16; ++k) all[k] = static_cast<float>(k);
    ASSERT_EQ(GMD_SetNurbsAllBoundaryPoints(h, all.data()), 1);

    std::vector<float> values(5, -1.0f);
    ASSERT_EQ(GMD_GetNurbsBoundaryPoints(h, 1, values.data()), 1);
    EXPECT_EQ(values, (std::vector<float>{3, 4, 5, 6, 7}));
    ASSERT_EQ(GMD_GetNurbsBoundaryPoints(h, 0, values.data()), 1);
    EXPECT_EQ(values, (std::vector<float>{0, 1, 2, 6, 7}));
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 2, values.data()), 0);

    struct PairCase {
        uint32_t k, i;
        int expected;
        float first;
    } pairs[] = {{0, 0, 1, 0}, {1, 0, 1, 3}, {1, 4, 1, 7}, {1, 11, 1, 14}, {0, 14, 1, 14},
                 {1, 12, 0, 0}, {0, 15, 0, 0}, {2, 0, 0, 0}, {1, 0xFFFFFFFFu, 0, 0}, {0xFFFFFFFFu, 0, 0, 0}};
    for (const auto& c : pairs) {
        float pair[2] = {-1, -1};
        EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, c.k, c.i, pair), c.expected) << c.k << "," << c.i;
        if (c.expected) {
            EXPECT_EQ(pair[0], c.first);
            EXPECT_EQ(pair[1], c.first + 1) << "points i and i + 1 share a value";
        }
        const float in[2] = {-5, -6};
        EXPECT_EQ(GMD_SetNurbsBoundaryPoint(h, c.k, c.i + 100, in), 0) << "past the values";
    }

    const float five[5] = {50, 51, 52, 53, 54};
    ASSERT_EQ(GMD_SetNurbsBoundaryPoints(h, 1, five), 1);
    const float pair[2] = {90, 91};
    ASSERT_EQ(GMD_SetNurbsBoundaryPoint(h, 0, 1, pair), 1);
    GMD_GetNurbsAllBoundaryPoints(h, all.data());
    EXPECT_EQ(all, (std::vector<float>{0, 90, 91, 50, 51, 52, 53, 54, 8, 9, 10, 11, 12, 13, 14, 15}));

    // Dimensions that no longer fit the values.
    ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, 1, 14), 1);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 1, values.data()), 0) << "3 + 14 values pass the 16 present";
    ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, 1, 13), 1);
    std::vector<float> thirteen(13);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 1, thirteen.data()), 1);
    ASSERT_EQ(GMD_SetNurbsBoundaryDimension(h, 0, -1), 1);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoints(h, 0, values.data()), 0) << "negative dimension";
    EXPECT_EQ(GMD_SetNurbsBoundaryPoints(h, 1, five), 0) << "starts after a negative dimension";
    float out[2];
    EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, 1, 0, out), 0);
    EXPECT_EQ(GMD_GetNurbsBoundaryPoint(h, 0, 0, out), 1) << "boundary 0 starts at value 0 whatever its dimension";
}

TEST(NurbsAccessors, NullGridArraysAreSkipped) {
    Scratch h;
    Surface s;
    s.buildInBulk(h);
    // Setting the data again re-dimensions the grid: the earlier cells go.
    GMD_NurbsData d = s.data();
    d.controlPoints = nullptr;
    ASSERT_EQ(GMD_SetNurbsData(h, &d), 1);
    float point[3], weight;
    ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 2, point), 1);
    EXPECT_EQ(std::vector<float>(point, point + 3), std::vector<float>(3, 0.0f));
    ASSERT_EQ(GMD_GetNurbsWeight(h, 1, 2, &weight), 1);
    EXPECT_EQ(weight, 3.0f);

    d = s.data();
    d.weights = nullptr;
    ASSERT_EQ(GMD_SetNurbsData(h, &d), 1);
    ASSERT_EQ(GMD_GetNurbsWeight(h, 1, 2, &weight), 1);
    EXPECT_EQ(weight, 0.0f);
    ASSERT_EQ(GMD_GetNurbsControlPoint(h, 1, 2, point), 1);
    EXPECT_EQ(point[2], 17.0f);

    std::vector<float> u(5, -1), v(4, -1), b(10, -1);
    std::vector<int32_t> dims(2, -1);
    GMD_NurbsData out{u.data(), v.data(), nullptr, nullptr, dims.data(), b.data()};
    ASSERT_EQ(GMD_GetNurbsData(h, &out), 1);
    EXPECT_EQ(u, s.uKnots);
    EXPECT_EQ(dims, s.dimensions);
    EXPECT_EQ(bitsOf(b), bitsOf(s.boundary));
}

TEST(NurbsAccessors, ControlPointsGoToFileAsFloats) {
    TempFile file;
    Bytes bytes = writtenBytes(file, [](GMD_File* h) {
        GMD_SetNurbsNumUcontrolPoints(h, 1);
        GMD_SetNurbsNumVcontrolPoints(h, 1);
        const float p[3] = {0.1f, -1e30f, 3.5f};
        GMD_SetNurbsControlPoint(h, 0, 0, p);
        GMD_SetNurbsWeight(h, 0, 0, 0.3f);
        GMD_WriteRecord(h);
    });
    EXPECT_EQ(bytes, frame('N', floatWords({10, 0, 0, 1, 1, 0, 0, 0.1f, -1e30f, 3.5f, 0.3f})));
}
