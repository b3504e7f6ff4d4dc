// Segment radius and volume, polygon volumes, FSS orientation and thickness
// list: the frames each setter sequence builds (with the attribute layout
// code), refusals that leave the record alone, and the getters on records
// read from a file.
#include "test_support.h"

using namespace gmdtest;

namespace {

const float kSegment[6] = {1, 2, 3, 4, 5, 6};
const float kTriangle[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
const float kQuad[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const float kOrientation[3] = {0.5f, -0.25f, 8};
const float kOtherOrientation[3] = {9, 10, 11};
const float kThickness[3] = {0.125f, 2.5f, -3};

const Words kSegmentWords = countingWords(6), kTriangleWords = countingWords(9), kQuadWords = countingWords(12);
const Words kOrientationWords = floatWords({0.5f, -0.25f, 8});

// s, t, q: segment, triangle, quad; x: quad vertex 0; r: radius 0.75; v:
// segment volume 42; p, P: polygon volumes (3, -4), (7, 8); o, O: the two
// orientations; digits: a thickness list of that many values, T: one of two
// other values; n: a negative count; g, G, h: group2 77, group 12, group2 7;
// w: a wedge.
const Calls kCalls = {
    {'s', [](GMD_File* h) { return GMD_SetSegment(h, kSegment); }},
    {'t', [](GMD_File* h) { return GMD_SetTriangle(h, kTriangle); }},
    {'q', [](GMD_File* h) { return GMD_SetQuad(h, kQuad); }},
    {'x', [](GMD_File* h) { return GMD_SetQuadVertex(h, 0, kQuad); }},
    {'r', [](GMD_File* h) { return GMD_SetSegmentRadius(h, 0.75f); }},
    {'v', [](GMD_File* h) { return GMD_SetSegmentVolume(h, 42); }},
    {'p', [](GMD_File* h) { return GMD_SetPolygonVolumes(h, 3, -4); }},
    {'P', [](GMD_File* h) { return GMD_SetPolygonVolumes(h, 7, 8); }},
    {'o', [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kOrientation); }},
    {'O', [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kOtherOrientation); }},
    {'0', [](GMD_File* h) { return GMD_SetPolygonThickness(h, 0, nullptr); }},
    {'1', [](GMD_File* h) { return GMD_SetPolygonThickness(h, 1, kThickness); }},
    {'2', [](GMD_File* h) { return GMD_SetPolygonThickness(h, 2, kThickness); }},
    {'3', [](GMD_File* h) { return GMD_SetPolygonThickness(h, 3, kThickness); }},
    {'T', [](GMD_File* h) { return GMD_SetPolygonThickness(h, 2, kOrientation); }},
    {'n', [](GMD_File* h) { return GMD_SetPolygonThickness(h, -1, kThickness); }},
    {'g', [](GMD_File* h) { return GMD_SetGroup2(h, 77); }},
    {'G', [](GMD_File* h) { return GMD_SetGroup(h, 12); }},
    {'h', [](GMD_File* h) { return GMD_SetGroup2(h, 7); }},
    {'w', [](GMD_File* h) { return GMD_SetWedge(h, kQuad); }},
};

const Words kRadius = floatWords({0.75f}), kVolume = intWords({42});

TEST(MeshAttributeSetters, BuildSegmentFrames) {
    expectScripts(kCalls, {
        {"sr", frame('L', join({kSegmentWords, kRadius}))},
        {"r", frame('L', join({zeroWords(6), kRadius}))},
        {"rr", frame('L', join({zeroWords(6), kRadius}))},  // still seven words
        {"v", frame('l', join({zeroWords(7), kVolume}))},
        {"svr", frame('l', join({kSegmentWords, kRadius, kVolume}))},
        {"srv", frame('l', join({kSegmentWords, zeroWords(1), kVolume}))},  // 'L' to 'l' loses the radius
        {"vrs", frame('l', join({kSegmentWords, kRadius, kVolume}))},
    });
}

// The second header byte of an 'A' frame is the layout code of its
// orientation and thickness list (0 to 4).
TEST(MeshAttributeSetters, BuildPolygonFramesWithTheirLayoutCodes) {
    const Words t1 = floatWords({0.125f}), t2 = floatWords({0.125f, 2.5f});
    expectScripts(kCalls, {
        {"tp", frame('p', join({kTriangleWords, intWords({3, -4})}))},
        {"qpP", frame('p', join({kQuadWords, intWords({7, 8})}))},
        {"to", frame('A', join({kTriangleWords, kOrientationWords}), 0, 0)},
        {"qOo", frame('A', join({kQuadWords, kOrientationWords}), 0, 0)},
        {"t2", frame('A', join({kTriangleWords, intWords({2}), t2}), 0, 1)},
        {"t0", frame('A', join({kTriangleWords, intWords({0})}), 0, 1)},
        {"q1", frame('A', join({kQuadWords, intWords({1}), t1}), 0, 2)},
        {"t3o", frame('A', join({kTriangleWords, kOrientationWords, intWords({3}), floatWords({0.125f, 2.5f, -3})}), 0, 3)},
        {"q1o", frame('A', join({kQuadWords, kOrientationWords, intWords({1}), t1}), 0, 4)},
        {"q0o", frame('A', join({kQuadWords, kOrientationWords, intWords({0})}), 0, 4)},
        // A list of the same length is overwritten in place, also behind the orientation.
        {"tTo2", frame('A', join({kTriangleWords, kOrientationWords, intWords({2}), t2}), 0, 3)},
        {"x1oq", frame('A', join({kQuadWords, kOrientationWords, intWords({1}), t1}), 0, 4)},
        // The layout code overrides the client's byte; without a list the client's byte goes out.
        {"gt1", frame('A', join({kTriangleWords, intWords({1}), t1}), 0, 1)},
        {"Gtoh", frame('A', join({kTriangleWords, kOrientationWords}), 12, 7)},
    });
}

TEST(MeshAttributeSetters, RefuseAndLeaveTheRecordAlone) {
    expectRefusals(kCalls, {
        {"", 'p'}, {"t1", 'p'}, {"s", 'p'},            // volumes on the empty record, an 'A', a segment
        {"", 'o'}, {"qp", 'o'},                         // orientation on the empty record, a 'p'
        {"", '1'}, {"tp", '1'}, {"t", 'n'},             // thickness on the empty record, a 'p'; negative count
        {"to", '1'}, {"q2", '1'}, {"q1o", '2'},         // a list of another length, or none, in an 'A'
        {"t", 'r'}, {"q", 'v'}, {"w", 'r'},             // segment attributes on other letters
    });
}

// An 'A' record being built has second header byte 0, so its thickness
// list is not reported until it has been written and read, unless the
// client sets that byte itself.
TEST(MeshAttributeGetters, AnswerFromTheRecordBeingBuilt) {
    Scratch h;
    runScript(h, kCalls, "t2");
    float o[3] = {};
    EXPECT_EQ(GMD_GetPolygonFSSorientation(h, o), 0);
    runScript(h, kCalls, "o");
    EXPECT_EQ(GMD_GetPolygonFSSorientation(h, o), 1);
    EXPECT_EQ(o[2], kOrientation[2]);
    int32_t n = 99;
    EXPECT_EQ(GMD_GetPolygonNumThickness(h, &n), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(GMD_GetPolygonThickness(h, o), 0);
    GMD_SetGroup2(h, 3);
    EXPECT_EQ(GMD_GetPolygonNumThickness(h, &n), 1);
    EXPECT_EQ(n, 2);
}

// Getters on single crafted frames. Expected values are the words of the
// frame: countingWords puts k + 1.0 into word k, and integer words are
// given explicitly.
struct ReadCase {
    const char* name;
    Bytes frame;
    int radius;             // word index of the radius, or -1 when refused
    bool volume;            // 'l' volume readable
    int polygonVolumes;     // word index of the first volume number, or -1
    int orientation;        // word index of the orientation, or -1
    int thickness;          // word index of the thickness count, or -1
};

Bytes withCount(char letter, int group2, std::size_t before, std::int32_t count, std::size_t after) {
    return frame(letter, join({countingWords(before), intWords({count}), countingWords(after)}), 0,
                 static_cast<std::int8_t>(group2));
}

TEST(MeshAttributeGetters, ReadOnlyWordsTheRecordHolds) {
    const ReadCase cases[] = {
        {"'L' of 6 words", frame('L', countingWords(6)), -1, false, -1, -1, -1},
        {"'L' of 9 words", frame('L', countingWords(9)), 6, false, -1, -1, -1},
        {"legacy 'P' of 8 words", frame('P', countingWords(8)), 6, false, -1, -1, -1},
        {"'l'", frame('l', join({countingWords(7), intWords({-3})})), 6, true, -1, -1, -1},
        {"invalid 'l' of 7 words", frame('l', countingWords(7)), 6, false, -1, -1, -1},
        {"'p' triangle", frame('p', join({countingWords(9), intWords({4, 5})})), -1, false, 9, -1, -1},
        {"'p' quad", frame('p', join({countingWords(12), intWords({4, 5})})), -1, false, 12, -1, -1},
        {"code 0 triangle", frame('A', countingWords(12), 0, 0), -1, false, -1, 9, -1},
        {"code 0 quad", frame('A', countingWords(15), 0, 0), -1, false, -1, 12, -1},
        {"code 1", withCount('A', 1, 9, 2, 2), -1, false, -1, -1, 9},
        {"code 2", withCount('A', 2, 12, 1, 1), -1, false, -1, -1, 12},
        {"code 3", withCount('A', 3, 12, 3, 3), -1, false, -1, 9, 12},
        {"code 4", withCount('A', 4, 15, 0, 0), -1, false, -1, 12, 15},
        {"code 1, list shorter than its count", withCount('A', 1, 9, 3, 2), -1, false, -1, -1, -1},
        {"code 2, negative count", withCount('A', 2, 12, -1, 0), -1, false, -1, -1, 12},  // copies nothing
        {"code 1, negative count", withCount('A', 1, 9, -2, 0), -1, false, -1, -1, 9},
        {"code 3 without room for its orientation", frame('A', countingWords(10), 0, 3), -1, false, -1, -1, -1},
        {"code 4 without its thickness count", frame('A', countingWords(15), 0, 4), -1, false, -1, 12, -1},
        {"'P' with byte 7 set", frame('P', countingWords(9), 0, 2), -1, false, -1, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile f(c.frame);
        ASSERT_EQ(GMD_GetRecord(f), 1);
        const Words words = wordsInHand(f);
        float r = -1;
        EXPECT_EQ(GMD_GetSegmentRadius(f, &r), c.radius >= 0 ? 1 : 0);
        if (c.radius >= 0) {
            EXPECT_EQ(floatBits(r), words[c.radius]);
        }
        int32_t v = 0, v2 = 0;
        EXPECT_EQ(GMD_GetSegmentVolume(f, &v), c.volume ? 1 : 0);
        if (c.volume) {
            EXPECT_EQ(v, -3);
        }
        EXPECT_EQ(GMD_GetPolygonVolumes(f, &v, &v2), c.polygonVolumes >= 0 ? 1 : 0);
        if (c.polygonVolumes >= 0) {
            EXPECT_EQ(v, 4);
            EXPECT_EQ(v2, 5);
        }
        float o[3] = {};
        EXPECT_EQ(GMD_GetPolygonFSSorientation(f, o), c.orientation >= 0 ? 1 : 0);
        if (c.orientation >= 0) {
            EXPECT_EQ(floatBits(o[0]), words[c.orientation]);
        }
        int32_t n = 99;
        std::vector<float> t(8, -1);
        EXPECT_EQ(GMD_GetPolygonNumThickness(f, &n), c.thickness >= 0 ? 1 : 0);
        EXPECT_EQ(GMD_GetPolygonThickness(f, t.data()), c.thickness >= 0 ? 1 : 0);
        if (c.thickness >= 0) {
            ASSERT_EQ(n, static_cast<int32_t>(words[c.thickness]));
            for (int32_t i = 0; i < n; ++i) EXPECT_EQ(floatBits(t[i]), words[c.thickness + 1 + i]);
            EXPECT_EQ(t[n < 0 ? 0 : n], -1) << "copied past the list";
        } else {
            EXPECT_EQ(n, 0);
            EXPECT_EQ(t[0], -1);
        }
    }
}

TEST(MeshAttributeSetters, AmendRecordsReadFromAFile) {
    ReadFile f(concat({
        frame('L', countingWords(9)),
        withCount('A', 1, 9, 1, 1),
        frame('A', countingWords(9), 0, 3),
        withCount('A', 2, 12, 2, 2),
        withCount('A', 1, 9, 5, 2),
    }));
    // A longer segment is cut to its radius form.
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_SetSegmentRadius(f, 0.5f), 1);
    EXPECT_EQ(wordsInHand(f), join({countingWords(6), floatWords({0.5f})}));

    // A thickness list read from the file slides behind a new orientation.
    ASSERT_EQ(GMD_GetRecord(f), 1);
    runScript(f, kCalls, "o");
    EXPECT_EQ(wordsInHand(f), join({countingWords(9), kOrientationWords, intWords({1}), floatWords({1})}));

    // Code 3 says the orientation is there, but the record ends at its
    // vertices: neither setter may write behind it.
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_SetPolygonFSSorientation(f, kOrientation), 0);
    EXPECT_EQ(GMD_SetPolygonThickness(f, 0, kThickness), 0);
    EXPECT_EQ(wordsInHand(f), countingWords(9));

    // A list of the same length is overwritten in place.
    ASSERT_EQ(GMD_GetRecord(f), 1);
    runScript(f, kCalls, "2");
    EXPECT_EQ(wordsInHand(f), join({countingWords(12), intWords({2}), floatWords({0.125f, 2.5f})}));

    // The last three words have the length of a list of 2 but count 5.
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_SetPolygonThickness(f, 2, kThickness), 0);
    EXPECT_EQ(wordsInHand(f), join({countingWords(9), intWords({5}), countingWords(2)}));
}

}  // namespace
