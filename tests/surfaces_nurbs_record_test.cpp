// The word form of NURBS surfaces: exact encodings, decoding, and the checks
// that make a damaged 'N' record invalid.
#include "alloc_hook.h"
#include "test_support.h"

using namespace gmdtest;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// An 'N' payload whose word 0 is right for the words given after it.
std::vector<uint32_t> nurbsWords(std::initializer_list<float> afterWordZero) {
    return join({floatWords({static_cast<float>(afterWordZero.size())}), floatWords(afterWordZero)});
}

}  // namespace

TEST(NurbsEncoding, ExactFrames) {
    float knots[4] = {0, 0, 1, 1}, weights[4] = {1, 0.5f, 0.25f, 2}, boundary[16];
    // Control point (i, j) = (10i + j, 0.1, -j); 0.1 reaches the file as its float rounding.
    float points[12] = {0, 0.1f, 0, 1, 0.1f, -1, 10, 0.1f, 0, 11, 0.1f, -1};
    int32_t dimensions[2] = {3, 5};
    for (int k = 0; k < 16; ++k) boundary[k] = static_cast<float>(k);
    GMD_NurbsData data{knots, knots, points, weights, dimensions, boundary};
    struct Case {
        const char* name;
        std::vector<int32_t> sizes;
        std::vector<uint32_t> words;
    } cases[] = {
        {"no sections", {0, 0, 0, 0, 0, 0, 5}, floatWords({6, 0, 0, 0, 0, 0, 5})},
        {"2 x 2 grid: x, y, z, weight per point, row after row",
         {4, 4, 2, 2, 0, 0, -1},
         floatWords({30, 4, 4, 2, 2, 0, -1, 0, 0, 1, 1, 0, 0, 1, 1,  //
                     0, 0.1f, 0, 1, 1, 0.1f, -1, 0.5f, 10, 0.1f, 0, 0.25f, 11, 0.1f, -1, 2})},
        {"boundaries of 3 and 5 points",
         {0, 0, 0, 0, 2, 8, 0},
         floatWords({24, 0, 0, 0, 0, 2, 0, 3, 5, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = written([&](GMD_File* h) {
            GMD_SetGroup(h, -7);
            ASSERT_EQ(GMD_SetNurbsSizes(h, c.sizes.data()), 1);
            ASSERT_EQ(GMD_SetNurbsData(h, &data), 1);
            GMD_SetGroup2(h, 12);
            EXPECT_EQ(GMD_WriteRecord(h), 1);
        });
        EXPECT_EQ(bytes, frame('N', c.words, -7, 12));
    }
}

TEST(NurbsEncoding, PointCountDisagreeingWithDimensionsIsWrittenAsItStands) {
    Bytes bytes = written([](GMD_File* h) {
        const int32_t sizes[7] = {0, 0, 0, 0, 1, 2, 0};
        const float values[4] = {1, 2, 3, 4};
        GMD_SetNurbsSizes(h, sizes);
        GMD_SetNurbsBoundaryDimension(h, 0, 1);
        GMD_SetNurbsAllBoundaryPoints(h, values);
        GMD_WriteRecord(h);
    });
    ASSERT_EQ(bytes, frame('N', floatWords({11, 0, 0, 0, 0, 1, 0, 1, 1, 2, 3, 4})));
    ReadFile in(bytes);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(nurbsSizes(in)[5], 1) << "the dimensions define the point count";
}

TEST(NurbsDecoding, SoundRecords) {
    struct Case {
        const char* name;
        std::vector<uint32_t> words;
        std::vector<int32_t> sizes;
        std::vector<float> uKnots, boundary;
    } cases[] = {
        {"counts truncate toward zero", nurbsWords({3.9f, 0, 0, 0, 0.5f, -1.7f, 1, 2, 3}), {3, 0, 0, 0, 0, 0, -1}, {1, 2, 3}, {}},
        {"a count of -0.5 is 0", nurbsWords({-0.5f, 0, 0, 0, 0, 0}), {0, 0, 0, 0, 0, 0, 0}, {}, {}},
        {"words after the last section are ignored", nurbsWords({1, 0, 0, 0, 0, 0, 4, 99}), {1, 0, 0, 0, 0, 0, 0}, {4}, {}},
        {"the point count is the sum of the dimensions", nurbsWords({0, 0, 0, 0, 2, 0, 1, 2.5f, 10, 11, 12, 13, 14, 15}),
         {0, 0, 0, 0, 2, 3, 0}, {}, {10, 11, 12, 13, 14, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile in(frame('N', c.words));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(GMD_GetRecordType(in), 78);
        EXPECT_EQ(nurbsSizes(in), c.sizes);
        std::vector<float> knots(c.uKnots.size()), boundary(c.boundary.size());
        GMD_GetNurbsUKnots(in, knots.data());
        GMD_GetNurbsAllBoundaryPoints(in, boundary.data());
        EXPECT_EQ(knots, c.uKnots);
        EXPECT_EQ(boundary, c.boundary);
    }
}

TEST(NurbsDecoding, DamagedRecordsAreInvalidAndKeepTheEarlierSurface) {
    const float big = 2147483520.0f;  // the largest float below 2^31
    const std::vector<uint32_t> thirtyWords(30, 0);
    struct Case {
        const char* name;
        std::vector<uint32_t> words;
    } cases[] = {
        {"no words", {}},
        {"six words", floatWords({5, 0, 0, 0, 0, 0})},
        {"word 0 of 31 in a 31-word record", join({floatWords({31}), thirtyWords})},
        {"word 0 of 29 in a 31-word record", join({floatWords({29}), thirtyWords})},
        {"word 0 NaN", floatWords({kNaN, 0, 0, 0, 0, 0, 0})},
        {"negative knot count", nurbsWords({-1, 0, 0, 0, 0, 0})},
        {"negative grid count", nurbsWords({0, 0, 0, -2, 0, 0})},
        {"negative boundary count", nurbsWords({0, 0, 0, 0, -1, 0})},
        {"NaN count", nurbsWords({0, kNaN, 0, 0, 0, 0})},
        {"infinite count", nurbsWords({0, 0, std::numeric_limits<float>::infinity(), 1, 0, 0})},
        {"count of 2^31", nurbsWords({2147483648.0f, 0, 0, 0, 0, 0})},
        {"hole origin below int32", nurbsWords({0, 0, 0, 0, 0, -3e9f})},
        {"hole origin NaN", nurbsWords({0, 0, 0, 0, 0, kNaN})},
        {"U knots past the end", nurbsWords({3, 0, 0, 0, 0, 0, 1, 2})},
        {"V knots past the end", nurbsWords({1, 2, 0, 0, 0, 0, 1, 2})},
        {"grid past the end", nurbsWords({0, 0, 1, 1, 0, 0, 1, 2, 3})},
        {"grid of 2^62 cells", nurbsWords({0, 0, big, big, 0, 0, 1, 2, 3, 4})},
        {"dimensions past the end", nurbsWords({0, 0, 0, 0, 3, 0, 1, 1})},
        {"negative dimension", nurbsWords({0, 0, 0, 0, 2, 0, 3, -1, 1, 2, 3, 4})},
        {"NaN dimension", nurbsWords({0, 0, 0, 0, 1, 0, kNaN, 1, 2})},
        {"dimensions announce more points than present", nurbsWords({0, 0, 0, 0, 2, 0, 3, 5, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})},
        {"dimensions summing past int32", nurbsWords({0, 0, 0, 0, 2, 0, 2e9f, 2e9f, 1, 2})},
    };
    const Bytes earlier = frame('N', nurbsWords({2, 0, 0, 0, 0, 7, 0.25f, 0.75f}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile in(concat({earlier, frame('N', c.words), frame('G', floatWords({1}))}));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        ASSERT_EQ(GMD_GetRecord(in), 1) << "an invalid record is still read";
        EXPECT_EQ(GMD_GetRecordType(in), 0);
        EXPECT_EQ(nurbsSizes(in), (std::vector<int32_t>{2, 0, 0, 0, 0, 0, 7}));
        float knots[2] = {};
        EXPECT_EQ(GMD_GetNurbsUKnots(in, knots), 1);
        EXPECT_EQ(knots[1], 0.75f);
        ASSERT_EQ(GMD_GetRecord(in), 1) << "reading goes on after it";
        EXPECT_EQ(GMD_GetRecordType(in), 'G');
    }

    ReadFile fresh(frame('N', floatWords({1, 2, 3})));
    ASSERT_EQ(GMD_GetRecord(fresh), 1);
    EXPECT_EQ(nurbsSizes(fresh), std::vector<int32_t>(7, 0)) << "a handle that never held a surface";
}

// A grid claiming more cells than the words behind it is refused before it
// is sized: 200 x 200 cells need 160000 words, 150000 follow, enough for
// three words a cell. The 'v' frame first leaves the word array larger than
// the claim, so a decoder that read the grid anyway would stay in memory the
// handle owns: what shows is the grid it allocated.
TEST(NurbsDecoding, GridBeyondItsWordsIsRefusedBeforeItIsAllocated) {
    const Words grid = join({floatWords({150006, 0, 0, 200, 200, 0, 0}), zeroWords(150000)});
    ReadFile in(concat({frame('v', zeroWords(200000)), frame('N', grid)}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    AllocationStats stats;
    {
        CountAllocations counter;
        ASSERT_EQ(GMD_GetRecord(in), 1);
        stats = counter.stats();
    }
    EXPECT_EQ(GMD_GetRecordType(in), 0);
    EXPECT_LT(stats.bytes, 4096u) << "largest single request " << stats.largest;
}
