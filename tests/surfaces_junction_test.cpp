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

TEST(Junction, SettersCreateANineWordRecordWithASpaceHeaderByte) {
    struct Case {
        const char* name;
        std::function<int32_t(GMD_File*)> set;
        std::vector<float> words;
    } cases[] = {
        {"normal", [](GMD_File* h) { return GMD_SetJunctionNormal(h, kNormal); }, {0, 0, 0, 0, 0, 0, 0, 0, -1}},
        {"vertex 0", [](GMD_File* h) { return GMD_SetJunctionVertex(h, 0, kVertex); }, {4, 5, 6, 0, 0, 0, 0, 0, 0}},
        {"vertex 1", [](GMD_File* h) { return GMD_SetJunctionVertex(h, 1, kVertex); }, {0, 0, 0, 4, 5, 6, 0, 0, 0}},
        {"vertices", [](GMD_File* h) { return GMD_SetJunctionVertices(h, kAll); }, {1, 2, 3, 4, 5, 6, 0, 0, 0}},
        {"whole junction", [](GMD_File* h) { return GMD_SetJunction(h, kAll); }, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = written([&](GMD_File* h) {
            GMD_SetGroup(h, 3);
            ASSERT_EQ(c.set(h), 1);
            GMD_WriteRecord(h);
        });
        EXPECT_EQ(bytes, frame('O', bitsOf(c.words), 3, 0x20));
    }
}

TEST(Junction, PartialSettersPatchTheirWordsAndKeepTheHeaderByte) {
    Bytes bytes = written([](GMD_File* h) {
        ASSERT_EQ(GMD_SetJunctionVertex(h, 1, kVertex), 1);
        GMD_SetGroup2(h, 5);
        ASSERT_EQ(GMD_SetJunctionNormal(h, kNormal), 1);
        ASSERT_EQ(GMD_SetJunctionVertex(h, 0, kAll), 1);
        EXPECT_EQ(GMD_SetJunctionVertex(h, 2, kAll), 0);
        GMD_WriteRecord(h);

        ASSERT_EQ(GMD_SetJunctionNormal(h, kNormal), 1);
        GMD_SetGroup2(h, 5);
        ASSERT_EQ(GMD_SetJunction(h, kAll), 1) << "the whole junction sets the byte back";
        GMD_WriteRecord(h);
    });
    EXPECT_EQ(bytes, concat({frame('O', floatWords({1, 2, 3, 4, 5, 6, 0, 0, -1}), 0, 5),
                             frame('O', floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9}), 0, 0x20)}));
}

TEST(Junction, RefusalsChangeNothing) {
    Scratch h;
    float out[9];
    EXPECT_EQ(GMD_SetJunctionVertex(h, 2, kVertex), 0);
    EXPECT_EQ(GMD_SetJunctionVertex(h, static_cast<uint32_t>(-1), kVertex), 0);
    EXPECT_EQ(GMD_GetRecordType(h), 0) << "an index above 1 creates nothing";
    EXPECT_EQ(GMD_GetJunction(h, out), 0);
    ASSERT_EQ(GMD_SetJunctionNormal(h, kNormal), 1);
    EXPECT_EQ(GMD_GetJunctionVertex(h, 2, out), 0);
    EXPECT_EQ(GMD_GetJunctionVertex(h, static_cast<uint32_t>(-1), out), 0);

    ASSERT_EQ(GMD_ResetRecord(h), 1);
    ASSERT_EQ(GMD_SetTolerance(h, 1.0f), 1);
    using Call = std::function<int32_t()>;
    for (const Call& call : {Call([&] { return GMD_SetJunction(h, kAll); }), Call([&] { return GMD_SetJunctionVertices(h, kAll); }),
                           Call([&] { return GMD_SetJunctionVertex(h, 0, kAll); }), Call([&] { return GMD_SetJunctionNormal(h, kAll); }),
                           Call([&] { return GMD_GetJunctionVertices(h, out); }), Call([&] { return GMD_GetJunctionNormal(h, out); })})
        EXPECT_EQ(call(), 0);
    EXPECT_EQ(GMD_GetRecordType(h), 'G');
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
