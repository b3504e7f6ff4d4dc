// Helpers shared by the solid record tests: frames of float values, the
// words of a written frame, and bitwise float comparison.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "test_support.h"

namespace solidstest {

using gmdtest::Bytes;
using gmdtest::bitsOf;

inline Bytes solidFrame(char letter, const std::vector<float>& values, std::int8_t group = 0,
                        std::int8_t group2 = 0) {
    return gmdtest::frame(letter, bitsOf(values), group, group2);
}

// The payload words of the single frame that `bytes` holds.
inline std::vector<std::uint32_t> frameWords(const Bytes& bytes) {
    std::vector<std::uint32_t> words;
    for (std::size_t at = 8; at + 8 <= bytes.size(); at += 4) {
        std::uint32_t w = 0;
        for (int k = 0; k < 4; ++k) w |= std::uint32_t{bytes[at + static_cast<std::size_t>(k)]} << (8 * k);
        words.push_back(w);
    }
    return words;
}

// n distinct values start, start + 1, ...
inline std::vector<float> countingFrom(float start, int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i) v.push_back(start + static_cast<float>(i));
    return v;
}

// Equal bit patterns, so that -0.0 and 0.0 or two NaNs are told apart.
inline void expectSameBits(const float* got, const std::vector<float>& want) {
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(gmdtest::floatBits(got[i]), gmdtest::floatBits(want[i]))
            << "value " << i << ": got " << got[i] << ", want " << want[i];
}

inline void expectSameBits(const std::vector<float>& got, const std::vector<float>& want) {
    ASSERT_EQ(got.size(), want.size());
    expectSameBits(got.data(), want);
}

// The unit axis and length from `lower` to `upper` as a correct writer
// stores them: double precision, one reciprocal, each result rounded once.
struct Axis {
    float unit[3];
    float length;
};

inline Axis expectedAxis(const float lower[3], const float upper[3]) {
    double d[3];
    for (int k = 0; k < 3; ++k) d[k] = static_cast<double>(upper[k]) - static_cast<double>(lower[k]);
    double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    Axis a{{0.0f, 0.0f, 0.0f}, static_cast<float>(len)};
    if (len > 1e-16) {
        double r = 1.0 / len;
        for (int k = 0; k < 3; ++k) a.unit[k] = static_cast<float>(d[k] * r);
    }
    return a;
}

// A point `t` along `direction` from `origin`, widened, computed and rounded once.
inline std::vector<float> expectedAlong(const float origin[3], const float direction[3], float t) {
    std::vector<float> p;
    for (int k = 0; k < 3; ++k)
        p.push_back(static_cast<float>(static_cast<double>(origin[k]) +
                                       static_cast<double>(t) * static_cast<double>(direction[k])));
    return p;
}

using BlockGetter = std::pair<std::int32_t (*)(GMD_File*, float*), int>;

// Calls getters that each append `count` values to a block; the block is
// empty when every getter refused, and a getter that disagrees with the
// others about refusing fails the test. `whole`, the getter of the whole
// solid, must agree with the single getters on the runs `wholeRuns`.
inline std::vector<float> readBlock(GMD_File* handle, std::initializer_list<BlockGetter> getters,
                                    std::int32_t (*whole)(GMD_File*, float*), int wholeCount,
                                    std::initializer_list<std::pair<int, int>> wholeRuns) {
    std::vector<float> block;
    int accepted = 0;
    for (const auto& g : getters) {
        std::vector<float> values(static_cast<std::size_t>(g.second), -12345.5f);
        accepted += g.first(handle, values.data());
        block.insert(block.end(), values.begin(), values.end());
    }
    EXPECT_TRUE(accepted == 0 || accepted == static_cast<int>(getters.size())) << accepted << " getters answered";
    if (accepted == 0) block.clear();
    std::vector<float> all(static_cast<std::size_t>(wholeCount), -12345.5f);
    EXPECT_EQ(whole(handle, all.data()), block.empty() ? 0 : 1);
    if (!block.empty()) {
        std::vector<float> want;
        for (auto run : wholeRuns) want.insert(want.end(), block.begin() + run.first, block.begin() + run.first + run.second);
        expectSameBits(all, want);
    }
    return block;
}

// Everything the elliptical-cylinder getters report: centre, lower centre,
// upper centre, height, X, Y, Z, X and Y semi-axes, lower and upper tilt
// angles (23 values); empty when they refuse.
inline std::vector<float> ellipticalCylinderBlock(GMD_File* handle) {
    return readBlock(handle,
                     {{GMD_GetEllipticalCylinderCenter, 3}, {GMD_GetEllipticalCylinderLowerCenter, 3},
                      {GMD_GetEllipticalCylinderUpperCenter, 3}, {GMD_GetEllipticalCylinderHeight, 1},
                      {GMD_GetEllipticalCylinderXdirection, 3}, {GMD_GetEllipticalCylinderYdirection, 3},
                      {GMD_GetEllipticalCylinderZdirection, 3}, {GMD_GetEllipticalCylinderXsemiAxis, 1},
                      {GMD_GetEllipticalCylinderYsemiAxis, 1}, {GMD_GetEllipticalCylinderLowerTiltAngle, 1},
                      {GMD_GetEllipticalCylinderUpperTiltAngle, 1}},
                     GMD_GetEllipticalCylinder, 13, {{3, 6}, {10, 3}, {19, 4}});
}

// The same for the cone: lower centre, upper centre, height, X, Y, Z, lower
// X and Y semi-axes, upper X and Y semi-axes, lower and upper tilt angles
// (22 values).
inline std::vector<float> coneBlock(GMD_File* handle) {
    return readBlock(handle,
                     {{GMD_GetConeLowerCenter, 3}, {GMD_GetConeUpperCenter, 3}, {GMD_GetConeHeight, 1},
                      {GMD_GetConeXdirection, 3}, {GMD_GetConeYdirection, 3}, {GMD_GetConeZdirection, 3},
                      {GMD_GetConeLowerXsemiAxis, 1}, {GMD_GetConeLowerYsemiAxis, 1}, {GMD_GetConeUpperXsemiAxis, 1},
                      {GMD_GetConeUpperYsemiAxis, 1}, {GMD_GetConeLowerTiltAngle, 1}, {GMD_GetConeUpperTiltAngle, 1}},
                     GMD_GetCone, 15, {{0, 6}, {7, 3}, {16, 6}});
}

}  // namespace solidstest
