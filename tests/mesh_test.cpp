// Mesh element records: the frames setter sequences build (with the
// attribute layout code), how records read from a file are converted, judged
// and typed, and what each getter gives on them.
#include <algorithm>

#include "test_support.h"

using namespace gmdtest;

namespace {

const float kQuad[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const float kVertex[3] = {-1.5f, 2.25f, 1e-3f};
const float kOrientation[3] = {0.5f, -0.25f, 8};
const float kThickness[3] = {0.125f, 2.5f, -3};
const int32_t kGroups[3] = {4, 9, 2}, kSixOne[2] = {6, 1};
const Words kVertexWords = floats({-1.5f, 2.25f, 1e-3f}), kOrientationWords = floats({0.5f, -0.25f, 8});
const Words t1 = floats({0.125f}), t2 = floats({0.125f, 2.5f});

Words vertexAt(std::size_t before, std::size_t after) { return join({zeros(before), kVertexWords, zeros(after)}); }

// Shapes s, t, q (S, T, Q: their aliases); vertices of kVertex: a segment 1,
// b triangle 1, c triangle 2, d quad 3, f quad 0, out of range A segment 2,
// B triangle 3, D quad 4, F quad 2^32 - 1; r radius 0.75, v segment volume
// 42; p, P polygon volumes; o orientation; 0-3 thickness lists of that
// length, n a negative one; g, h group -5 and group2 7; G tolerance; W wedge,
// 1-4 (geometry) and L, R, E (adjacency) of wedges; U, N, m, x macro group
// lists and names; V, J scattered vertex position and list; + reads the
// next record, Z resets the one in hand.
const Calls kCalls = {
    GMD_CALL('s', GMD_SetSegment(h, kQuad)), GMD_CALL('S', GMD_SetSegmentVertices(h, kQuad)),
    GMD_CALL('t', GMD_SetTriangle(h, kQuad)), GMD_CALL('T', GMD_SetTriangleVertices(h, kQuad)),
    GMD_CALL('q', GMD_SetQuad(h, kQuad)), GMD_CALL('Q', GMD_SetQuadVertices(h, kQuad)),
    GMD_CALL('a', GMD_SetSegmentVertex(h, 1, kVertex)), GMD_CALL('b', GMD_SetTriangleVertex(h, 1, kVertex)),
    GMD_CALL('c', GMD_SetTriangleVertex(h, 2, kVertex)), GMD_CALL('d', GMD_SetQuadVertex(h, 3, kVertex)),
    GMD_CALL('f', GMD_SetQuadVertex(h, 0, kVertex)), GMD_CALL('A', GMD_SetSegmentVertex(h, 2, kVertex)),
    GMD_CALL('B', GMD_SetTriangleVertex(h, 3, kVertex)), GMD_CALL('D', GMD_SetQuadVertex(h, 4, kVertex)),
    GMD_CALL('F', GMD_SetQuadVertex(h, 0xFFFFFFFFu, kVertex)), GMD_CALL('r', GMD_SetSegmentRadius(h, 0.75f)),
    GMD_CALL('v', GMD_SetSegmentVolume(h, 42)), GMD_CALL('p', GMD_SetPolygonVolumes(h, 3, -4)),
    GMD_CALL('P', GMD_SetPolygonVolumes(h, 7, 8)), GMD_CALL('o', GMD_SetPolygonFSSorientation(h, kOrientation)),
    GMD_CALL('0', GMD_SetPolygonThickness(h, 0, nullptr)), GMD_CALL('1', GMD_SetPolygonThickness(h, 1, kThickness)),
    GMD_CALL('2', GMD_SetPolygonThickness(h, 2, kThickness)),
    GMD_CALL('3', GMD_SetPolygonThickness(h, 3, kThickness)),
    GMD_CALL('n', GMD_SetPolygonThickness(h, -1, kThickness)), GMD_CALL('g', GMD_SetGroup(h, -5)),
    GMD_CALL('h', GMD_SetGroup2(h, 7)), GMD_CALL('G', GMD_SetTolerance(h, 0.5f)),
    GMD_CALL('W', GMD_SetWedge(h, kQuad)), GMD_CALL('5', GMD_SetEWFirstVert(h, kVertex)),
    GMD_CALL('6', GMD_SetEWSecondVert(h, kVertex)), GMD_CALL('7', GMD_SetEWLeftNormal(h, kVertex)),
    GMD_CALL('8', GMD_SetEWRightNormal(h, kVertex)), GMD_CALL('L', GMD_SetWedgeLeftAdjacentPolygon(h, 6)),
    GMD_CALL('R', GMD_SetWedgeRightAdjacentPolygon(h, 7)), GMD_CALL('E', GMD_SetEdgeAdjacentPolygon(h, 5)),
    GMD_CALL('U', GMD_SetMacroGroupGroups(h, 3, kGroups)), GMD_CALL('u', GMD_SetMacroGroupGroups(h, 1, kGroups + 2)),
    GMD_CALL('z', GMD_SetMacroGroupGroups(h, 0, nullptr)), GMD_CALL('N', GMD_SetMacroGroupGroups(h, -1, kGroups)),
    GMD_CALL('m', GMD_SetMacroGroupName(h, "abcde")), GMD_CALL('x', GMD_SetMacroGroupName(h, "")),
    GMD_CALL('M', GMD_SetMacroGroupName(h, nullptr)), GMD_CALL('V', GMD_SetScattVertexPosition(h, kVertex)),
    GMD_CALL('J', GMD_SetScattVertexAdjacent(h, 2, kGroups)),
    GMD_CALL('j', GMD_SetScattVertexAdjacent(h, 0, nullptr)),
    GMD_CALL('K', GMD_SetScattVertexAdjacent(h, -1, kGroups)), GMD_CALL('y', GMD_SetMacroGroupName(h, "ab")),
    GMD_CALL('Y', GMD_SetMacroGroupName(h, "cdefgh")), GMD_CALL('k', GMD_SetMacroGroupGroups(h, 2, kSixOne)),
    GMD_CALL('+', GMD_GetRecord(h)), GMD_CALL('Z', GMD_ResetRecord(h)),
};

}  // namespace

TEST(MeshSetters, BuildTheFramesOfTheirLetters) {
    const Words segment = counting(6), triangle = counting(9), quad = counting(12), radius = floats({0.75f});
    const Words geometry = counting(12), five = join({ints({8}), text("abcde   ")});
    expectScripts(kCalls, {
        // Vertex blocks; setters of another shape or family and bad indices are refused.
        {"s", frame('L', segment)}, {"S", frame('L', segment)}, {"a", frame('L', vertexAt(3, 0))},
        {"t", frame('P', triangle)}, {"T", frame('P', triangle)}, {"b", frame('P', vertexAt(3, 3))},
        {"Q", frame('P', quad)}, {"d", frame('P', vertexAt(9, 0))}, {"tc", frame('P', join({counting(6), kVertexWords}))},
        {"ghs", frame('L', segment, -5, 7)}, {"t!q!f!s", frame('P', triangle)}, {"q!t!T", frame('P', quad)},
        {"s!t!f!W", frame('L', segment)}, {"G!s!t!f!W!L!U!V", frame('G', floats({0.5f}))},
        {"!A!B!D!F", frame(0, {})},
        // Segment radius and volume: 'L' to 'l' loses the radius.
        {"sr", frame('L', join({segment, radius}))}, {"rr", frame('L', join({zeros(6), radius}))},
        {"v", frame('l', join({zeros(7), ints({42})}))}, {"svr", frame('l', join({segment, radius, ints({42})}))},
        {"srv", frame('l', join({segment, zeros(1), ints({42})}))}, {"t!r!v", frame('P', triangle)},
        // Polygon volumes, orientation and thickness lists with their layout codes.
        {"tp", frame('p', join({triangle, ints({3, -4})}))}, {"qpP", frame('p', join({quad, ints({7, 8})}))},
        {"qp!o!1", frame('p', join({quad, ints({3, -4})}))}, {"!p!o!1", frame(0, {})}, {"s!p!o!1", frame('L', segment)},
        {"to", frame('A', join({triangle, kOrientationWords}))}, {"qoo", frame('A', join({quad, kOrientationWords}))},
        {"t2", frame('A', join({triangle, ints({2}), t2}), 0, 1)}, {"t0", frame('A', join({triangle, ints({0})}), 0, 1)},
        {"q1", frame('A', join({quad, ints({1}), t1}), 0, 2)},
        {"t3o", frame('A', join({triangle, kOrientationWords, ints({3}), floats({0.125f, 2.5f, -3})}), 0, 3)},
        {"q1o", frame('A', join({quad, kOrientationWords, ints({1}), t1}), 0, 4)},
        {"q0o", frame('A', join({quad, kOrientationWords, ints({0})}), 0, 4)},
        // Only a list of the same length is overwritten in place, also behind the orientation.
        {"t2o2!1!n!p", frame('A', join({triangle, kOrientationWords, ints({2}), t2}), 0, 3)},
        {"to!2", frame('A', join({triangle, kOrientationWords}))}, {"t!n", frame('P', triangle)},
        {"f1oq", frame('A', join({quad, kOrientationWords, ints({1}), t1}), 0, 4)},
        // The layout code overrides the client's byte; without a list the client's byte goes out.
        {"ht1", frame('A', join({triangle, ints({1}), t1}), 0, 1)},
        {"gtoh", frame('A', join({triangle, kOrientationWords}), -5, 7)},
        // Wedges and edges, macro groups and scattered vertices.
        {"W", frame('W', geometry)}, {"5", frame('W', vertexAt(0, 9))}, {"6", frame('W', vertexAt(3, 6))},
        {"7", frame('W', vertexAt(6, 3))}, {"8", frame('W', vertexAt(9, 0))},
        {"L", frame('w', join({zeros(12), ints({6, 0})}))}, {"WR", frame('w', join({geometry, ints({0, 7})}))},
        {"RLW8", frame('w', join({counting(9), kVertexWords, ints({6, 7})}))},
        {"EW", frame('e', join({geometry, ints({5, 5})}))}, {"L!E", frame('w', join({zeros(12), ints({6, 0})}))},
        {"E!L!R", frame('e', join({zeros(12), ints({5, 5})}))}, {"W!s!q!U", frame('W', geometry)},
        // Whatever the order, a macro group is group list, then name.
        {"U", frame('U', ints({3, 4, 9, 2}))}, {"z", frame('U', ints({0}))}, {"m", frame('U', five)},
        {"Um", frame('U', join({ints({3, 4, 9, 2}), five}))}, {"mU", frame('U', join({ints({3, 4, 9, 2}), five}))},
        {"mUu", frame('U', join({ints({1, 2}), five}))},  // a new list replaces the last and keeps the name
        {"yYk", frame('U', join({ints({2, 6, 1, 4}), text("ab  "), ints({8}), text("cdefgh  ")}))},  // a second name is no list
        {"xzU", frame('U', ints({3, 4, 9, 2, 0}))}, {"Ux", frame('U', ints({3, 4, 9, 2, 0}))},
        {"u!N!M!V!J", frame('U', ints({1, 2}))}, {"!N!M!K", frame(0, {})},
        {"V", frame('v', kVertexWords)}, {"J", frame('v', join({zeros(3), ints({4, 9})}))},
        {"JVj!K!U!m", frame('v', kVertexWords)},
    });
}

namespace {

// What GetRecordType and the vertex getters make of one frame read from a
// file. The getters look at the letter and the quad flag, not at validity.
struct ReadCase {
    char letter;
    int code;      // second header byte
    int words;     // counting words in the frame
    int type;      // record type code after reading
    int vertices;  // of the shape the getters see: 2 segment, 3 triangle, 4 quad
    int kept;      // words after reading; a converted record keeps only its block
};

void expectRead(const ReadCase& c) {
    SCOPED_TRACE(::testing::Message() << c.letter << " code " << c.code << ", " << c.words << " words");
    ReadFile f(frame(c.letter, counting(static_cast<std::size_t>(c.words)), 3, c.code), 1);
    EXPECT_EQ(GMD_GetRecordType(f), c.type);
    for (int v = 0; v < 5; ++v) {
        const bool held = v < c.vertices && 3 * v + 3 <= c.kept;
        float out[3] = {};
        EXPECT_EQ(GMD_GetVertex(f, static_cast<uint32_t>(v), out), held ? 1 : 0) << "vertex " << v;
    }
    auto whole = [&](int vertices) {
        return c.vertices == vertices && c.kept >= 3 * vertices ? std::optional(counting(3 * std::size_t(vertices)))
                                                                : std::nullopt;
    };
    EXPECT_EQ(got(f, GMD_GetSegment, 6), whole(2));
    EXPECT_EQ(got(f, GMD_GetTriangleVertices, 9), whole(3));
    EXPECT_EQ(got(f, GMD_GetQuad, 12), whole(4));
}

}  // namespace

TEST(MeshReading, ConvertsLegacyPolygonsAndTypesByLetterLayoutCodeAndWordCount) {
    const ReadCase cases[] = {
        // Legacy 'P': 7-8 words are a segment with radius, 10-11 a triangle, 13 or more a quad.
        {'P', 0, 0, 0, 3, 0},    {'P', 0, 6, 0, 3, 6},    {'P', 0, 7, 'L', 2, 7},  {'P', 0, 8, 'L', 2, 7},
        {'P', 0, 9, 3, 3, 9},    {'P', 0, 10, 3, 3, 9},   {'P', 0, 11, 3, 3, 9},   {'P', 4, 12, 4, 4, 12},
        {'P', 0, 13, 4, 4, 12},  {'P', 0, 40, 4, 4, 12},
        // 'p': 11 or 14 words whatever the second header byte.
        {'p', 7, 11, 1, 3, 11},  {'p', -3, 14, 2, 4, 14}, {'p', 0, 12, 0, 3, 12},  {'p', 0, 13, 0, 3, 13},
        {'p', 0, 15, 0, 3, 15},
        // 'A' code 0: exactly 12 or 15 words; codes 1 and 3 are triangles, 2 and 4 quads, at any word count.
        {'A', 0, 12, 5, 3, 12},  {'A', 0, 15, 6, 4, 15},  {'A', 0, 13, 0, 3, 13},  {'A', 0, 16, 0, 3, 16},
        {'A', 1, 10, 5, 3, 10},  {'A', 1, 5, 5, 3, 5},    {'A', 3, 13, 5, 3, 13},  {'A', 2, 100, 6, 4, 100},
        {'A', 4, 11, 6, 4, 11},  {'A', 5, 12, 0, 3, 12},  {'A', -1, 15, 0, 3, 15}, {'A', 32, 13, 0, 3, 13},
        // Segments: 'L' of 6 words or more, 'l' of exactly 8.
        {'L', 0, 6, 'L', 2, 6},  {'L', 5, 9, 'L', 2, 9},  {'L', 0, 5, 0, 2, 5},    {'l', 0, 8, 'l', 2, 8},
        {'l', 0, 7, 0, 2, 7},    {'l', 0, 9, 0, 2, 9},
        // Wedges and edges: 12 or 14 words.
        {'W', 0, 12, 'W', 0, 12}, {'W', 0, 14, 'W', 0, 14}, {'W', 0, 13, 0, 0, 13}, {'W', 0, 11, 0, 0, 11},
        {'w', 0, 12, 'w', 0, 12}, {'w', 0, 15, 0, 0, 15},   {'e', 0, 14, 'e', 0, 14}, {'e', 0, 0, 0, 0, 0},
        {'W', 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) expectRead(c);
}

// Getters on crafted frames: counting(n, v) holds v, v + 1, ...; integer
// words are given explicitly; nullopt is a refusal.
TEST(MeshGetters, ReadOnlyWordsTheRecordHolds) {
    const Read numThickness = [](GMD_File* h) {
        int32_t n = 99;
        if (GMD_GetPolygonNumThickness(h, &n) == 1) return std::optional(ints({n}));
        EXPECT_EQ(n, 0) << "refused without clearing the count";
        return std::optional<Words>();
    };
    const Read volumes = GMD_GET(int32_t, 2, GMD_GetPolygonVolumes(h, out, out + 1));
    const Read radius = G(GMD_GetSegmentRadius, 1), volume = G(GMD_GetSegmentVolume, 1);
    const Read orientation = G(GMD_GetPolygonFSSorientation, 3);
    auto thickness = [](std::size_t n) { return G(GMD_GetPolygonThickness, n); };
    auto list = [](int code, std::size_t before, int32_t n, std::size_t after) {
        return frame('A', join({counting(before), ints({n}), counting(after, 20)}), 0, code);
    };
    const std::nullopt_t no = std::nullopt;
    const Words all = join({counting(12), ints({21, 22, 23})});
    auto prefix = [&](char letter, std::size_t n) { return frame(letter, Words(all.begin(), all.begin() + long(n))); };
    const struct {
        Bytes frame;
        std::vector<Expect> reads;
    } cases[] = {
        {frame('L', counting(6)), {{radius, no}, {volume, no}, {volumes, no}}},
        {frame('P', counting(8)), {{radius, counting(1, 7)}, {volume, no}}},  // converted to a segment with radius
        {frame('l', join({counting(7), ints({-3})})), {{radius, counting(1, 7)}, {volume, ints({-3})}}},
        {frame('l', counting(7)), {{radius, counting(1, 7)}, {volume, no}}},
        {frame('p', join({counting(9), ints({4, 5})})), {{volumes, ints({4, 5})}, {orientation, no}, {radius, no}}},
        {frame('p', join({counting(12), ints({4, 5})})), {{volumes, ints({4, 5})}, {numThickness, no}}},
        {frame('A', counting(15)), {{orientation, counting(3, 13)}, {numThickness, no}, {volumes, no}}},
        {list(1, 9, 2, 2), {{numThickness, ints({2})}, {thickness(2), counting(2, 20)}, {orientation, no}}},
        {list(2, 12, 1, 1), {{numThickness, ints({1})}, {thickness(1), counting(1, 20)}}},
        {list(3, 12, 3, 3), {{orientation, counting(3, 10)}, {numThickness, ints({3})}, {thickness(3), counting(3, 20)}}},
        {list(4, 15, 0, 0), {{orientation, counting(3, 13)}, {numThickness, ints({0})}, {thickness(0), Words{}}}},
        {list(1, 9, 3, 2), {{numThickness, no}, {thickness(0), no}}},  // list shorter than its count
        {list(2, 12, -1, 0), {{numThickness, ints({-1})}, {thickness(0), Words{}}}},  // negative: copies nothing
        {list(1, 9, -2, 0), {{numThickness, ints({-2})}, {thickness(0), Words{}}}},
        {frame('A', counting(10), 0, 3), {{orientation, no}, {numThickness, no}}},  // no room for its orientation
        {frame('A', counting(15), 0, 4), {{orientation, counting(3, 13)}, {numThickness, no}}},
        {frame('P', counting(9), 0, 2), {{orientation, no}, {numThickness, no}}},
        // Wedges: each getter answers when the record holds its words.
        {prefix('w', 14), {{G(GMD_GetWedge, 12), counting(12)}, {G(GMD_GetEWFirstVert, 3), counting(3)},
                           {G(GMD_GetEWSecondVert, 3), counting(3, 4)}, {G(GMD_GetEWLeftNormal, 3), counting(3, 7)},
                           {G(GMD_GetEWRightNormal, 3), counting(3, 10)}, {G(GMD_GetEWLeftAdjacentPolygon, 1), ints({21})},
                           {G(GMD_GetEWRightAdjacentPolygon, 1), ints({22})}}},
        {prefix('W', 14), {{G(GMD_GetWedge, 12), counting(12)}, {G(GMD_GetEWLeftAdjacentPolygon, 1), no}}},
        {prefix('w', 13), {{G(GMD_GetEWLeftAdjacentPolygon, 1), ints({21})}, {G(GMD_GetEWRightAdjacentPolygon, 1), no}}},
        {prefix('e', 11), {{G(GMD_GetWedge, 12), no}, {G(GMD_GetEWRightNormal, 3), no}, {G(GMD_GetEWLeftNormal, 3), counting(3, 7)}}},
        // Macro groups: blocks inside the record only.
        {frame('U', {}), {{G(GMD_GetMacroGroupNumGroups, 1), no}, {G(GMD_GetMacroGroupGroups, 0), no}}},
        {frame('U', ints({2, 5, 6})), {{G(GMD_GetMacroGroupNumGroups, 1), ints({2})}, {G(GMD_GetMacroGroupGroups, 2), ints({5, 6})}}},
        {frame('U', ints({3, 5, 6})), {{G(GMD_GetMacroGroupNumGroups, 1), no}, {G(GMD_GetMacroGroupGroups, 0), no}}},
        {frame('U', ints({-1, 5, 6})), {{G(GMD_GetMacroGroupNumGroups, 1), ints({-1})}, {G(GMD_GetMacroGroupGroups, 0), Words{}}}},
        {frame('U', ints({0})), {{G(GMD_GetMacroGroupGroups, 0), Words{}}, {G(GMD_GetScattVertexNumAdjacent, 1), no}}},
        // Scattered vertices: the list is whatever follows the position.
        {prefix('v', 2), {{G(GMD_GetScattVertexPosition, 3), no}, {G(GMD_GetScattVertexNumAdjacent, 1), no},
                          {G(GMD_GetScattVertexAdjacent, 0), no}}},
        {prefix('v', 3), {{G(GMD_GetScattVertexPosition, 3), counting(3)}, {G(GMD_GetScattVertexNumAdjacent, 1), ints({0})},
                          {G(GMD_GetScattVertexAdjacent, 0), Words{}}}},
        {prefix('v', 5), {{G(GMD_GetScattVertexNumAdjacent, 1), ints({2})}, {G(GMD_GetScattVertexAdjacent, 2), counting(2, 4)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ReadFile f(c.frame, 1);
        expectReads(f, c.reads);
    }
}

TEST(MeshGetters, MacroGroupNames) {
    const struct {
        Words words;
        const char* name;  // nullptr when refused
    } cases[] = {
        {join({ints({1, 5, 8}), text("Copper1 ")}), "Copper1 "}, {ints({1, 5, 0}), ""}, {ints({2, 5, 6}), nullptr},
        {join({ints({1, 5, 8}), text("abcd")}), nullptr},  // name beyond the record
        {join({ints({0, 5}), text("abcd")}), nullptr},     {join({ints({0, 3}), text("abcd")}), "abc"},
        {join({ints({0, -4}), text("abcd")}), nullptr},    {join({ints({0, 8}), text(std::string("ab\0defgh", 8))}), "ab"},
        {ints({-1, 5, 6}), nullptr},
    };
    for (const auto& c : cases) {
        ReadFile f(frame('U', c.words), 1);
        EXPECT_EQ(textOf(f, GMD_GetMacroGroupName, 32), c.name ? std::optional<std::string>(c.name) : std::nullopt)
            << &c - cases;
    }
    Scratch h;
    runScript(h, kCalls, "yYk");
    EXPECT_EQ(textOf(h, GMD_GetMacroGroupName), "ab  ") << "the first name, as stored";
    // A name begun on the empty record leaves no trace on the next record
    // read: the group list read from the file is replaced, not pushed behind.
    ReadFile u(frame('U', join({ints({1, 5, 4}), text("xy  ")})));
    runScript(u, kCalls, "y");
    EXPECT_EQ(GMD_GetRecord(u), 1);
    runScript(u, kCalls, "k");
    EXPECT_EQ(got(u, GMD_GetMacroGroupGroups, 2), ints({6, 1}));
    EXPECT_EQ(textOf(u, GMD_GetMacroGroupName), "xy  ");
}

// Setters on records read from a file, each row on a file of its own frames,
// the first of them read.
TEST(MeshSetters, AmendRecordsReadFromAFile) {
    const Read radius = G(GMD_GetSegmentRadius, 1), orientation = G(GMD_GetPolygonFSSorientation, 3);
    const Read right = G(GMD_GetEWRightAdjacentPolygon, 1), wedge = G(GMD_GetWedge, 12);
    const struct {
        Bytes frames;
        const char* script;
        std::vector<Expect> reads;
    } cases[] = {
        // A longer segment keeps its words under the vertex setters.
        {frame('L', counting(9)), "a", {{G(GMD_GetSegment, 6), join({counting(3), kVertexWords})}, {radius, floats({7})}}},
        {frame('L', counting(9)), "rv", {{radius, zeros(1)}, {G(GMD_GetSegmentVolume, 1), ints({42})}}},
        // A thickness list read from the file slides behind a new orientation.
        {frame('A', join({counting(9), ints({1}), counting(1, 20)}), 0, 1), "o",
         {{G(GMD_GetPolygonThickness, 1), counting(1, 20)}, {orientation, kOrientationWords}}},
        // Code 3 says an orientation is there, but the record ends at its vertices;
        // the last three words have the length of a list of 2 but count 5.
        {frame('A', counting(9), 0, 3), "!o!0", {}},
        {frame('A', join({counting(9), ints({5}), counting(2)}), 0, 1), "!2", {}},
        // The quad flag of a record read decides; a letter-0 frame is an empty
        // record whose words are dropped, and creating a triangle clears both flags.
        {concat({frame('A', counting(15)), frame(0, counting(2))}), "!td+co",
         {{G(GMD_GetTriangle, 9), vertexAt(6, 0)}, {orientation, kOrientationWords}}},
        // A valid 'A' shorter than its vertex block refuses every vertex accessor.
        {frame('A', counting(11), 0, 4), "!q!d!t!o", {{G(GMD_GetQuad, 12), std::nullopt}}},
        {frame('P', counting(6)), "!1!o", {}},  // nor does a 'P' take attributes
        // A 'P' quad read from a file has no orientation: one set after a list goes before it.
        {frame('P', counting(12)), "1o", {{orientation, kOrientationWords}}},
        // A wedge with two stray words gains zero adjacency words over them; a
        // short 'w' or 'e' is never grown, nor does a 'v' without its position take a list.
        {frame('W', counting(14)), "L", {{right, ints({0})}}},
        {concat({frame('w', counting(12)), frame('e', counting(13)), frame('v', counting(2))}), "!L!R5+!E+!V!J", {}},
        // A shorter 'W' becomes a 14-word edge or wedge whose missing words are 0.
        {frame('W', counting(11)), "E", {{wedge, join({counting(11), zeros(1)})}, {right, ints({5})}}},
        {frame('W', {}), "R", {{wedge, zeros(12)}, {right, ints({7})}}},
        // A reset clears the orientation flag, which an invalid 'A' read next leaves alone.
        {concat({frame('A', counting(12)), frame('A', counting(15), 0, 9)}), "Z+", {{orientation, std::nullopt}}},
    };
    for (const auto& c : cases) {
        ReadFile f(c.frames, 1);
        runScript(f, kCalls, c.script);
        expectReads(f, c.reads);
    }
}
