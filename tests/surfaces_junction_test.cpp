// Junction records: nine words patched in place, and their header byte.
#include <functional>

#include "surfaces_support.h"

using namespace gmdtest;

namespace {

const float kVertex0[3] = {1, 2, 3};
const float kVertex1[3] = {4, 5, 6};
const float kNormal[3] = {0, 0, -1};

std::vector<float> junctionOf(GMD_File* h) {
    std::vector<float> words(9, -99.0f);
    EXPECT_EQ(GMD_GetJunction(h, words.data()), 1);
    return words;
}

}  // namespace

TEST(Junction, SettersCreateANineWordRecordWithASpaceHeaderByte) {
    const float both[6] = {1, 2, 3, 4, 5, 6}, all[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    struct Case {
        const char* name;
        std::function<int32_t(GMD_File*)> set;
        std::vector<float> words;
    } cases[] = {
        {"normal", [](GMD_File* h) { return GMD_SetJunctionNormal(h, kNormal); }, {0, 0, 0, 0, 0, 0, 0, 0, -1}},
        {"vertex 0", [](GMD_File* h) { return GMD_SetJunctionVertex(h, 0, kVertex0); }, {1, 2, 3, 0, 0, 0, 0, 0, 0}},
        {"vertex 1", [](GMD_File* h) { return GMD_SetJunctionVertex(h, 1, kVertex1); }, {0, 0, 0, 4, 5, 6, 0, 0, 0}},
        {"vertices", [&](GMD_File* h) { return GMD_SetJunctionVertices(h, both); }, {1, 2, 3, 4, 5, 6, 0, 0, 0}},
        {"whole junction", [&](GMD_File* h) { return GMD_SetJunction(h, all); }, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        Bytes bytes = writtenBytes(file, [&](GMD_File* h) {
            GMD_SetGroup(h, 3);
            ASSERT_EQ(c.set(h), 1);
            EXPECT_EQ(GMD_GetRecordType(h), 'O');
            EXPECT_EQ(junctionOf(h), c.words);
            GMD_WriteRecord(h);
        });
        std::vector<uint32_t> words;
        for (float f : c.words) words.push_back(floatBits(f));
        EXPECT_EQ(bytes, frame('O', words, 3, 0x20));
    }
}

TEST(Junction, PartialSettersPatchTheirWordsAndKeepTheHeaderByte) {
    TempFile file;
    Bytes bytes = writtenBytes(file, [](GMD_File* h) {
        ASSERT_EQ(GMD_SetJunctionVertex(h, 1, kVertex1), 1);
        GMD_SetGroup2(h, 5);
        ASSERT_EQ(GMD_SetJunctionNormal(h, kNormal), 1);
        ASSERT_EQ(GMD_SetJunctionVertex(h, 0, kVertex0), 1);
        EXPECT_EQ(junctionOf(h), (std::vector<float>{1, 2, 3, 4, 5, 6, 0, 0, -1}));
        GMD_WriteRecord(h);

        const float all[9] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
        ASSERT_EQ(GMD_SetJunctionNormal(h, kNormal), 1);
        GMD_SetGroup2(h, 5);
        ASSERT_EQ(GMD_SetJunction(h, all), 1) << "the whole junction sets the byte back";
        GMD_WriteRecord(h);
    });
    EXPECT_EQ(bytes, concat({frame('O', floatWords({1, 2, 3, 4, 5, 6, 0, 0, -1}), 0, 5),
                             frame('O', floatWords({9, 8, 7, 6, 5, 4, 3, 2, 1}), 0, 0x20)}));
}

TEST(Junction, RefusalsChangeNothing) {
    TempFile file;
    Handle h(GMD_OpenWriteFile(file.c_str()));
    float out[9];
    EXPECT_EQ(GMD_SetJunctionVertex(h, 2, kVertex0), 0);
    EXPECT_EQ(GMD_SetJunctionVertex(h, static_cast<uint32_t>(-1), kVertex0), 0);
    EXPECT_EQ(GMD_GetRecordType(h), 0) << "an index above 1 creates nothing";
    EXPECT_EQ(GMD_GetJunction(h, out), 0);

    ASSERT_EQ(GMD_SetJunctionNormal(h, kNormal), 1);
    EXPECT_EQ(GMD_GetJunctionVertex(h, 2, out), 0);
    EXPECT_EQ(GMD_GetJunctionVertex(h, static_cast<uint32_t>(-1), out), 0);
    EXPECT_EQ(GMD_SetJunctionVertex(h, 2, kVertex0), 0);
    EXPECT_EQ(junctionOf(h), (std::vector<float>{0, 0, 0, 0, 0, 0, 0, 0, -1}));

    ASSERT_EQ(GMD_ResetRecord(h), 1);
    ASSERT_EQ(GMD_SetTolerance(h, 1.0f), 1);
    const float all[9] = {};
    EXPECT_EQ(GMD_SetJunction(h, all), 0);
    EXPECT_EQ(GMD_SetJunctionVertices(h, all), 0);
    EXPECT_EQ(GMD_SetJunctionVertex(h, 0, all), 0);
    EXPECT_EQ(GMD_SetJunctionNormal(h, all), 0);
    EXPECT_EQ(GMD_GetJunctionVertices(h, out), 0);
    EXPECT_EQ(GMD_GetJunctionNormal(h, out), 0);
    float tolerance = 0;
    EXPECT_EQ(GMD_GetTolerance(h, &tolerance), 1);
    EXPECT_EQ(tolerance, 1.0f);
}

TEST(Junction, ReadBackExactly) {
    const float all[9] = {1e-45f, -0.0f, 3.25f, 1e30f, -5, 6, 0.1f, 0.2f, 0.3f};
    TempFile file;
    Bytes bytes = writtenBytes(file, [&](GMD_File* h) {
        GMD_SetJunction(h, all);
        GMD_WriteRecord(h);
    });
    ReadFile in(bytes);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 79);
    EXPECT_EQ(bitsOf(junctionOf(in)), bitsOf(std::vector<float>(all, all + 9)));
    float v[6];
    ASSERT_EQ(GMD_GetJunctionVertex(in, 1, v), 1);
    EXPECT_EQ(bitsOf({v[0], v[1], v[2]}), bitsOf({1e30f, -5, 6}));
    ASSERT_EQ(GMD_GetJunctionVertices(in, v), 1);
    EXPECT_EQ(floatBits(v[1]), floatBits(-0.0f));
    ASSERT_EQ(GMD_GetJunctionNormal(in, v), 1);
    EXPECT_EQ(std::vector<float>(v, v + 3), (std::vector<float>{0.1f, 0.2f, 0.3f}));
}

TEST(Junction, ShortRecordFromAFileIsRefusedUntilWrittenWhole) {
    ReadFile in(concat({frame('O', floatWords({1, 2, 3, 4, 5})), frame('O', floatWords({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 'O');
    float out[9];
    EXPECT_EQ(GMD_GetJunction(in, out), 0);
    EXPECT_EQ(GMD_GetJunctionVertex(in, 0, out), 0) << "even words that are present";
    EXPECT_EQ(GMD_SetJunctionVertex(in, 0, kVertex1), 0);
    EXPECT_EQ(GMD_SetJunctionNormal(in, kNormal), 0);
    const float all[9] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    ASSERT_EQ(GMD_SetJunction(in, all), 1);
    EXPECT_EQ(junctionOf(in), std::vector<float>(all, all + 9));
    int32_t group2 = 0;
    GMD_GetGroup2(in, &group2);
    EXPECT_EQ(group2, 0x20);

    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(junctionOf(in), (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9})) << "a longer record reads its first nine";
}
