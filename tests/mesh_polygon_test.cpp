// Segments and polygons: the frames the vertex setters build, what the
// accessors accept, and how records read from a file are converted, judged
// and classified.
#include <functional>

#include "test_support.h"

using namespace gmdtest;

namespace {

const float kSegment[6] = {1, 2, 3, 4, 5, 6};
const float kTriangle[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
const float kQuad[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const float kVertex[3] = {-1.5f, 2.25f, 1e-3f};

Words vertexAt(std::size_t before, std::size_t after) {
    return join({zeroWords(before), floatWords({-1.5f, 2.25f, 1e-3f}), zeroWords(after)});
}

// Whole shapes (s, t, q) and their aliases (S, T, Q); single vertices of
// kVertex: a = segment 1, b = triangle 1, c = triangle 2, e = triangle 0,
// d = quad 3, f = quad 0, and out of range A = segment 2, B = triangle 3,
// D = quad 4, F = quad 2^32 - 1; 0 to 3: quad vertex k of kQuad; g, h:
// group -5 and group2 9; G: a tolerance record.
const Calls kCalls = {
    {'s', [](GMD_File* h) { return GMD_SetSegment(h, kSegment); }},
    {'S', [](GMD_File* h) { return GMD_SetSegmentVertices(h, kSegment); }},
    {'t', [](GMD_File* h) { return GMD_SetTriangle(h, kTriangle); }},
    {'T', [](GMD_File* h) { return GMD_SetTriangleVertices(h, kTriangle); }},
    {'q', [](GMD_File* h) { return GMD_SetQuad(h, kQuad); }},
    {'Q', [](GMD_File* h) { return GMD_SetQuadVertices(h, kQuad); }},
    {'a', [](GMD_File* h) { return GMD_SetSegmentVertex(h, 1, kVertex); }},
    {'b', [](GMD_File* h) { return GMD_SetTriangleVertex(h, 1, kVertex); }},
    {'c', [](GMD_File* h) { return GMD_SetTriangleVertex(h, 2, kVertex); }},
    {'e', [](GMD_File* h) { return GMD_SetTriangleVertex(h, 0, kVertex); }},
    {'d', [](GMD_File* h) { return GMD_SetQuadVertex(h, 3, kVertex); }},
    {'f', [](GMD_File* h) { return GMD_SetQuadVertex(h, 0, kVertex); }},
    {'A', [](GMD_File* h) { return GMD_SetSegmentVertex(h, 2, kVertex); }},
    {'B', [](GMD_File* h) { return GMD_SetTriangleVertex(h, 3, kVertex); }},
    {'D', [](GMD_File* h) { return GMD_SetQuadVertex(h, 4, kVertex); }},
    {'F', [](GMD_File* h) { return GMD_SetQuadVertex(h, 0xFFFFFFFFu, kVertex); }},
    {'0', [](GMD_File* h) { return GMD_SetQuadVertex(h, 0, kQuad); }},
    {'1', [](GMD_File* h) { return GMD_SetQuadVertex(h, 1, kQuad + 3); }},
    {'2', [](GMD_File* h) { return GMD_SetQuadVertex(h, 2, kQuad + 6); }},
    {'3', [](GMD_File* h) { return GMD_SetQuadVertex(h, 3, kQuad + 9); }},
    {'g', [](GMD_File* h) { return GMD_SetGroup(h, -5); }},
    {'h', [](GMD_File* h) { return GMD_SetGroup2(h, 9); }},
    {'G', [](GMD_File* h) { return GMD_SetTolerance(h, 0.5f); }},
};

TEST(MeshVertexSetters, BuildTheFramesOfTheirLetters) {
    const Words segment = countingWords(6), triangle = countingWords(9), quad = countingWords(12);
    expectScripts(kCalls, {
        {"s", frame('L', segment)}, {"S", frame('L', segment)}, {"a", frame('L', vertexAt(3, 0))},
        {"t", frame('P', triangle)}, {"T", frame('P', triangle)}, {"b", frame('P', vertexAt(3, 3))},
        {"q", frame('P', quad)}, {"Q", frame('P', quad)}, {"d", frame('P', vertexAt(9, 0))},
        {"tc", frame('P', join({countingWords(6), vertexAt(0, 0)}))},
        {"0123", frame('P', quad)},
        {"ghs", frame('L', segment, -5, 9)},  // group bytes set first travel with the record
        // A setter of another shape or family is refused.
        {"t!q!f", frame('P', triangle)}, {"q!t!e", frame('P', quad)}, {"t!s", frame('P', triangle)},
        {"s!t!f", frame('L', segment)}, {"G!s!t!f", frame('G', floatWords({0.5f}))},
        {"!A!B!D!F", frame(0, {})},  // an index out of range never creates a record
    });
}

TEST(MeshVertexGetters, AcceptTheirShapeOnly) {
    struct Case {
        const char* name;
        std::function<void(GMD_File*)> build;
        bool segment, triangle, quad;
        int vertices;  // GetVertex succeeds for indices below this
    };
    const Case cases[] = {
        {"segment", [](GMD_File* h) { GMD_SetSegment(h, kQuad); }, true, false, false, 2},
        {"segment with volume",
         [](GMD_File* h) { GMD_SetSegmentVolume(h, 3); GMD_SetSegment(h, kQuad); },
         true, false, false, 2},
        {"triangle", [](GMD_File* h) { GMD_SetTriangle(h, kQuad); }, false, true, false, 3},
        {"quad", [](GMD_File* h) { GMD_SetQuad(h, kQuad); }, false, false, true, 4},
        {"volume triangle",
         [](GMD_File* h) { GMD_SetTriangle(h, kQuad); GMD_SetPolygonVolumes(h, 1, 2); },
         false, true, false, 3},
        {"attributed quad",
         [](GMD_File* h) { GMD_SetQuad(h, kQuad); GMD_SetPolygonFSSorientation(h, kVertex); },
         false, false, true, 4},
        {"empty record", [](GMD_File*) {}, false, false, false, 0},
        {"wedge", [](GMD_File* h) { GMD_SetWedge(h, kQuad); }, false, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        Handle h(GMD_OpenWriteFile(file.c_str()));
        c.build(h);
        float out[12] = {};
        EXPECT_EQ(GMD_GetSegment(h, out), c.segment ? 1 : 0);
        EXPECT_EQ(GMD_GetSegmentVertices(h, out), c.segment ? 1 : 0);
        EXPECT_EQ(GMD_GetTriangle(h, out), c.triangle ? 1 : 0);
        EXPECT_EQ(GMD_GetTriangleVertices(h, out), c.triangle ? 1 : 0);
        EXPECT_EQ(GMD_GetQuad(h, out), c.quad ? 1 : 0);
        EXPECT_EQ(GMD_GetQuadVertices(h, out), c.quad ? 1 : 0);
        if (c.vertices > 0) {
            EXPECT_EQ(std::vector<float>(out, out + 3 * c.vertices), std::vector<float>(kQuad, kQuad + 3 * c.vertices));
        }
        for (std::uint32_t index = 0; index < 6; ++index) {
            float vertex[3] = {-7, -7, -7};
            const bool ok = static_cast<int>(index) < c.vertices;
            EXPECT_EQ(GMD_GetVertex(h, index, vertex), ok ? 1 : 0) << "index " << index;
            if (ok) {
                EXPECT_EQ(vertex[0], kQuad[3 * index]);
            } else {
                EXPECT_EQ(vertex[0], -7) << "a refused getter wrote its output";
            }
        }
        EXPECT_EQ(GMD_GetVertex(h, 0xFFFFFFFFu, out), 0);
    }
}

// Reading one crafted frame and what GetRecordType and the words in hand are then.
struct ReadCase {
    char letter;
    int group2;
    std::size_t words;
    int type;          // record type code after reading
    std::size_t kept;  // words in hand after reading
};

void expectRead(const ReadCase& c) {
    SCOPED_TRACE(::testing::Message() << "letter " << c.letter << ", byte 7 " << c.group2 << ", " << c.words
                                      << " words");
    ReadFile f(frame(c.letter, countingWords(c.words), 3, static_cast<std::int8_t>(c.group2)));
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_GetRecordType(f), c.type);
    EXPECT_EQ(wordsInHand(f), countingWords(c.kept));
    int32_t group = 0;
    GMD_GetGroup(f, &group);
    EXPECT_EQ(group, 3);
}

TEST(MeshReading, ConvertsLegacyPolygonsByWordCount) {
    const ReadCase cases[] = {
        {'P', 0, 0, 0, 0},   {'P', 0, 3, 0, 3},   {'P', 0, 6, 0, 6},    {'P', 0, 7, 'L', 7},  {'P', 0, 8, 'L', 7},
        {'P', 0, 9, 3, 9},   {'P', 0, 10, 3, 9},  {'P', 0, 11, 3, 9},   {'P', 0, 12, 4, 12},  {'P', 0, 13, 4, 12},
        {'P', 0, 14, 4, 12}, {'P', 0, 40, 4, 12}, {'P', 4, 10, 3, 9},   {'P', 1, 12, 4, 12},
        // No other letter is converted.
        {'p', 0, 12, 0, 12}, {'A', 1, 13, 5, 13}, {'L', 0, 8, 'L', 8},
    };
    for (const auto& c : cases) expectRead(c);
}

TEST(MeshReading, AcceptsAndClassifiesByLetterLayoutCodeAndWordCount) {
    const ReadCase cases[] = {
        // 'p': 11 or 14 words whatever the second header byte.
        {'p', 0, 11, 1, 11}, {'p', 7, 11, 1, 11}, {'p', -3, 14, 2, 14}, {'p', 0, 9, 0, 9}, {'p', 0, 13, 0, 13},
        {'p', 0, 15, 0, 15},
        // 'A' code 0: exactly 12 (triangle) or 15 (quad) words.
        {'A', 0, 12, 5, 12}, {'A', 0, 15, 6, 15}, {'A', 0, 9, 0, 9}, {'A', 0, 13, 0, 13}, {'A', 0, 16, 0, 16},
        // Codes 1 and 3 are triangles, 2 and 4 quads, at any word count.
        {'A', 1, 10, 5, 10}, {'A', 1, 0, 5, 0}, {'A', 3, 13, 5, 13}, {'A', 3, 5, 5, 5}, {'A', 2, 13, 6, 13},
        {'A', 2, 100, 6, 100}, {'A', 4, 16, 6, 16}, {'A', 4, 2, 6, 2},
        // Any other code is invalid.
        {'A', 5, 12, 0, 12}, {'A', -1, 15, 0, 15}, {'A', 32, 13, 0, 13},
        // Segments: 'L' of 6 words or more, 'l' of exactly 8.
        {'L', 0, 6, 'L', 6}, {'L', 0, 7, 'L', 7}, {'L', 5, 9, 'L', 9}, {'L', 0, 5, 0, 5}, {'L', 0, 0, 0, 0},
        {'l', 0, 8, 'l', 8}, {'l', 0, 7, 0, 7}, {'l', 0, 9, 0, 9},
    };
    for (const auto& c : cases) expectRead(c);
}

TEST(MeshReading, SetsQuadAndAttributeFlagsOnlyForValidPolygons) {
    struct Step {
        Bytes frame;
        bool quad;
        int attribute;
    };
    const Step steps[] = {
        {frame('P', countingWords(12)), true, 0},
        {frame('G', floatWords({1})), true, 0},            // other letters leave the flags alone
        {frame('L', countingWords(6)), true, 0},           // so do segments
        {frame('A', countingWords(12), 0, 0), false, 1},   // code 0 carries an orientation
        {frame('P', countingWords(4)), false, 1},          // invalid polygons leave the flags alone
        {frame('A', countingWords(12), 0, 9), false, 1},
        {frame('p', countingWords(14), 0, 3), true, 0},    // 'p' clears the attribute flag whatever byte 7 is
        {frame('A', countingWords(16), 0, 4), true, 1},
        {frame('A', countingWords(13), 0, 2), true, 0},
        {frame('A', countingWords(13), 0, 3), false, 1},
        {frame('A', countingWords(10), 0, 1), false, 0},
        {frame('P', countingWords(9), 0, 3), false, 0},
        {frame(0, countingWords(2)), false, 0},
    };
    Bytes all;
    for (const auto& s : steps) all.insert(all.end(), s.frame.begin(), s.frame.end());
    ReadFile f(all);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(::testing::Message() << "record " << i);
        ASSERT_EQ(GMD_GetRecord(f), 1);
        EXPECT_EQ(inHand(f).quad, steps[i].quad);
        EXPECT_EQ(inHand(f).hasOrientation, steps[i].attribute != 0);
    }
    EXPECT_EQ(GMD_GetRecord(f), 0);
}

TEST(MeshReading, RecordsReadAreAmendedLikeRecordsBuilt) {
    ReadFile f(concat({frame('L', countingWords(9)), frame('A', countingWords(15), 0, 0), frame(0, countingWords(2))}));
    ASSERT_EQ(GMD_GetRecord(f), 1);
    // A 9-word segment keeps its extra words under the vertex setters.
    EXPECT_EQ(GMD_SetSegmentVertex(f, 0, kVertex), 1);
    Words expected = countingWords(9);
    for (int k = 0; k < 3; ++k) expected[k] = floatBits(kVertex[k]);
    EXPECT_EQ(wordsInHand(f), expected);
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_SetTriangle(f, kTriangle), 0) << "the quad flag came from the record read";
    EXPECT_EQ(GMD_SetQuadVertex(f, 3, kVertex), 1);
    // A letter-0 frame is an empty record whose words are dropped; the flags
    // of the quad before it are still there, and creating a triangle clears both.
    ASSERT_EQ(GMD_GetRecord(f), 1);
    EXPECT_EQ(GMD_SetTriangleVertex(f, 2, kVertex), 1);
    EXPECT_EQ(wordsInHand(f), vertexAt(6, 0));
    EXPECT_FALSE(inHand(f).quad);
    EXPECT_FALSE(inHand(f).hasOrientation);
    EXPECT_EQ(GMD_SetPolygonFSSorientation(f, kVertex), 1);
    EXPECT_EQ(wordsInHand(f).size(), 12u) << "the orientation must be opened behind the vertices";
}

TEST(MeshReading, AccessorsRefuseRecordsShorterThanTheirVertices) {
    // Valid 'A' records of codes 1 and 4 can be shorter than their vertex
    // block; invalid 'L' and 'P' records are delivered with what they hold.
    const Bytes frames[] = {
        frame('A', countingWords(5), 0, 1),
        frame('A', countingWords(11), 0, 4),
        frame('L', countingWords(4)),
        frame('P', countingWords(5)),
    };
    for (const auto& bytes : frames) {
        ReadFile f(bytes);
        ASSERT_EQ(GMD_GetRecord(f), 1);
        const Words before = wordsInHand(f);
        float out[12];
        EXPECT_EQ(GMD_GetSegment(f, out) + GMD_GetTriangle(f, out) + GMD_GetQuad(f, out), 0);
        for (std::uint32_t index = 0; index < 4; ++index)
            if (GMD_GetVertex(f, index, out)) {
                EXPECT_LE(3 * index + 3, before.size()) << "index " << index;
            }
        EXPECT_EQ(GMD_SetSegment(f, kSegment) + GMD_SetTriangle(f, kTriangle) + GMD_SetQuad(f, kQuad), 0);
        EXPECT_EQ(GMD_SetQuadVertex(f, 3, kVertex) + GMD_SetTriangleVertex(f, 2, kVertex), 0);
        EXPECT_EQ(wordsInHand(f), before);
    }
}

}  // namespace
