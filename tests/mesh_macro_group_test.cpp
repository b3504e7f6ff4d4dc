// Macro groups ('U') and scattered vertices ('v'): the records the setter
// sequences build in either order, and getters on records read from a file,
// damaged ones included.
#include <functional>
#include <string>

#include "test_support.h"

using namespace gmdtest;

namespace {

struct BuildCase {
    const char* name;
    std::function<void(GMD_File*)> build;
    Bytes expected;
};

void expectFrames(const std::vector<BuildCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frameOf(c.build), c.expected);
    }
}

const int32_t kGroups[] = {4, 9, 2};
const int32_t kOtherGroups[] = {7, 8};

void groups(GMD_File* h, const int32_t* list, int32_t n) { EXPECT_EQ(GMD_SetMacroGroupGroups(h, n, list), 1); }
void name(GMD_File* h, const char* text) { EXPECT_EQ(GMD_SetMacroGroupName(h, text), 1); }

TEST(MeshMacroGroupSetters, GiveGroupListThenNameInEitherOrder) {
    const Words fiveCharacterName = join({intWords({8}), textWords("abcde   ")});
    expectFrames({
        {"groups", [](GMD_File* h) { groups(h, kGroups, 3); }, frame('U', intWords({3, 4, 9, 2}))},
        {"no groups", [](GMD_File* h) { groups(h, nullptr, 0); }, frame('U', intWords({0}))},
        {"name alone", [](GMD_File* h) { name(h, "abcde"); }, frame('U', fiveCharacterName)},
        {"groups then name",
         [](GMD_File* h) { groups(h, kOtherGroups, 2); name(h, "abcde"); },
         frame('U', join({intWords({2, 7, 8}), fiveCharacterName}))},
        {"name then groups",
         [](GMD_File* h) { name(h, "abcde"); groups(h, kOtherGroups, 2); },
         frame('U', join({intWords({2, 7, 8}), fiveCharacterName}))},
        {"a repeated group list replaces the first and keeps the name",
         [](GMD_File* h) {
             groups(h, kGroups, 3);
             name(h, "abcde");
             groups(h, kOtherGroups, 2);
             groups(h, kOtherGroups + 1, 1);
         },
         frame('U', join({intWords({1, 8}), fiveCharacterName}))},
        {"a repeated group list may grow",
         [](GMD_File* h) { name(h, "xy"); groups(h, nullptr, 0); groups(h, kGroups, 3); },
         frame('U', join({intWords({3, 4, 9, 2, 4}), textWords("xy  ")}))},
        {"empty name then groups", 
         [](GMD_File* h) { name(h, ""); groups(h, kOtherGroups, 2); },
         frame('U', intWords({2, 7, 8, 0}))},
        {"groups then empty name",
         [](GMD_File* h) { groups(h, kOtherGroups, 2); name(h, ""); },
         frame('U', intWords({2, 7, 8, 0}))},
        {"a name of twelve characters has no padding",
         [](GMD_File* h) { groups(h, nullptr, 0); name(h, "twelve chars"); },
         frame('U', join({intWords({0, 12}), textWords("twelve chars")}))},
        {"refusals leave the record alone",
         [](GMD_File* h) {
             groups(h, kGroups, 1);
             EXPECT_EQ(GMD_SetMacroGroupGroups(h, -1, kGroups), 0);
             EXPECT_EQ(GMD_SetMacroGroupName(h, nullptr), 0);
             EXPECT_EQ(GMD_SetScattVertexPosition(h, nullptr), 0);
         },
         frame('U', intWords({1, 4}))},
        {"refusals never create a record",
         [](GMD_File* h) {
             EXPECT_EQ(GMD_SetMacroGroupGroups(h, -2, kGroups), 0);
             EXPECT_EQ(GMD_SetMacroGroupName(h, nullptr), 0);
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, -1, kGroups), 0);
         },
         frame(0, {})},
        {"another family refuses the macro group setters",
         [](GMD_File* h) {
             float p[3] = {1, 2, 3};
             GMD_SetScattVertexPosition(h, p);
             EXPECT_EQ(GMD_SetMacroGroupGroups(h, 1, kGroups) + GMD_SetMacroGroupName(h, "a"), 0);
         },
         frame('v', floatWords({1, 2, 3}))},
    });
}

TEST(MeshMacroGroupGetters, ReadOnlyBlocksInsideTheRecord) {
    struct Case {
        const char* name;
        Words words;
        int groups;        // group count, or -1 when refused
        const char* text;  // the name, or nullptr when refused
    };
    const Case cases[] = {
        {"no words", {}, -1, nullptr},
        {"groups, no name", intWords({2, 5, 6}), 2, nullptr},
        {"no groups, no name", intWords({0}), 0, nullptr},
        {"groups and name", join({intWords({1, 5, 8}), textWords("Copper1 ")}), 1, "Copper1 "},
        {"empty name", intWords({1, 5, 0}), 1, ""},
        {"count beyond the record", intWords({3, 5, 6}), -1, nullptr},
        {"negative count", intWords({-1, 5, 6}), -1, nullptr},
        {"name length beyond the record", join({intWords({1, 5, 8}), textWords("abcd")}), 1, nullptr},
        {"name length not a multiple of 4 beyond the record", join({intWords({0, 5}), textWords("abcd")}), 0,
         nullptr},
        {"name length not a multiple of 4 inside the record", join({intWords({0, 3}), textWords("abcd")}), 0, "abc"},
        {"negative name length", join({intWords({0, -4}), textWords("abcd")}), 0, nullptr},
        {"name with a NUL byte", join({intWords({0, 8}), textWords(std::string("ab\0defgh", 8))}), 0, "ab"},
        {"name block only", join({intWords({4}), textWords("abcd")}), -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile f(frame('U', c.words));
        ASSERT_EQ(GMD_GetRecord(f), 1);
        EXPECT_EQ(GMD_GetRecordType(f), 'U');
        int32_t n = -7;
        std::vector<int32_t> list(4, -7);
        EXPECT_EQ(GMD_GetMacroGroupNumGroups(f, &n), c.groups >= 0 ? 1 : 0);
        EXPECT_EQ(GMD_GetMacroGroupGroups(f, list.data()), c.groups >= 0 ? 1 : 0);
        if (c.groups >= 0) {
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

const float kPosition[3] = {1.5f, -2, 3};
const Words kPositionWords = floatWords({1.5f, -2, 3});

TEST(MeshScatteredVertexSetters, SetPositionAndListInEitherOrder) {
    const int32_t adjacent[] = {10, 11, 12};
    expectFrames({
        {"position", [](GMD_File* h) { EXPECT_EQ(GMD_SetScattVertexPosition(h, kPosition), 1); },
         frame('v', kPositionWords)},
        {"list alone",
         [&](GMD_File* h) { EXPECT_EQ(GMD_SetScattVertexAdjacent(h, 2, adjacent), 1); },
         frame('v', join({zeroWords(3), intWords({10, 11})}))},
        {"list then position",
         [&](GMD_File* h) {
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, 2, adjacent), 1);
             EXPECT_EQ(GMD_SetScattVertexPosition(h, kPosition), 1);
         },
         frame('v', join({kPositionWords, intWords({10, 11})}))},
        {"a shorter list replaces a longer one",
         [&](GMD_File* h) {
             EXPECT_EQ(GMD_SetScattVertexPosition(h, kPosition), 1);
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, 3, adjacent), 1);
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, 1, adjacent + 2), 1);
         },
         frame('v', join({kPositionWords, intWords({12})}))},
        {"an empty list",
         [&](GMD_File* h) {
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, 3, adjacent), 1);
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, 0, nullptr), 1);
             EXPECT_EQ(GMD_SetScattVertexAdjacent(h, -1, adjacent), 0);
         },
         frame('v', zeroWords(3))},
        {"another family refuses the vertex setters",
         [&](GMD_File* h) {
             groups(h, kGroups, 1);
             EXPECT_EQ(GMD_SetScattVertexPosition(h, kPosition) + GMD_SetScattVertexAdjacent(h, 1, adjacent), 0);
         },
         frame('U', intWords({1, 4}))},
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
