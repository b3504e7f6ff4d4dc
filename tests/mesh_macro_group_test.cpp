// Macro groups ('U') and scattered vertices ('v'): the records the setter
// sequences build in either order, and getters on records read from a file,
// damaged ones included.
#include <string>

#include "test_support.h"

using namespace gmdtest;

namespace {

const int32_t kGroups[] = {4, 9, 2};
const int32_t kOtherGroups[] = {7, 8};
const int32_t kAdjacent[] = {10, 11, 12};
const float kPosition[3] = {1.5f, -2, 3};
const Words kPositionWords = floatWords({1.5f, -2, 3});

// Group lists: g = {4, 9, 2}, k = {4}, o = {7, 8}, i = {8}, G = none, N = a
// negative count; names: n = "abcde", x = "xy", e = "", w = "twelve chars",
// M = null; the scattered vertex: p = position, a = {10, 11}, A = {10, 11,
// 12}, b = {12}, z = empty list, Z = negative count.
const Calls kCalls = {
    {'g', [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 3, kGroups); }},
    {'k', [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 1, kGroups); }},
    {'o', [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 2, kOtherGroups); }},
    {'i', [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 1, kOtherGroups + 1); }},
    {'G', [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 0, nullptr); }},
    {'N', [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, -1, kGroups); }},
    {'n', [](GMD_File* h) { return GMD_SetMacroGroupName(h, "abcde"); }},
    {'x', [](GMD_File* h) { return GMD_SetMacroGroupName(h, "xy"); }},
    {'e', [](GMD_File* h) { return GMD_SetMacroGroupName(h, ""); }},
    {'w', [](GMD_File* h) { return GMD_SetMacroGroupName(h, "twelve chars"); }},
    {'M', [](GMD_File* h) { return GMD_SetMacroGroupName(h, nullptr); }},
    {'p', [](GMD_File* h) { return GMD_SetScattVertexPosition(h, kPosition); }},
    {'a', [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 2, kAdjacent); }},
    {'A', [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 3, kAdjacent); }},
    {'b', [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 1, kAdjacent + 2); }},
    {'z', [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 0, nullptr); }},
    {'Z', [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, -1, kAdjacent); }},
};

// Whatever the order of the calls, the record is group list, then name.
TEST(MeshMacroGroupSetters, GiveGroupListThenNameInEitherOrder) {
    const Words five = join({intWords({8}), textWords("abcde   ")}), seven = intWords({2, 7, 8});
    expectScripts(kCalls, {
        {"g", frame('U', intWords({3, 4, 9, 2}))}, {"G", frame('U', intWords({0}))}, {"n", frame('U', five)},
        {"on", frame('U', join({seven, five}))}, {"no", frame('U', join({seven, five}))},
        {"gnoi", frame('U', join({intWords({1, 8}), five}))},  // a new list replaces the last and keeps the name
        {"xno", frame('U', join({seven, intWords({4}), textWords("xy  "), five}))},  // a second name is no list
        {"xGg", frame('U', join({intWords({3, 4, 9, 2, 4}), textWords("xy  ")}))},  // and may grow
        {"eo", frame('U', intWords({2, 7, 8, 0}))}, {"oe", frame('U', intWords({2, 7, 8, 0}))},
        {"Gw", frame('U', join({intWords({0, 12}), textWords("twelve chars")}))},
        {"k!N!M!p", frame('U', intWords({1, 4}))}, {"!N!M!Z", frame(0, {})}, {"p!k!n", frame('v', kPositionWords)},
    });
}

TEST(MeshMacroGroupGetters, ReadOnlyBlocksInsideTheRecord) {
    constexpr int kRefused = INT32_MIN;
    struct Case {
        const char* name;
        Words words;
        int groups;        // group count, or kRefused
        const char* text;  // the name, or nullptr when refused
    };
    const Case cases[] = {
        {"no words", {}, kRefused, nullptr},
        {"groups, no name", intWords({2, 5, 6}), 2, nullptr},
        {"no groups, no name", intWords({0}), 0, nullptr},
        {"groups and name", join({intWords({1, 5, 8}), textWords("Copper1 ")}), 1, "Copper1 "},
        {"empty name", intWords({1, 5, 0}), 1, ""},
        {"count beyond the record", intWords({3, 5, 6}), kRefused, nullptr},
        {"negative count", intWords({-1, 5, 6}), -1, nullptr},  // counts no groups and places no name
        {"name length beyond the record", join({intWords({1, 5, 8}), textWords("abcd")}), 1, nullptr},
        {"name length not a multiple of 4 beyond the record", join({intWords({0, 5}), textWords("abcd")}), 0,
         nullptr},
        {"name length not a multiple of 4 inside the record", join({intWords({0, 3}), textWords("abcd")}), 0, "abc"},
        {"negative name length", join({intWords({0, -4}), textWords("abcd")}), 0, nullptr},
        {"name with a NUL byte", join({intWords({0, 8}), textWords(std::string("ab\0defgh", 8))}), 0, "ab"},
        {"name block only", join({intWords({4}), textWords("abcd")}), kRefused, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile f(frame('U', c.words));
        ASSERT_EQ(GMD_GetRecord(f), 1);
        EXPECT_EQ(GMD_GetRecordType(f), 'U');
        int32_t n = -7;
        std::vector<int32_t> list(4, -7);
        EXPECT_EQ(GMD_GetScattVertexNumAdjacent(f, &n), 0) << "a 'U' is no scattered vertex";
        EXPECT_EQ(GMD_GetMacroGroupNumGroups(f, &n), c.groups != kRefused ? 1 : 0);
        EXPECT_EQ(GMD_GetMacroGroupGroups(f, list.data()), c.groups != kRefused ? 1 : 0);
        if (c.groups != kRefused) {
            EXPECT_EQ(n, c.groups);
            for (int i = 0; i < c.groups; ++i) EXPECT_EQ(static_cast<uint32_t>(list[i]), c.words[1 + i]);
        } else {
            EXPECT_EQ(n, -7);
        }
        EXPECT_EQ(list[c.groups >= 0 ? c.groups : 0], -7) << "copied past the list";
        char text[32];
        std::memset(text, '#', sizeof text);
        EXPECT_EQ(GMD_GetMacroGroupName(f, text), c.text ? 1 : 0);
        if (c.text) {
            EXPECT_STREQ(text, c.text);
        } else {
            EXPECT_EQ(text[0], '#');
        }
    }
}

TEST(MeshScatteredVertexSetters, SetPositionAndListInEitherOrder) {
    expectScripts(kCalls, {
        {"p", frame('v', kPositionWords)}, {"a", frame('v', join({zeroWords(3), intWords({10, 11})}))},
        {"ap", frame('v', join({kPositionWords, intWords({10, 11})}))},
        {"pAb", frame('v', join({kPositionWords, intWords({12})}))},  // a shorter list replaces a longer one
        {"Az!Z", frame('v', zeroWords(3))}, {"k!p!a", frame('U', intWords({1, 4}))},
    });
}

TEST(MeshScatteredVertexGetters, ReadTheWordsTheRecordHolds) {
    for (std::size_t words = 0; words <= 6; ++words) {
        SCOPED_TRACE(::testing::Message() << words << " words");
        const Words all = join({kPositionWords, intWords({21, 22, 23})});
        ReadFile f(frame('v', Words(all.begin(), all.begin() + static_cast<long>(words))));
        ASSERT_EQ(GMD_GetRecord(f), 1);
        EXPECT_EQ(GMD_GetRecordType(f), 'v');
        const bool whole = words >= 3;
        float p[3] = {};
        int32_t n = -7;
        std::vector<int32_t> list(4, -7);
        EXPECT_EQ(GMD_GetScattVertexPosition(f, p), whole ? 1 : 0);
        EXPECT_EQ(GMD_GetScattVertexNumAdjacent(f, &n), whole ? 1 : 0);
        EXPECT_EQ(GMD_GetScattVertexAdjacent(f, list.data()), whole ? 1 : 0);
        if (whole) {
            EXPECT_EQ(p[0], kPosition[0]);
            ASSERT_EQ(n, static_cast<int32_t>(words - 3));
            for (int32_t i = 0; i < n; ++i) EXPECT_EQ(list[i], 21 + i);
            EXPECT_EQ(list[n], -7);
        } else {
            EXPECT_EQ(n, -7);
            // The setters refuse a record without a whole position too.
            const int32_t one = 1;
            EXPECT_EQ(GMD_SetScattVertexPosition(f, kPosition) + GMD_SetScattVertexAdjacent(f, 1, &one), 0);
            EXPECT_EQ(wordsInHand(f).size(), words);
        }
    }
}

}  // namespace
