// The cone 'F': its seventeen words, and the geometry a reader decodes from
// them.
#include <vector>

#include "solids_support.h"

using namespace gmdtest;
using namespace solidstest;

namespace {

std::vector<float> readBlock(const std::vector<float>& words) {
    TempFile file;
    file.write(solidFrame('F', words));
    Handle in(GMD_OpenReadFile(file.c_str()));
    EXPECT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 70);
    return coneBlock(in);
}

}  // namespace

TEST(Cone, WrittenAndReadBack) {
    const float in[15] = {0, 0, 0, 0, 0, 2, 1, 0, 0, 2, 1, 1, 0.5f, 0.25f, 0.125f};
    TempFile file;
    Bytes bytes = writtenBytes(file, [&](GMD_File* h) {
        ASSERT_EQ(GMD_SetCone(h, in), 1);
        ASSERT_EQ(GMD_WriteRecord(h), 1);
    });
    EXPECT_EQ(bytes, solidFrame('F', {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 2, 1, 2, 1, 0.5f, 0.25f, 0.125f}));

    Handle reader(GMD_OpenReadFile(file.c_str()));
    ASSERT_EQ(GMD_GetRecord(reader), 1);
    EXPECT_EQ(GMD_GetRecordType(reader), 70);
    expectSameBits(coneBlock(reader), {0, 0, 0,  // lower centre
                                       0, 0, 2,  // upper centre
                                       2,        // height
                                       1, 0, 0,  // X
                                       0, 1, 0,  // Y
                                       0, 0, 1,  // Z
                                       2, 1, 1, 0.5f, 0.25f, 0.125f});
    float whole[15];
    ASSERT_EQ(GMD_GetCone(reader, whole), 1);
    expectSameBits(whole, std::vector<float>(in, in + 15));
}

TEST(Cone, FramesFromElsewhereTakeTheHeightAlongZAsStored) {
    struct Case {
        const char* name;
        std::vector<float> words;
        std::vector<float> block;
    };
    const Case cases[] = {
        {"Z of length 2",
         {0, 0, 0, 0, 0, 2, 1, 0, 0, 0, 2, 1, 3, 1, 0.5f, 0, 0},
         {0, 0, 0, 0, 0, 6, 3, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 1, 0.5f, 0, 0}},
        {"reserved word set",
         {0, 0, 0, 0, 0, 2, 1, 0, 0, 99, 2, 1, 3, 1, 0.5f, 0, 0},
         {0, 0, 0, 0, 0, 6, 3, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 1, 0.5f, 0, 0}},
        {"negative height, lower centre off the origin",
         {1, 2, 3, 1, 0, 0, 0, 1, 0, 0, 4, 5, -2, 6, 7, 8, 9},
         {1, 2, 3, -1, 2, 3, -2, 0, 1, 0, 0, 0, 1, 1, 0, 0, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameBits(readBlock(c.words), c.block);
    }
}
