// Hinge records: the four appended sections, their exact words, and the
// decoded data that the getters answer from.
#include "test_support.h"

using namespace gmdtest;

namespace {

const float kTen[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
const int32_t kGroups[2] = {7, -2};

void writeHinge(GMD_File* h) {
    ASSERT_EQ(GMD_SetHingeName(h, "AB"), 1);
    ASSERT_EQ(GMD_SetHingeType(h, "WXYZ"), 1);
    ASSERT_EQ(GMD_SetHingePointsData(h, 1, kTen), 1);
    ASSERT_EQ(GMD_SetHingeGroups(h, 2, kGroups), 1);
}

const std::vector<uint32_t> kHingeWords =
    join({{4, textWord("AB  "), 4, textWord("WXYZ"), 1}, floatWords({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), {2, 7, 0xFFFFFFFEu}});

}  // namespace

TEST(Hinge, ExactRecords) {
    const float two[20] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    struct Case {
        const char* name;
        std::function<void(GMD_File*)> build;
        std::vector<uint32_t> words;
    } cases[] = {
        {"two-character name, one point, two groups", writeHinge, kHingeWords},
        {"empty texts, no points, no groups",
         [](GMD_File* h) {
             GMD_SetHingeName(h, "");
             GMD_SetHingeType(h, "");
             ASSERT_EQ(GMD_SetHingePoints(h, 0, nullptr), 1);
             ASSERT_EQ(GMD_SetHingeGroups(h, 0, nullptr), 1);
         },
         {0, 0, 0, 0}},
        {"eight characters unpadded, five padded; values 8 and 9 of each point exchanged",
         [&](GMD_File* h) {
             GMD_SetHingeName(h, "HINGE-01");
             GMD_SetHingeType(h, "axial");
             ASSERT_EQ(GMD_SetHingePoints(h, 2, two), 1);
             GMD_SetHingeGroups(h, 0, nullptr);
         },
         join({{8, textWord("HING"), textWord("E-01"), 8, textWord("axia"), textWord("l   "), 2},
                    floatWords({1, 2, 3, 4, 5, 6, 7, 8, 10, 9, 11, 12, 13, 14, 15, 16, 17, 18, 20, 19}),
                    {0}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = written([&](GMD_File* h) {
            GMD_SetGroup(h, 9);
            c.build(h);
            EXPECT_EQ(GMD_WriteRecord(h), 1);
        });
        EXPECT_EQ(bytes, frame('H', c.words, 9, 1));
    }
}

TEST(Hinge, ReadBack) {
    ReadFile in(concat({frame('H', kHingeWords), frame('H', join({{0, 0, 1}, floatWords({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), {0}}))}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 72);
    EXPECT_EQ(textOf(in, GMD_GetHingeName, 5), "AB  ");
    EXPECT_EQ(textOf(in, GMD_GetHingeType, 5), "WXYZ");
    int32_t n = 0, groups[2];
    ASSERT_EQ(GMD_GetHingeNumPoints(in, &n), 1);
    EXPECT_EQ(n, 10) << "values, not points";
    ASSERT_EQ(GMD_GetHingeNumGroups(in, &n), 1);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(GMD_GetHingeGroups(in, groups), 1);
    EXPECT_EQ(std::vector<int32_t>(groups, groups + 2), (std::vector<int32_t>{7, -2}));
    std::vector<float> point(10);
    for (auto get : {GMD_GetHingePoints, GMD_GetHingePointsData}) {
        ASSERT_EQ(get(in, point.data()), 1);
        EXPECT_EQ(point, std::vector<float>(kTen, kTen + 10));
    }

    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(textOf(in, GMD_GetHingeName, 1), "");
    ASSERT_EQ(GMD_GetHingePoint(in, 0, point.data()), 1);
    EXPECT_EQ(point, std::vector<float>(kTen, kTen + 10));
    for (int32_t index : {-1, 1, 0x20000000, std::numeric_limits<int32_t>::max()})
        EXPECT_EQ(GMD_GetHingePoint(in, index, point.data()), 0) << index;
    EXPECT_EQ(GMD_GetHingeGroups(in, groups), 1) << "no groups is still an answer";
}

TEST(Hinge, GettersAnswerFromTheLastHingeRead) {
    TempFile file;
    {
        Handle out(GMD_OpenWriteFile(file.c_str()));
        writeHinge(out);
        EXPECT_EQ(textOf(out, GMD_GetHingeName), "") << "this handle never read a hinge";
        float point[10];
        EXPECT_EQ(GMD_GetHingePoint(out, 0, point), 0);
        GMD_WriteRecord(out);
    }
    ReadFile in(concat({file.bytes(), frame('G', floatWords({1})), frame('H', {8})}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    ASSERT_EQ(GMD_ResetRecord(in), 1);
    ASSERT_EQ(GMD_SetHingeName(in, "in hand"), 1);
    EXPECT_EQ(textOf(in, GMD_GetHingeName), "AB  ") << "not the record being built";

    ASSERT_EQ(GMD_GetRecord(in), 1);
    char name[8];
    EXPECT_EQ(GMD_GetHingeName(in, name), 0) << "a 'G' record is in hand";
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 0);
    EXPECT_EQ(textOf(in, GMD_GetHingeName), "AB  ") << "an invalid hinge leaves the last one";
}

TEST(Hinge, RefusalsChangeNothing) {
    Bytes bytes = written([](GMD_File* h) {
        EXPECT_EQ(GMD_SetHingeType(h, "WXYZ"), 0);
        EXPECT_EQ(GMD_SetHingeGroups(h, 2, kGroups), 0);
        EXPECT_EQ(GMD_SetHingeName(h, nullptr), 0);
        EXPECT_EQ(GMD_GetRecordType(h), 0);

        writeHinge(h);
        EXPECT_EQ(GMD_SetHingeName(h, "again"), 0);
        EXPECT_EQ(GMD_SetHingePoints(h, -1, kTen), 0);
        EXPECT_EQ(GMD_SetHingePointsData(h, -1, kTen), 0);
        EXPECT_EQ(GMD_SetHingeGroups(h, -1, kGroups), 0);
        GMD_WriteRecord(h);

        GMD_SetTolerance(h, 1.0f);
        EXPECT_EQ(GMD_SetHingeName(h, "AB"), 0);
        EXPECT_EQ(GMD_SetHingePoints(h, 1, kTen), 0);
        int32_t n;
        EXPECT_EQ(GMD_GetHingeNumGroups(h, &n), 0);
        GMD_WriteRecord(h);
    });
    EXPECT_EQ(bytes, concat({frame('H', kHingeWords, 0, 1), frame('G', floatWords({1}))}));
}

TEST(Hinge, Decoding) {
    struct Case {
        const char* name;
        std::vector<uint32_t> words;
        const char* hingeName;  // null: invalid
    } cases[] = {
        {"words after the groups are ignored", {0, 0, 0, 0, 99}, ""},
        {"a length that is no multiple of 4 overlaps the next length word",
         {5, textWord("ABCD"), 4, textWord("TYPE"), 0, 0}, "ABCD\x04"},
        {"no words", {}, nullptr},
        {"negative name length", {0xFFFFFFFCu, 0, 0, 0, 0}, nullptr},
        {"name past the end", {8, textWord("ABCD")}, nullptr},
        {"huge name length", {0x7FFFFFFFu, 0, 0, 0}, nullptr},
        {"no type length", {4, textWord("ABCD")}, nullptr},
        {"type past the end", {0, 8, textWord("ABCD")}, nullptr},
        {"negative point count", {0, 0, 0xFFFFFFFFu, 0}, nullptr},
        {"points past the end", join({{0, 0, 1}, std::vector<uint32_t>(10, 0)}), nullptr},
        {"point values past 32 bits", {0, 0, 0x1999999Au, 0}, nullptr},
        {"no group count", {0, 0, 0}, nullptr},
        {"negative group count", {0, 0, 0, 0x80000000u}, nullptr},
        {"groups past the end", {0, 0, 0, 2, 5}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile in(concat({frame('H', kHingeWords), frame('H', c.words)}));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(GMD_GetRecordType(in), c.hingeName ? 'H' : 0);
        EXPECT_EQ(textOf(in, GMD_GetHingeName), c.hingeName ? c.hingeName : "AB  ");
        int32_t n = -1;
        ASSERT_EQ(GMD_GetHingeNumGroups(in, &n), 1);
        EXPECT_EQ(n, c.hingeName ? 0 : 2);
    }
}
