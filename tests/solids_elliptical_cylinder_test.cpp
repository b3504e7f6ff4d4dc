// The elliptical cylinder 'E': its fifteen words, and the geometry a reader
// decodes from them.
#include <vector>

#include "solids_support.h"

using namespace gmdtest;
using namespace solidstest;

namespace {

std::vector<float> readBlock(const std::vector<float>& words) {
    TempFile file;
    file.write(solidFrame('E', words));
    Handle in(GMD_OpenReadFile(file.c_str()));
    EXPECT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 69);
    return ellipticalCylinderBlock(in);
}

}  // namespace

TEST(EllipticalCylinder, WrittenAndReadBack) {
    const float in[13] = {1, 1, 1, 1, 1, 4, 1, 0, 0, 2, 1, 0.25f, 0.5f};
    TempFile file;
    Bytes bytes = writtenBytes(file, [&](GMD_File* h) {
        ASSERT_EQ(GMD_SetEllipticalCylinder(h, in), 1);
        ASSERT_EQ(GMD_WriteRecord(h), 1);
    });
    EXPECT_EQ(bytes, solidFrame('E', {1, 1, 1, 0, 0, 1, 1, 0, 0, 2, 1, 0, 0.25f, 3, 0.5f}));

    Handle reader(GMD_OpenReadFile(file.c_str()));
    ASSERT_EQ(GMD_GetRecord(reader), 1);
    EXPECT_EQ(GMD_GetRecordType(reader), 69);
    expectSameBits(ellipticalCylinderBlock(reader), {1, 1, 1,  // centre
                                                     1, 1, 1,  // lower centre
                                                     1, 1, 4,  // upper centre
                                                     3,        // height
                                                     1, 0, 0,  // X
                                                     0, 1, 0,  // Y
                                                     0, 0, 1,  // Z
                                                     2, 1, 0.25f, 0.5f});
    float whole[13];
    ASSERT_EQ(GMD_GetEllipticalCylinder(reader, whole), 1);
    expectSameBits(whole, std::vector<float>(in, in + 13));
}

TEST(EllipticalCylinder, FramesFromElsewhereMeasureBothEndsFromTheCentre) {
    struct Case {
        const char* name;
        std::vector<float> words;
        std::vector<float> block;
    };
    const Case cases[] = {
        {"lower extent 2, upper extent 3",
         {0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1, 2, 0.25f, 3, 0.5f},
         {0, 0, 0, 0, 0, -2, 0, 0, 3, 5, 1, 0, 0, 0, 1, 0, 0, 0, 1, 2, 1, 0.25f, 0.5f}},
        {"Z of length 2 doubles the distances but not the height",
         {0, 0, 0, 0, 0, 2, 1, 0, 0, 2, 1, 1, 0, 1, 0},
         {0, 0, 0, 0, 0, -2, 0, 0, 2, 2, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 0, 0}},
        {"centre off the origin, negative extent",
         {5, -1, 2, 0, 1, 0, 0, 0, 1, 3, 4, -1, 0, 2, 0},
         {5, -1, 2, 5, 0, 2, 5, 1, 2, 1, 0, 0, 1, 1, 0, 0, 0, 1, 0, 3, 4, 0, 0}},
        {"zero axis, as the setters write coincident ends",
         {2, 3, 4, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0},
         {2, 3, 4, 2, 3, 4, 2, 3, 4, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameBits(readBlock(c.words), c.block);
    }
}
