// The word form of NURBS surfaces: exact encodings, decoding and the checks
// that turn a damaged 'N' record into an invalid one.
#include <functional>
#include <limits>

#include "surfaces_support.h"

using namespace gmdtest;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// An 'N' payload whose word 0 is right for the words given after it.
std::vector<uint32_t> nurbsWords(std::initializer_list<float> afterWordZero) {
    std::vector<uint32_t> words{floatBits(static_cast<float>(afterWordZero.size()))};
    for (float f : afterWordZero) words.push_back(floatBits(f));
    return words;
}

std::vector<int32_t> sizesOf(GMD_File* h) {
    std::vector<int32_t> sizes(7, -99);
    EXPECT_EQ(GMD_GetNurbsSizes(h, sizes.data()), 1);
    return sizes;
}

}  // namespace

TEST(NurbsEncoding, ExactFrames) {
    float uKnots[4] = {0, 0, 1, 1}, vKnots[4] = {0, 0.5f, 0.5f, 1};
    // Control point (i, j) = (10i + j, 0.1, -j); 0.1 goes to file as its float rounding.
    float points[12] = {0, 0.1f, 0, 1, 0.1f, -1, 10, 0.1f, 0, 11, 0.1f, -1};
    float weights[4] = {1, 0.5f, 0.25f, 2};
    int32_t dimensions[2] = {3, 5};
    float boundary[16];
    for (int k = 0; k < 16; ++k) boundary[k] = 0.5f * k;

    struct Case {
        const char* name;
        std::function<void(GMD_File*)> build;
        std::vector<uint32_t> words;
        int8_t group = 0, group2 = 0;
    } cases[] = {
        {"no sections, hole origin 5", [](GMD_File* h) { EXPECT_EQ(GMD_SetNurbsHoleOrigin(h, 5), 1); },
         floatWords({6, 0, 0, 0, 0, 0, 5})},
        {"negative hole origin", [](GMD_File* h) { GMD_SetNurbsHoleOrigin(h, -1); }, floatWords({6, 0, 0, 0, 0, 0, -1})},
        {"4 + 4 knots, 2 x 2 grid: points in row order, weight last",
         [&](GMD_File* h) {
             const int32_t sizes[7] = {4, 4, 2, 2, 0, 0, 3};
             ASSERT_EQ(GMD_SetNurbsSizes(h, sizes), 1);
             GMD_NurbsData data{uKnots, vKnots, points, weights, nullptr, nullptr};
             ASSERT_EQ(GMD_SetNurbsData(h, &data), 1);
         },
         floatWords({30, 4, 4, 2, 2, 0, 3, 0, 0, 1, 1, 0, 0.5f, 0.5f, 1,  //
                     0, 0.1f, 0, 1, 1, 0.1f, -1, 0.5f, 10, 0.1f, 0, 0.25f, 11, 0.1f, -1, 2})},
        {"boundaries of 3 and 5 points",
         [&](GMD_File* h) {
             const int32_t sizes[7] = {0, 0, 0, 0, 2, 8, 0};
             ASSERT_EQ(GMD_SetNurbsSizes(h, sizes), 1);
             GMD_NurbsData data{nullptr, nullptr, nullptr, nullptr, dimensions, boundary};
             ASSERT_EQ(GMD_SetNurbsData(h, &data), 1);
         },
         floatWords({24, 0, 0, 0, 0, 2, 0, 3, 5, 0, 0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 5.5f, 6, 6.5f, 7, 7.5f})},
        {"header bytes as the caller set them",
         [](GMD_File* h) {
             GMD_SetGroup(h, -7);
             GMD_SetNurbsNumBounds(h, 1);
             GMD_SetGroup2(h, 12);
         },
         floatWords({7, 0, 0, 0, 0, 1, 0, 0}), -7, 12},
        {"the grid takes its shape from the second count set",
         [](GMD_File* h) {
             GMD_SetNurbsNumVcontrolPoints(h, 1);
             GMD_SetNurbsNumUcontrolPoints(h, 2);
             const float p[3] = {1, 2, 3};
             EXPECT_EQ(GMD_SetNurbsControlPoint(h, 1, 0, p), 1);
         },
         floatWords({14, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        Bytes bytes = writtenBytes(file, [&](GMD_File* h) {
            c.build(h);
            EXPECT_EQ(GMD_WriteRecord(h), 1);
        });
        EXPECT_EQ(bytes, frame('N', c.words, c.group, c.group2));
    }
}

TEST(NurbsEncoding, ModelOutlivesTheWriteAndTheNextSurfaceStartsCleared) {
    TempFile file;
    Handle out(GMD_OpenWriteFile(file.c_str()));
    const int32_t sizes[7] = {4, 2, 1, 1, 1, 1, 9};
    ASSERT_EQ(GMD_SetNurbsSizes(out, sizes), 1);
    ASSERT_EQ(GMD_WriteRecord(out), 1);
    int32_t n = -1;
    EXPECT_EQ(GMD_GetNurbsNumUknots(out, &n), 0) << "the reset record is no surface";
    ASSERT_EQ(GMD_SetNurbsNumVknots(out, 3), 1);
    EXPECT_EQ(sizesOf(out), (std::vector<int32_t>{0, 3, 0, 0, 0, 0, 0}));
    ASSERT_EQ(GMD_WriteRecord(out), 1);
    out.close();
    EXPECT_EQ(file.bytes(), concat({frame('N', floatWords({19, 4, 2, 1, 1, 1, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
                                    frame('N', floatWords({9, 0, 3, 0, 0, 0, 0, 0, 0, 0}))}));
}

TEST(NurbsEncoding, PointCountDisagreeingWithDimensionsIsWrittenAsItStands) {
    TempFile file;
    Bytes bytes = writtenBytes(file, [](GMD_File* h) {
        const int32_t sizes[7] = {0, 0, 0, 0, 1, 2, 0};
        GMD_SetNurbsSizes(h, sizes);
        GMD_SetNurbsBoundaryDimension(h, 0, 1);
        const float values[4] = {1, 2, 3, 4};
        GMD_SetNurbsAllBoundaryPoints(h, values);
        GMD_WriteRecord(h);
    });
    ASSERT_EQ(bytes, frame('N', floatWords({11, 0, 0, 0, 0, 1, 0, 1, 1, 2, 3, 4})));

    ReadFile in(bytes);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 'N');
    EXPECT_EQ(sizesOf(in)[5], 1) << "the dimensions define the point count";
    float values[4] = {};
    EXPECT_EQ(GMD_GetNurbsAllBoundaryPoints(in, values), 1);
    EXPECT_EQ(values[0], 1.0f);
    EXPECT_EQ(values[1], 2.0f);
    EXPECT_EQ(values[2], 0.0f) << "only two values belong to the surface read";
}

TEST(NurbsDecoding, SoundRecords) {
    struct Case {
        const char* name;
        std::vector<uint32_t> words;
        std::vector<int32_t> sizes;
        std::vector<float> uKnots;
        std::vector<float> boundary;
    } cases[] = {
        {"no sections", nurbsWords({0, 0, 0, 0, 0, 5}), {0, 0, 0, 0, 0, 0, 5}, {}, {}},
        {"counts truncate toward zero", nurbsWords({3.9f, 0, 0, 0, 0.5f, -1.7f, 1, 2, 3}), {3, 0, 0, 0, 0, 0, -1}, {1, 2, 3}, {}},
        {"a count of -0.5 is 0", nurbsWords({-0.5f, 0, 0, 0, 0, 0}), {0, 0, 0, 0, 0, 0, 0}, {}, {}},
        {"words after the last section are ignored", nurbsWords({1, 0, 0, 0, 0, 0, 4, 99, 98}), {1, 0, 0, 0, 0, 0, 0}, {4}, {}},
        {"the point count is the sum of the dimensions",
         nurbsWords({0, 0, 0, 0, 2, 0, 1, 2.5f, 10, 11, 12, 13, 14, 15}),
         {0, 0, 0, 0, 2, 3, 0},
         {},
         {10, 11, 12, 13, 14, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile in(frame('N', c.words));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(GMD_GetRecordType(in), 78);
        EXPECT_EQ(sizesOf(in), c.sizes);
        std::vector<float> knots(c.uKnots.size()), boundary(c.boundary.size());
        EXPECT_EQ(GMD_GetNurbsUKnots(in, knots.data()), 1);
        EXPECT_EQ(knots, c.uKnots);
        EXPECT_EQ(GMD_GetNurbsAllBoundaryPoints(in, boundary.data()), 1);
        EXPECT_EQ(boundary, c.boundary);
    }
}

TEST(NurbsDecoding, DamagedRecordsAreInvalidAndKeepTheEarlierSurface) {
    const float big = 2147483520.0f;  // the largest float below 2^31
    struct Case {
        const char* name;
        std::vector<uint32_t> words;
    } cases[] = {
        {"no words", {}},
        {"six words", floatWords({5, 0, 0, 0, 0, 0})},
        {"word 0 one too high", floatWords({7, 0, 0, 0, 0, 0, 0})},
        {"word 0 one too low", floatWords({5, 0, 0, 0, 0, 0, 0})},
        {"word 0 of 31 in a 31-word record", joinWords({floatWords({31, 4, 4, 2, 2, 0, 0}), std::vector<uint32_t>(24, 0)})},
        {"word 0 of 29 in a 31-word record", joinWords({floatWords({29, 4, 4, 2, 2, 0, 0}), std::vector<uint32_t>(24, 0)})},
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
        {"dimensions announce more points than present",
         nurbsWords({0, 0, 0, 0, 2, 0, 3, 5, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})},
        {"dimensions summing past int32", nurbsWords({0, 0, 0, 0, 2, 0, 2e9f, 2e9f, 1, 2})},
    };
    const Bytes earlier = frame('N', nurbsWords({2, 0, 0, 0, 0, 7, 0.25f, 0.75f}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile in(concat({earlier, frame('N', c.words), frame('G', floatWords({1}))}));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        ASSERT_EQ(GMD_GetRecordType(in), 'N');
        ASSERT_EQ(GMD_GetRecord(in), 1) << "an invalid record is still read";
        EXPECT_EQ(GMD_GetRecordType(in), 0);
        EXPECT_EQ(sizesOf(in), (std::vector<int32_t>{2, 0, 0, 0, 0, 0, 7}));
        float knots[2] = {};
        EXPECT_EQ(GMD_GetNurbsUKnots(in, knots), 1);
        EXPECT_EQ(knots[0], 0.25f);
        EXPECT_EQ(knots[1], 0.75f);
        ASSERT_EQ(GMD_GetRecord(in), 1) << "reading goes on after it";
        EXPECT_EQ(GMD_GetRecordType(in), 'G');
    }
}

TEST(NurbsDecoding, InvalidRecordOnAFreshHandleAnswersAnEmptySurface) {
    ReadFile in(frame('N', floatWords({1, 2, 3})));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 0);
    EXPECT_EQ(sizesOf(in), (std::vector<int32_t>(7, 0)));
}

TEST(NurbsDecoding, OtherLettersLeaveTheSurfaceAlone) {
    ReadFile in(concat({frame('N', nurbsWords({1, 0, 0, 0, 0, 4, 0.5f})), frame('G', floatWords({2})),
                        frame('N', floatWords({0}))}));
    for (int r = 0; r < 3; ++r) ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(sizesOf(in), (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 4}));
}
