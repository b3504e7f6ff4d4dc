// The circular cylinder's height, measured in double precision between the
// end centres in the record's words.
#include <cmath>

#include "solids_support.h"

using namespace gmdtest;
using namespace solidstest;

namespace {

struct HeightCase {
    const char* name;
    float lower[3];
    float upper[3];
};

// The height a correct reader reports: widened, measured, rounded once.
float expectedHeight(const float l[3], const float u[3]) {
    double d[3];
    for (int k = 0; k < 3; ++k) d[k] = static_cast<double>(u[k]) - static_cast<double>(l[k]);
    return static_cast<float>(std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]));
}

}  // namespace

TEST(CylinderHeight, IsTheDistanceBetweenTheEndCentresInDoublePrecision) {
    const HeightCase cases[] = {
        {"along z", {0, 0, 0}, {0, 0, 2}},
        {"coincident ends", {1.5f, -2, 3}, {1.5f, -2, 3}},
        {"reversed", {0, 3, 4}, {0, 0, 0}},
        {"oblique", {0.1f, 0.2f, 0.3f}, {1.7f, -2.9f, 3.3f}},
        // Squares that overflow float32 ...
        {"huge", {0, 0, 0}, {3e20f, 4e20f, 0}},
        // ... or vanish in it.
        {"tiny", {1e-25f, 0, 0}, {0, 0, 0}},
    };
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        std::vector<float> words = {c.lower[0], c.lower[1], c.lower[2], c.upper[0], c.upper[1], c.upper[2], 1.0f};
        file.write(solidFrame('C', words));
        Handle in(GMD_OpenReadFile(file.c_str()));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        float height = -1.0f;
        ASSERT_EQ(GMD_GetCylinderHeight(in, &height), 1);
        EXPECT_EQ(floatBits(height), floatBits(expectedHeight(c.lower, c.upper)));
    }

    // The cases that tell double from float32 arithmetic really do.
    EXPECT_EQ(expectedHeight(cases[4].lower, cases[4].upper), 5e20f);
    EXPECT_GT(expectedHeight(cases[5].lower, cases[5].upper), 0.0f);
}

TEST(CylinderHeight, FollowsTheWordsAsTheSettersChangeThem) {
    TempFile file;
    Handle out(GMD_OpenWriteFile(file.c_str()));
    const float upper[3] = {0, 3, 4};
    ASSERT_EQ(GMD_SetCylinderUpperCenter(out, upper), 1);
    float height = 0;
    ASSERT_EQ(GMD_GetCylinderHeight(out, &height), 1);
    EXPECT_EQ(height, 5.0f);

    const float lower[3] = {0, 3, 1};
    ASSERT_EQ(GMD_SetCylinderLowerCenter(out, lower), 1);
    ASSERT_EQ(GMD_GetCylinderHeight(out, &height), 1);
    EXPECT_EQ(height, 3.0f);

    const float cylinder[7] = {0, 0, 0, 0, 0, 2, 1};
    ASSERT_EQ(GMD_SetCircularCylinder(out, cylinder), 1);
    ASSERT_EQ(GMD_GetCylinderHeight(out, &height), 1);
    EXPECT_EQ(height, 2.0f);
}

TEST(CylinderHeight, RefusesADiskAndTheEmptyRecord) {
    TempFile file;
    Handle out(GMD_OpenWriteFile(file.c_str()));
    float height = -1.0f;
    EXPECT_EQ(GMD_GetCylinderHeight(out, &height), 0);
    const float disk[7] = {0, 0, 0, 0, 0, 2, 1};
    ASSERT_EQ(GMD_SetDisk(out, disk), 1);
    EXPECT_EQ(GMD_GetCylinderHeight(out, &height), 0);
    EXPECT_EQ(height, -1.0f);
}
