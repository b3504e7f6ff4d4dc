// Wedges and edges: frames of the setter sequences, the letters each
// accessor takes, and the word counts a record read from a file may have.

#include "test_support.h"

using namespace gmdtest;

namespace {

const float kGeometry[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const float kPoint[3] = {0.5f, -1, 2};
const Words kGeometryWords = floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

Words pointAt(std::size_t word) { return join({zeroWords(word), floatWords({0.5f, -1, 2}), zeroWords(9 - word)}); }

// W: the geometry; 1 to 4: kPoint as first vertex, second vertex, left and
// right normal; adjacent polygons L = left 6, R = right 7, E = edge 5, F =
// edge 8; s, q: a segment and a quad.
const Calls kCalls = {
    {'W', [](GMD_File* h) { return GMD_SetWedge(h, kGeometry); }},
    {'1', [](GMD_File* h) { return GMD_SetEWFirstVert(h, kPoint); }},
    {'2', [](GMD_File* h) { return GMD_SetEWSecondVert(h, kPoint); }},
    {'3', [](GMD_File* h) { return GMD_SetEWLeftNormal(h, kPoint); }},
    {'4', [](GMD_File* h) { return GMD_SetEWRightNormal(h, kPoint); }},
    {'L', [](GMD_File* h) { return GMD_SetWedgeLeftAdjacentPolygon(h, 6); }},
    {'R', [](GMD_File* h) { return GMD_SetWedgeRightAdjacentPolygon(h, 7); }},
    {'E', [](GMD_File* h) { return GMD_SetEdgeAdjacentPolygon(h, 5); }},
    {'F', [](GMD_File* h) { return GMD_SetEdgeAdjacentPolygon(h, 8); }},
    {'s', [](GMD_File* h) { return GMD_SetSegment(h, kGeometry); }},
    {'q', [](GMD_File* h) { return GMD_SetQuad(h, kGeometry); }},
};

TEST(MeshWedgeSetters, BuildTheFramesOfTheirLetters) {
    expectScripts(kCalls, {
        {"W", frame('W', kGeometryWords)}, {"1", frame('W', pointAt(0))}, {"2", frame('W', pointAt(3))},
        {"3", frame('W', pointAt(6))}, {"4", frame('W', pointAt(9))},
        {"L", frame('w', join({zeroWords(12), intWords({6, 0})}))},
        {"WR", frame('w', join({kGeometryWords, intWords({0, 7})}))},
        {"RLW4", frame('w', join({floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9, 0.5f, -1, 2}), intWords({6, 7})}))},
        {"EW", frame('e', join({kGeometryWords, intWords({5, 5})}))},
        {"1EF", frame('e', join({pointAt(0), intWords({8, 8})}))},
        // A wedge is never an edge, nor the reverse; other families refuse every wedge setter.
        {"L!E", frame('w', join({zeroWords(12), intWords({6, 0})}))},
        {"E!L!R", frame('e', join({zeroWords(12), intWords({5, 5})}))},
        {"s!W!3!L!E", frame('L', countingWords(6))}, {"W!s!q", frame('W', kGeometryWords)},
    });
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
        {'W', 0, 0},
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
        // The adjacency setters never grow a 'w' or 'e' record; a 'W' of any
        // length becomes a 14-word edge whose missing words are 0.
        GMD_SetEdgeAdjacentPolygon(f, 9);
        GMD_SetWedgeLeftAdjacentPolygon(f, 9);
        GMD_SetWedgeRightAdjacentPolygon(f, 9);
        if (adjacent) {
            EXPECT_EQ(wordsInHand(f).size(), c.words);
        } else {
            const std::size_t kept = c.words < 12 ? c.words : 12;
            EXPECT_EQ(wordsInHand(f), join({Words(words.begin(), words.begin() + static_cast<long>(kept)),
                                            zeroWords(12 - kept), intWords({9, 9})}));
            EXPECT_EQ(GMD_GetEWRightAdjacentPolygon(f, &right), 1);
            EXPECT_EQ(right, 9);
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
