// Mesh element records: the frames setter sequences build (with the
// attribute layout code), how records read from a file are converted, judged
// and typed, and what each getter gives on them, also after setters amend them.
#include <tuple>

#include "test_support.h"

using namespace gmdtest;

namespace {

const Words kVertexWords = floats({-1.5f, 2.25f, 1e-3f}), kOrientationWords = floats({0.5f, -0.25f, 8}), kCounting = counting(12);
const Words kThickness = floats({0.125f, 2.5f, -3}), t1 = floats({0.125f}), t2 = floats({0.125f, 2.5f});
const float *const kQuad = asFloats(kCounting), *const kVertex = asFloats(kVertexWords);
const float *const kOrientation = asFloats(kOrientationWords), *const kThick = asFloats(kThickness);
const int32_t kGroups[3] = {4, 9, 2}, kSixOne[2] = {6, 1};

Words vertexAt(std::size_t before, std::size_t after) { return join({zeros(before), kVertexWords, zeros(after)}); }

// Shapes s, t, q (S, T, Q: their aliases); vertices of kVertex: a segment 1,
// b triangle 1, d quad 3, f quad 0, out of range A segment 2, B triangle 3,
// D quad 4, F quad 2^32 - 1; r radius 0.75, v segment volume 42; p
// polygon volumes; o orientation; 1-3 thickness lists of that length, n a
// negative one; W wedge, 5, 8 (geometry) and L, R, E (adjacency) of wedges;
// U, u, z, k macro group lists and m, x, y, Y names; V, J, j, K scattered
// vertex position and lists; + reads the next record, Z resets the one in hand.
const Calls kCalls = {
    GMD_CALL('s', GMD_SetSegment(h, kQuad)), GMD_CALL('S', GMD_SetSegmentVertices(h, kQuad)),
    GMD_CALL('t', GMD_SetTriangle(h, kQuad)), GMD_CALL('T', GMD_SetTriangleVertices(h, kQuad)),
    GMD_CALL('q', GMD_SetQuad(h, kQuad)), GMD_CALL('Q', GMD_SetQuadVertices(h, kQuad)),
    GMD_CALL('a', GMD_SetSegmentVertex(h, 1, kVertex)), GMD_CALL('b', GMD_SetTriangleVertex(h, 1, kVertex)),
    GMD_CALL('d', GMD_SetQuadVertex(h, 3, kVertex)), GMD_CALL('f', GMD_SetQuadVertex(h, 0, kVertex)),
    GMD_CALL('A', GMD_SetSegmentVertex(h, 2, kVertex)), GMD_CALL('B', GMD_SetTriangleVertex(h, 3, kVertex)),
    GMD_CALL('D', GMD_SetQuadVertex(h, 4, kVertex)), GMD_CALL('F', GMD_SetQuadVertex(h, 0xFFFFFFFFu, kVertex)),
    GMD_CALL('r', GMD_SetSegmentRadius(h, 0.75f)), GMD_CALL('v', GMD_SetSegmentVolume(h, 42)),
    GMD_CALL('p', GMD_SetPolygonVolumes(h, 3, -4)), GMD_CALL('o', GMD_SetPolygonFSSorientation(h, kOrientation)),
    GMD_CALL('1', GMD_SetPolygonThickness(h, 1, kThick)), GMD_CALL('2', GMD_SetPolygonThickness(h, 2, kThick)),
    GMD_CALL('3', GMD_SetPolygonThickness(h, 3, kThick)), GMD_CALL('n', GMD_SetPolygonThickness(h, -1, kThick)),
    GMD_CALL('W', GMD_SetWedge(h, kQuad)), GMD_CALL('5', GMD_SetEWFirstVert(h, kVertex)),
    GMD_CALL('8', GMD_SetEWRightNormal(h, kVertex)), GMD_CALL('L', GMD_SetWedgeLeftAdjacentPolygon(h, 6)),
    GMD_CALL('R', GMD_SetWedgeRightAdjacentPolygon(h, 7)), GMD_CALL('E', GMD_SetEdgeAdjacentPolygon(h, 5)),
    GMD_CALL('U', GMD_SetMacroGroupGroups(h, 3, kGroups)), GMD_CALL('u', GMD_SetMacroGroupGroups(h, 1, kGroups + 2)),
    GMD_CALL('z', GMD_SetMacroGroupGroups(h, 0, nullptr)), GMD_CALL('k', GMD_SetMacroGroupGroups(h, 2, kSixOne)),
    GMD_CALL('m', GMD_SetMacroGroupName(h, "abcde")), GMD_CALL('x', GMD_SetMacroGroupName(h, "")),
    GMD_CALL('y', GMD_SetMacroGroupName(h, "ab")), GMD_CALL('Y', GMD_SetMacroGroupName(h, "cdefgh")),
    GMD_CALL('V', GMD_SetScattVertexPosition(h, kVertex)), GMD_CALL('J', GMD_SetScattVertexAdjacent(h, 2, kGroups)),
    GMD_CALL('j', GMD_SetScattVertexAdjacent(h, 0, nullptr)), GMD_CALL('K', GMD_SetScattVertexAdjacent(h, -1, kGroups)),
    GMD_CALL('+', GMD_GetRecord(h)), GMD_CALL('Z', GMD_ResetRecord(h)),
};

}  // namespace

TEST(MeshSetters, BuildTheFramesOfTheirLetters) {
    const Words segment = counting(6), triangle = counting(9), quad = counting(12), radius = floats({0.75f});
    const Words five = join({ints({8}), text("abcde   ")}), list = ints({3, 4, 9, 2});
    expectScripts(kCalls, {
        // Vertex blocks; setters of another shape or family and bad indices are refused.
        {"a", frame('L', vertexAt(3, 0))}, {"b", frame('P', vertexAt(3, 3))}, {"d", frame('P', vertexAt(9, 0))},
        {"T!Q!f!S", frame('P', triangle)}, {"!A!B!D!F", frame(0, {})},  // a bad index creates no record
        // Segment radius and volume.
        {"sr", frame('L', join({segment, radius}))}, {"rr", frame('L', join({zeros(6), radius}))},
        {"v", frame('l', join({zeros(7), ints({42})}))}, {"t!r!v", frame('P', triangle)},
        // Polygon volumes, orientation and thickness lists with their layout codes.
        {"qp!o!1", frame('p', join({quad, ints({3, -4})}))}, {"t2", frame('A', join({triangle, ints({2}), t2}), 0, 1)},
        {"q1", frame('A', join({quad, ints({1}), t1}), 0, 2)},
        {"t3o", frame('A', join({triangle, kOrientationWords, ints({3}), kThickness}), 0, 3)},
        {"q1o", frame('A', join({quad, kOrientationWords, ints({1}), t1}), 0, 4)},
        // Only a list of the same length is overwritten in place, also behind the orientation.
        {"t2o2!1!n!p", frame('A', join({triangle, kOrientationWords, ints({2}), t2}), 0, 3)},
        // Wedges and edges, macro groups and scattered vertices.
        {"RLW8", frame('w', join({triangle, kVertexWords, ints({6, 7})}))}, {"EW", frame('e', join({quad, ints({5, 5})}))},
        // Whatever the order, a macro group is group list, then name.
        {"Um", frame('U', join({list, five}))}, {"mU", frame('U', join({list, five}))},
        {"mUu", frame('U', join({ints({1, 2}), five}))},  // a new list replaces the last and keeps the name
        {"yYk", frame('U', join({ints({2, 6, 1, 4}), text("ab  "), ints({8}), text("cdefgh  ")}))},  // a second name is no list
        {"xzU", frame('U', join({list, ints({0})}))}, {"JVj!K!U!m", frame('v', kVertexWords)},
    });
}

// What GetRecordType and the vertex getters make of one frame read from a
// file. The getters look at the letter and the quad flag, not at validity.
TEST(MeshReading, ConvertsLegacyPolygonsAndTypesByLetterLayoutCodeAndWordCount) {
    // Letter, second header byte, counting words in the frame, type code after reading, vertices of the shape the
    // getters see (2 segment, 3 triangle, 4 quad), words kept (a converted record keeps only its block).
    const struct {
        char letter;
        int code, words, type, vertices, kept;
    } cases[] = {
        // Legacy 'P': 7-8 words are a segment with radius, 10-11 a triangle, 13 or more a quad.
        {'P', 0, 0, 0, 3, 0}, {'P', 0, 6, 0, 3, 6}, {'P', 0, 7, 'L', 2, 7}, {'P', 0, 10, 3, 3, 9},
        {'P', 4, 12, 4, 4, 12}, {'P', 0, 13, 4, 4, 12},
        // 'p': 11 or 14 words whatever the second header byte.
        {'p', 7, 11, 1, 3, 11}, {'p', -3, 14, 2, 4, 14}, {'p', 0, 12, 0, 3, 12},
        // 'A' code 0: exactly 12 or 15 words; codes 1 and 3 are triangles, 2 and 4 quads, at any word count.
        {'A', 0, 12, 5, 3, 12}, {'A', 0, 15, 6, 4, 15}, {'A', 1, 10, 5, 3, 10}, {'A', 3, 13, 5, 3, 13},
        {'A', 2, 100, 6, 4, 100}, {'A', 4, 11, 6, 4, 11}, {'A', 5, 12, 0, 3, 12},
        // Segments: 'L' of 6 words or more, 'l' of exactly 8; wedges and edges: 12 or 14 words.
        {'L', 0, 6, 'L', 2, 6}, {'l', 0, 8, 'l', 2, 8}, {'l', 0, 7, 0, 2, 7}, {'W', 0, 12, 'W', 0, 12},
        {'W', 0, 14, 'W', 0, 14}, {'w', 0, 15, 0, 0, 15}, {'e', 0, 14, 'e', 0, 14},
    };
    const Read whole[] = {G(GMD_GetSegment, 6), G(GMD_GetTriangleVertices, 9), G(GMD_GetQuad, 12)};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.letter << " code " << c.code << ", " << c.words << " words");
        ReadFile f(frame(c.letter, counting(std::size_t(c.words)), 3, c.code), 1);
        EXPECT_EQ(GMD_GetRecordType(f), c.type);
        for (int v = 0; v < 5; ++v)
            EXPECT_EQ(gotFrom<float>(3, [&](float* out) { return GMD_GetVertex(f, uint32_t(v), out); }).has_value(),
                      v < c.vertices && 3 * v + 3 <= c.kept) << "vertex " << v;
        for (int n = 2; n <= 4; ++n)
            EXPECT_EQ(whole[n - 2](f), c.vertices == n && c.kept >= 3 * n ? std::optional(counting(3 * std::size_t(n)))
                                                                          : std::nullopt) << n;
    }
}

// Getters on crafted frames, after the setters of `script` (if any) amended
// the first record read: counting(n, v) holds v, v + 1, ...; integer words are
// given explicitly; nullopt is a refusal.
TEST(MeshGetters, ReadOnlyWordsTheRecordHolds) {
    const Read numThickness = [](GMD_File* h) {
        int32_t n = 99;
        if (GMD_GetPolygonNumThickness(h, &n) == 1) return std::optional(ints({n}));
        EXPECT_EQ(n, 0) << "refused without clearing the count";
        return std::optional<Words>();
    };
    const Read name = [](GMD_File* h) {
        const auto s = textOf(h, GMD_GetMacroGroupName, 32);
        return s ? std::optional(text(*s)) : std::nullopt;
    };
    const Read volumes = GMD_GET(int32_t, 2, GMD_GetPolygonVolumes(h, out, out + 1)), right = G(GMD_GetEWRightAdjacentPolygon, 1);
    const Read radius = G(GMD_GetSegmentRadius, 1), numGroups = G(GMD_GetMacroGroupNumGroups, 1);
    const Read orientation = G(GMD_GetPolygonFSSorientation, 3), wedge = G(GMD_GetWedge, 12);
    auto thickness = [](std::size_t n) { return G(GMD_GetPolygonThickness, n); };
    auto groups = [](std::size_t n) { return G(GMD_GetMacroGroupGroups, n); };
    const std::nullopt_t no = std::nullopt;
    // Frames read, getters and what they give, the script run first.
    const std::tuple<Bytes, std::vector<Expect>, const char*> cases[] = {
        {frame('l', join({counting(7), ints({-3})})), {{radius, counting(1, 7)}, {G(GMD_GetSegmentVolume, 1), ints({-3})}}, ""},
        {frame('p', join({counting(9), ints({4, 5})})), {{volumes, ints({4, 5})}, {orientation, no}, {radius, no}}, ""},
        // Thickness lists after the count word: whole, shorter than the count, and a negative count that copies nothing.
        {frame('A', join({counting(12), ints({3}), counting(3, 20)}), 0, 3),
         {{orientation, counting(3, 10)}, {numThickness, ints({3})}, {thickness(3), counting(3, 20)}}, ""},
        {frame('A', join({counting(9), ints({3}), counting(2, 20)}), 0, 1), {{numThickness, no}, {thickness(0), no}}, ""},
        {frame('A', join({counting(9), ints({-2})}), 0, 1), {{numThickness, ints({-2})}, {thickness(0), Words{}}}, ""},
        // The count word is missing.
        {frame('A', counting(15), 0, 4), {{orientation, counting(3, 13)}, {numThickness, no}}, ""},
        // Wedges: each getter answers when the record holds its words.
        {frame('w', join({counting(12), ints({21, 22})})),
         {{wedge, counting(12)}, {G(GMD_GetEWFirstVert, 3), counting(3)}, {G(GMD_GetEWSecondVert, 3), counting(3, 4)},
          {G(GMD_GetEWLeftNormal, 3), counting(3, 7)}, {G(GMD_GetEWRightNormal, 3), counting(3, 10)},
          {G(GMD_GetEWLeftAdjacentPolygon, 1), ints({21})}, {right, ints({22})}}, ""},
        // Macro groups: blocks and names inside the record only.
        {frame('U', {}), {{numGroups, no}, {groups(0), no}}, ""},
        {frame('U', ints({3, 5, 6})), {{numGroups, no}, {groups(0), no}, {name, no}}, ""},
        {frame('U', ints({-1, 5, 6})), {{numGroups, ints({-1})}, {groups(0), Words{}}, {name, no}}, ""},
        {frame('U', join({ints({1, 5, 8}), text("Copper1 ")})), {{name, text("Copper1 ")}}, ""},
        {frame('U', join({ints({1, 5, 8}), text("abcd")})), {{name, no}}, ""},
        // A name set twice, then the groups: the first name stays as stored.
        {frame(0, {}), {{name, text("ab  ")}, {groups(2), ints({6, 1})}}, "yYk"},
        // Scattered vertices: the list is whatever follows the position.
        {frame('v', counting(3)),
         {{G(GMD_GetScattVertexPosition, 3), counting(3)}, {G(GMD_GetScattVertexNumAdjacent, 1), ints({0})},
          {G(GMD_GetScattVertexAdjacent, 0), Words{}}}, ""},
        // A shorter 'W' becomes a 14-word edge whose missing words are 0; a short
        // 'w' or 'e' is never grown, nor does a 'v' without its position take a list.
        {frame('W', {}), {{wedge, zeros(12)}, {right, ints({5})}}, "E"},
        {frame('W', counting(11)), {{wedge, join({counting(11), zeros(1)})}, {right, ints({5})}}, "E"},
        // Nor does a short 'P' take attributes; stray words behind a wedge become zero adjacency words.
        {frame('P', counting(6)), {}, "!1!o"}, {frame('W', counting(14)), {{right, ints({0})}}, "L"},
        {concat({frame('w', counting(12)), frame('e', counting(13)), frame('v', counting(2))}), {}, "!L!R5+!E+!V!J"},
        // A reset clears the orientation flag, which an invalid 'A' read next leaves alone.
        {concat({frame('A', counting(12)), frame('A', counting(15), 0, 9)}), {{orientation, no}}, "Z+"},
    };
    for (const auto& c : cases) {
        const auto& [frames, reads, script] = c;
        SCOPED_TRACE(::testing::Message() << &c - cases << " \"" << script << "\"");
        ReadFile f(frames, 1);
        runScript(f, kCalls, script);
        expectReads(f, reads);
    }
}
