// Junction records: nine words patched in place, and their header byte.
#include "test_support.h"

using namespace gmdtest;

namespace {

const float kVertex[3] = {4, 5, 6}, kNormal[3] = {0, 0, -1}, kAll[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};

std::vector<float> junctionOf(GMD_File* h) {
    std::vector<float> words(9, -99.0f);
    EXPECT_EQ(GMD_GetJunction(h, words.data()), 1);
    return words;
}

}  // namespace

// n: normal; 0, 1, 2, F: vertex of that index (F = 2^32 - 1); v: both
// vertices; j: the whole junction; g: group2 5; G: a tolerance record.
const Calls kCalls = {
    {'n', [](GMD_File* h) { return GMD_SetJunctionNormal(h, kNormal); }},
    {'0', [](GMD_File* h) { return GMD_SetJunctionVertex(h, 0, kVertex); }},
    {'1', [](GMD_File* h) { return GMD_SetJunctionVertex(h, 1, kVertex); }},
    {'2', [](GMD_File* h) { return GMD_SetJunctionVertex(h, 2, kVertex); }},
    {'F', [](GMD_File* h) { return GMD_SetJunctionVertex(h, 0xFFFFFFFFu, kVertex); }},
    {'v', [](GMD_File* h) { return GMD_SetJunctionVertices(h, kAll); }},
    {'j', [](GMD_File* h) { return GMD_SetJunction(h, kAll); }},
    {'g', [](GMD_File* h) { return GMD_SetGroup2(h, 5); }},
    {'G', [](GMD_File* h) { return GMD_SetTolerance(h, 1.0f); }},
};

// A setter that creates the record, and every whole junction, puts a space
// into the second header byte; patching setters keep the byte in hand.
TEST(Junction, SettersWriteTheirWords) {
    expectScripts(kCalls, {
        {"n", frame('O', floatWords({0, 0, 0, 0, 0, 0, 0, 0, -1}), 0, 0x20)},
        {"0", frame('O', floatWords({4, 5, 6, 0, 0, 0, 0, 0, 0}), 0, 0x20)},
        {"1", frame('O', floatWords({0, 0, 0, 4, 5, 6, 0, 0, 0}), 0, 0x20)},
        {"v", frame('O', floatWords({1, 2, 3, 4, 5, 6, 0, 0, 0}), 0, 0x20)},
        {"j", frame('O', floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9}), 0, 0x20)},
        {"1gn0!2", frame('O', floatWords({4, 5, 6, 4, 5, 6, 0, 0, -1}), 0, 5)},
        {"ngj", frame('O', floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9}), 0, 0x20)},
        {"!2!F", frame(0, {})},
        {"G!j!v!0!n", frame('G', floatWords({1}))},
    });
}

TEST(Junction, GettersRefuseIndicesAboveOneAndOtherLetters) {
    Scratch h;
    float out[9];
    EXPECT_EQ(GMD_GetJunction(h, out), 0);
    runScript(h, kCalls, "n");
    EXPECT_EQ(GMD_GetJunctionVertex(h, 2, out), 0);
    EXPECT_EQ(GMD_GetJunctionVertex(h, static_cast<uint32_t>(-1), out), 0);
    ASSERT_EQ(GMD_ResetRecord(h), 1);
    runScript(h, kCalls, "G");
    EXPECT_EQ(GMD_GetJunctionVertices(h, out) + GMD_GetJunctionNormal(h, out), 0);
}

TEST(Junction, ShortRecordFromAFileIsRefusedUntilWrittenWhole) {
    ReadFile in(concat({frame('O', floatWords({1, 2, 3, 4, 5})), frame('O', floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 'O');
    float out[9];
    EXPECT_EQ(GMD_GetJunction(in, out), 0);
    EXPECT_EQ(GMD_GetJunctionVertex(in, 0, out), 0) << "even words that are present";
    EXPECT_EQ(GMD_SetJunctionVertex(in, 0, kVertex), 0);
    ASSERT_EQ(GMD_SetJunction(in, kAll), 1);
    EXPECT_EQ(junctionOf(in), std::vector<float>(kAll, kAll + 9));
    int32_t group2 = 0;
    GMD_GetGroup2(in, &group2);
    EXPECT_EQ(group2, 0x20);

    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 79);
    EXPECT_EQ(junctionOf(in), std::vector<float>(kAll, kAll + 9)) << "a longer record reads its first nine";
    std::vector<float> v(6);
    ASSERT_EQ(GMD_GetJunctionVertices(in, v.data()), 1);
    EXPECT_EQ(v, std::vector<float>(kAll, kAll + 6));
    ASSERT_EQ(GMD_GetJunctionVertex(in, 1, v.data()), 1);
    ASSERT_EQ(GMD_GetJunctionNormal(in, v.data() + 3), 1);
    EXPECT_EQ(v, std::vector<float>(kAll + 3, kAll + 9));
}
