// Wedges and edges: frames of the setter sequences, the letters each
// accessor takes, and the word counts a record read from a file may have.
#include <functional>

#include "test_support.h"

using namespace gmdtest;

namespace {

const float kGeometry[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const float kPoint[3] = {0.5f, -1, 2};
const Words kGeometryWords = floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

Words pointAt(std::size_t word) { return join({zeroWords(word), floatWords({0.5f, -1, 2}), zeroWords(9 - word)}); }

struct BuildCase {
    const char* name;
    std::function<void(GMD_File*)> build;
    Bytes expected;
};

TEST(MeshWedgeSetters, BuildTheFramesOfTheirLetters) {
    const BuildCase cases[] = {
        {"wedge", [](GMD_File* h) { EXPECT_EQ(GMD_SetWedge(h, kGeometry), 1); }, frame('W', kGeometryWords)},
        {"first vertex", [](GMD_File* h) { EXPECT_EQ(GMD_SetEWFirstVert(h, kPoint), 1); }, frame('W', pointAt(0))},
        {"second vertex", [](GMD_File* h) { EXPECT_EQ(GMD_SetEWSecondVert(h, kPoint), 1); }, frame('W', pointAt(3))},
        {"left normal", [](GMD_File* h) { EXPECT_EQ(GMD_SetEWLeftNormal(h, kPoint), 1); }, frame('W', pointAt(6))},
        {"right normal", [](GMD_File* h) { EXPECT_EQ(GMD_SetEWRightNormal(h, kPoint), 1); }, frame('W', pointAt(9))},
        {"left polygon alone", [](GMD_File* h) { EXPECT_EQ(GMD_SetWedgeLeftAdjacentPolygon(h, -4), 1); },
         frame('w', join({zeroWords(12), intWords({-4, 0})}))},
        {"right polygon after the geometry",
         [](GMD_File* h) { GMD_SetWedge(h, kGeometry); EXPECT_EQ(GMD_SetWedgeRightAdjacentPolygon(h, 7), 1); },
         frame('w', join({kGeometryWords, intWords({0, 7})}))},
        {"both polygons, then the geometry",
         [](GMD_File* h) {
             EXPECT_EQ(GMD_SetWedgeRightAdjacentPolygon(h, 7), 1);
             EXPECT_EQ(GMD_SetWedgeLeftAdjacentPolygon(h, 6), 1);
             EXPECT_EQ(GMD_SetWedge(h, kGeometry), 1);
             EXPECT_EQ(GMD_SetEWRightNormal(h, kPoint), 1);
         },
         frame('w', join({floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9, 0.5f, -1, 2}), intWords({6, 7})}))},
        {"edge polygon, then the geometry",
         [](GMD_File* h) { EXPECT_EQ(GMD_SetEdgeAdjacentPolygon(h, 5), 1); EXPECT_EQ(GMD_SetWedge(h, kGeometry), 1); },
         frame('e', join({kGeometryWords, intWords({5, 5})}))},
        {"edge polygon set twice",
         [](GMD_File* h) {
             EXPECT_EQ(GMD_SetEWFirstVert(h, kPoint), 1);
             EXPECT_EQ(GMD_SetEdgeAdjacentPolygon(h, 5), 1);
             EXPECT_EQ(GMD_SetEdgeAdjacentPolygon(h, 8), 1);
         },
         frame('e', join({pointAt(0), intWords({8, 8})}))},
        {"a wedge refuses an edge polygon",
         [](GMD_File* h) { GMD_SetWedgeLeftAdjacentPolygon(h, 1); EXPECT_EQ(GMD_SetEdgeAdjacentPolygon(h, 2), 0); },
         frame('w', join({zeroWords(12), intWords({1, 0})}))},
        {"an edge refuses wedge polygons",
         [](GMD_File* h) {
             GMD_SetEdgeAdjacentPolygon(h, 1);
             EXPECT_EQ(GMD_SetWedgeLeftAdjacentPolygon(h, 2), 0);
             EXPECT_EQ(GMD_SetWedgeRightAdjacentPolygon(h, 2), 0);
         },
         frame('e', join({zeroWords(12), intWords({1, 1})}))},
        {"other families refuse every wedge setter and the reverse",
         [](GMD_File* h) {
             float segment[6] = {};
             GMD_SetSegment(h, segment);
             EXPECT_EQ(GMD_SetWedge(h, kGeometry) + GMD_SetEWLeftNormal(h, kPoint), 0);
             EXPECT_EQ(GMD_SetWedgeLeftAdjacentPolygon(h, 1) + GMD_SetEdgeAdjacentPolygon(h, 1), 0);
             GMD_ResetRecord(h);
             GMD_SetWedge(h, kGeometry);
             EXPECT_EQ(GMD_SetSegment(h, segment) + GMD_SetQuad(h, kGeometry), 0);
         },
         frame('W', kGeometryWords)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frameOf(c.build), c.expected);
    }
}

// What each getter gives on a record read from a file, by letter and word count.
TEST(MeshWedgeReading, AcceptsTwelveOrFourteenWords) {
    struct Case {
        char letter;
        std::size_t words;
        int type;
    };
    const Case cases[] = {
        {'W', 12, 'W'}, {'W', 14, 'W'}, {'W', 13, 0}, {'W', 11, 0}, {'w', 14, 'w'}, {'w', 12, 'w'},
        {'w', 13, 0},   {'w', 15, 0},   {'e', 14, 'e'}, {'e', 12, 'e'}, {'e', 0, 0},  {'e', 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.letter << " with " << c.words << " words");
        const Words words = join({countingWords(12), intWords({21, 22, 23})});
        ReadFile f(frame(c.letter, Words(words.begin(), words.begin() + static_cast<long>(c.words))));
        ASSERT_EQ(GMD_GetRecord(f), 1);
        EXPECT_EQ(GMD_GetRecordType(f), c.type);

        // Each getter answers exactly when the record holds its words.
        float geometry[12] = {};
        const int whole = c.words >= 12 ? 1 : 0;
        EXPECT_EQ(GMD_GetWedge(f, geometry), whole);
        if (whole) {
            EXPECT_EQ(floatWords({geometry[0], geometry[11]}), floatWords({1, 12}));
        }
        float point[3] = {};
        using Getter = int32_t (*)(GMD_File*, float*);
        const Getter getters[] = {GMD_GetEWFirstVert, GMD_GetEWSecondVert, GMD_GetEWLeftNormal, GMD_GetEWRightNormal};
        for (std::size_t k = 0; k < 4; ++k) {
            const bool held = c.words >= 3 * k + 3;
            EXPECT_EQ(getters[k](f, point), held ? 1 : 0) << "getter " << k;
            if (held) {
                EXPECT_EQ(point[2], static_cast<float>(3 * k + 3));
            }
        }
        const bool adjacent = c.letter != 'W';
        int32_t left = 0, right = 0;
        EXPECT_EQ(GMD_GetEWLeftAdjacentPolygon(f, &left), adjacent && c.words >= 13 ? 1 : 0);
        EXPECT_EQ(GMD_GetEWRightAdjacentPolygon(f, &right), adjacent && c.words >= 14 ? 1 : 0);
        if (adjacent && c.words >= 14) {
            EXPECT_EQ(left, 21);
            EXPECT_EQ(right, 22);
        }
        // The adjacency setters never grow a 'w' or 'e' record.
        GMD_SetWedgeLeftAdjacentPolygon(f, 9);
        GMD_SetWedgeRightAdjacentPolygon(f, 9);
        GMD_SetEdgeAdjacentPolygon(f, 9);
        if (adjacent) {
            EXPECT_EQ(wordsInHand(f).size(), c.words);
        }
    }
}

TEST(MeshWedgeSetters, AWedgeReadWithFourteenWordsGainsZeroAdjacencyWords) {
    ReadFile f(frame('W', join({countingWords(12), intWords({21, 22})})));
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_SetWedgeLeftAdjacentPolygon(f, 3), 1);
    EXPECT_EQ(inHand(f).record.letter, 'w');
    EXPECT_EQ(wordsInHand(f), join({countingWords(12), intWords({3, 0})}));
}

}  // namespace
