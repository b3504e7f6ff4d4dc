// What the elliptical cylinder 'E' and the cone 'F' share: setters that turn
// two end centres into a unit axis and a length, and a decoded block that
// only an accepted frame of their letter changes.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "solids_support.h"

using namespace gmdtest;
using namespace solidstest;

namespace {

using SetWords = int32_t (*)(GMD_File*, const float*);

struct AxisFamily {
    char letter;
    int words;
    std::vector<int> inputWord;  // the word each full-setter input lands in; -1 for the upper centre
    int lengthWord;              // upper extent of 'E', height of 'F'
    int zeroWord;                // lower extent of 'E', reserved word of 'F'
    SetWords setAll;
    SetWords setLowerCenter;
    SetWords setUpperCenter;
    std::vector<float> (*block)(GMD_File*);
    int upperInBlock;  // where the upper centre and the Y direction sit in the block
    int yInBlock;
};

const AxisFamily kAxisFamilies[] = {
    {'E', 15, {0, 1, 2, -1, -1, -1, 6, 7, 8, 9, 10, 12, 14}, 13, 11, GMD_SetEllipticalCylinder,
     GMD_SetEllipticalCylinderLowerCenter, GMD_SetEllipticalCylinderUpperCenter, ellipticalCylinderBlock, 6, 13},
    {'F', 17, {0, 1, 2, -1, -1, -1, 6, 7, 8, 10, 11, 13, 14, 15, 16}, 12, 9, GMD_SetCone, GMD_SetConeLowerCenter,
     GMD_SetConeUpperCenter, coneBlock, 3, 10},
};

struct EndCentres {
    const char* name;
    float lower[3];
    float upper[3];
};

// End centres whose unit axis comes out differently, in the last bit of a
// float32, when each component is divided by the length instead of
// multiplied by its reciprocal.
const EndCentres kReciprocalMatters = {
    "reciprocal matters", {0x1.22c96ap-33f, 0, 0}, {0x1.226c3ep-1f, 0x1.064134p-3f, 0x1.6afecap-1f}};

const EndCentres kEndCentres[] = {
    {"along z", {1, 1, 1}, {1, 1, 4}},
    {"(1,2,2)", {0, 0, 0}, {1, 2, 2}},
    {"(1,1,1)", {-1, -1, -1}, {0, 0, 0}},
    kReciprocalMatters,
    {"coincident", {2, 3, 4}, {2, 3, 4}},
    {"closer than 1e-16", {0, 0, 0}, {1e-20f, 0, 0}},
    {"not a number: the zero axis", {0, 0, 0}, {std::numeric_limits<float>::quiet_NaN(), 1, 1}},
};

// The words a full setter makes of `in`, built from the family's layout.
std::vector<float> fullSetterWords(const AxisFamily& f, const std::vector<float>& in) {
    std::vector<float> words(static_cast<std::size_t>(f.words), -1.0f);
    for (std::size_t i = 0; i < f.inputWord.size(); ++i)
        if (f.inputWord[i] >= 0) words[static_cast<std::size_t>(f.inputWord[i])] = in[i];
    Axis axis = expectedAxis(&in[0], &in[3]);
    for (int k = 0; k < 3; ++k) words[static_cast<std::size_t>(3 + k)] = axis.unit[k];
    words[static_cast<std::size_t>(f.lengthWord)] = axis.length;
    words[static_cast<std::size_t>(f.zeroWord)] = 0.0f;
    return words;
}

std::vector<float> inputsWith(const AxisFamily& f, const EndCentres& c) {
    std::vector<float> in = countingFrom(20.0f, static_cast<int>(f.inputWord.size()));
    for (int k = 0; k < 3; ++k) {
        in[static_cast<std::size_t>(k)] = c.lower[k];
        in[static_cast<std::size_t>(3 + k)] = c.upper[k];
    }
    return in;
}


}  // namespace

TEST(AxisSetters, FullSettersStoreTheUnitAxisAndItsLength) {
    for (const AxisFamily& f : kAxisFamilies) {
        for (const EndCentres& c : kEndCentres) {
            SCOPED_TRACE(std::string(1, f.letter) + ": " + c.name);
            std::vector<float> in = inputsWith(f, c);
            Bytes bytes = frameOf([&](GMD_File* h) { EXPECT_EQ(f.setAll(h, in.data()), 1); });
            EXPECT_EQ(bytes, solidFrame(f.letter, fullSetterWords(f, in)));
        }
    }
}

TEST(AxisSetters, UpperCentreRecomputesOnlyTheAxisAndLength) {
    for (const AxisFamily& f : kAxisFamilies) {
        for (const EndCentres& c : kEndCentres) {
            SCOPED_TRACE(std::string(1, f.letter) + ": " + c.name);
            std::vector<float> in = inputsWith(f, {"start", {c.lower[0], c.lower[1], c.lower[2]}, {7, 8, 9}});
            std::vector<float> expected = fullSetterWords(f, in);
            Axis axis = expectedAxis(c.lower, c.upper);
            for (int k = 0; k < 3; ++k) expected[static_cast<std::size_t>(3 + k)] = axis.unit[k];
            expected[static_cast<std::size_t>(f.lengthWord)] = axis.length;

            Bytes bytes = frameOf([&](GMD_File* h) {
                EXPECT_EQ(f.setAll(h, in.data()), 1);
                EXPECT_EQ(f.setUpperCenter(h, c.upper), 1);
            });
            EXPECT_EQ(bytes, solidFrame(f.letter, expected));
        }
    }
}

TEST(AxisSetters, UpperCentreNeedsAnExistingRecord) {
    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        const float upper[3] = {0, 0, 5};
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(f.setUpperCenter(h, upper), 0); }), frame(0, {}));
    }
}

// Only the full setter writes the lower extent of 'E' and the reserved word
// of 'F'; on a record read from elsewhere it must clear them.
TEST(AxisSetters, FullSetterClearsTheWordNoOtherSetterWrites) {
    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        ReadFile in(solidFrame(f.letter, countingFrom(1.0f, f.words)));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        std::vector<float> values = inputsWith(f, kEndCentres[0]);
        ASSERT_EQ(f.setAll(in, values.data()), 1);
        EXPECT_EQ(wordsInHand(in), bitsOf(fullSetterWords(f, values)));
    }
}

// The blocks change only when a frame of their own letter is accepted: not
// through setters, not through a frame rejected for its length, and not
// through the other family's frames.
TEST(DecodedBlocks, ChangeOnlyWhenAFrameOfTheirLetterIsAccepted) {
    for (std::size_t i = 0; i < 2; ++i) {
        const AxisFamily& f = kAxisFamilies[i];
        const AxisFamily& other = kAxisFamilies[1 - i];
        SCOPED_TRACE(f.letter);
        std::vector<float> first = countingFrom(1.0f, f.words);
        ReadFile in(concat({solidFrame(f.letter, first), solidFrame(f.letter, countingFrom(40.0f, f.words - 1)),
                           solidFrame(other.letter, countingFrom(60.0f, other.words)),
                           solidFrame(f.letter, countingFrom(80.0f, f.words + 1)),
                           solidFrame(f.letter, countingFrom(90.0f, f.words))}));

        ASSERT_EQ(GMD_GetRecord(in), 1);
        const std::vector<float> decoded = f.block(in);
        ASSERT_FALSE(decoded.empty());

        std::vector<float> otherInputs = countingFrom(-9.0f, static_cast<int>(f.inputWord.size()));
        EXPECT_EQ(f.setAll(in, otherInputs.data()), 1);
        EXPECT_EQ(f.setLowerCenter(in, &otherInputs[3]), 1);
        EXPECT_EQ(f.setUpperCenter(in, &otherInputs[6]), 1);
        expectSameBits(f.block(in), decoded);

        ASSERT_EQ(GMD_GetRecord(in), 1);  // one word short
        EXPECT_EQ(GMD_GetRecordType(in), 0);
        expectSameBits(f.block(in), decoded);

        ASSERT_EQ(GMD_GetRecord(in), 1);  // the other family
        EXPECT_TRUE(f.block(in).empty());
        const std::vector<float> otherDecoded = other.block(in);
        ASSERT_FALSE(otherDecoded.empty());

        ASSERT_EQ(GMD_GetRecord(in), 1);  // one word too many
        EXPECT_EQ(GMD_GetRecordType(in), 0);
        expectSameBits(f.block(in), decoded);

        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_NE(f.block(in), decoded);

        // The other family's block outlived all of it.
        ASSERT_EQ(GMD_ResetRecord(in), 1);
        ASSERT_EQ(other.setLowerCenter(in, &otherInputs[0]), 1);
        expectSameBits(other.block(in), otherDecoded);
    }
}

TEST(DecodedBlocks, UpperCentreIsComputedInDoublePrecision) {
    const float center[3] = {1.1f, 1.1f, 1.1f};
    const float z[3] = {1.0f / 3, 2.0f / 3, 2.0f / 3};
    const float distance = 2.9f;
    const std::vector<float> upper = expectedAlong(center, z, distance);
    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        std::vector<float> words(static_cast<std::size_t>(f.words), 0.0f);
        for (int k = 0; k < 3; ++k) {
            words[static_cast<std::size_t>(k)] = center[k];
            words[static_cast<std::size_t>(3 + k)] = z[k];
        }
        words[static_cast<std::size_t>(f.lengthWord)] = distance;
        words[11] = distance;  // the lower extent of 'E'
        ReadFile in(solidFrame(f.letter, words));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        std::vector<float> block = f.block(in);
        ASSERT_FALSE(block.empty());
        expectSameBits(&block[static_cast<std::size_t>(f.upperInBlock)], upper);
        if (f.letter == 'E') expectSameBits(&block[3], expectedAlong(center, z, -distance));
    }
}

TEST(DecodedBlocks, StartAtZeroOnANewHandle) {
    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        TempFile file;
        Handle out(GMD_OpenWriteFile(file.c_str()));
        EXPECT_TRUE(f.block(out).empty());
        std::vector<float> in = inputsWith(f, kEndCentres[1]);
        ASSERT_EQ(f.setAll(out, in.data()), 1);
        std::vector<float> block = f.block(out);
        ASSERT_FALSE(block.empty());
        for (float v : block) EXPECT_EQ(floatBits(v), 0u);
    }
}

TEST(DecodedBlocks, YdirectionIsTheUnitVectorOfZcrossX) {
    struct Case {
        const char* name;
        float z[3];
        float x[3];
        std::vector<float> y;
    };
    const Case cases[] = {
        {"right-handed frame", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {"Z not of unit length", {0, 0, 2}, {1, 0, 0}, {0, 1, 0}},
        {"X not perpendicular", {0, 0, 1}, {3, 0, 4}, {0, 1, 0}},
        {"X parallel to Z", {0, 0, 1}, {0, 0, 3}, {0, 0, 0}},
        {"X zero", {0, 1, 0}, {0, 0, 0}, {0, 0, 0}},
    };

    for (const AxisFamily& f : kAxisFamilies) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(1, f.letter) + ": " + c.name);
            std::vector<float> words = countingFrom(1.0f, f.words);
            for (int k = 0; k < 3; ++k) {
                words[static_cast<std::size_t>(3 + k)] = c.z[k];
                words[static_cast<std::size_t>(6 + k)] = c.x[k];
            }
            ReadFile in(solidFrame(f.letter, words));
            ASSERT_EQ(GMD_GetRecord(in), 1);
            std::vector<float> block = f.block(in);
            ASSERT_FALSE(block.empty());
            expectSameBits(&block[static_cast<std::size_t>(f.yInBlock)], c.y);
            expectSameBits(&block[static_cast<std::size_t>(f.yInBlock - 3)], {c.x[0], c.x[1], c.x[2]});
            expectSameBits(&block[static_cast<std::size_t>(f.yInBlock + 3)], {c.z[0], c.z[1], c.z[2]});
        }
    }
}

// Frames from elsewhere: Z is taken as stored, 'E' measures both ends from
// its centre by its two extents, and the reserved word of 'F' is never read.
TEST(DecodedBlocks, FramesFromElsewhere) {
    struct Case {
        const char* name;
        const AxisFamily& f;
        std::vector<float> words;
        std::vector<float> block;
    };
    const Case cases[] = {
        {"E: lower extent 2, upper extent 3", kAxisFamilies[0],
         {0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1, 2, 0.25f, 3, 0.5f},
         {0, 0, 0, 0, 0, -2, 0, 0, 3, 5, 1, 0, 0, 0, 1, 0, 0, 0, 1, 2, 1, 0.25f, 0.5f}},
        {"E: Z of length 2 doubles the distances but not the height", kAxisFamilies[0],
         {0, 0, 0, 0, 0, 2, 1, 0, 0, 2, 1, 1, 0, 1, 0},
         {0, 0, 0, 0, 0, -2, 0, 0, 2, 2, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 0, 0}},
        {"E: centre off the origin, negative extent", kAxisFamilies[0],
         {5, -1, 2, 0, 1, 0, 0, 0, 1, 3, 4, -1, 0, 2, 0},
         {5, -1, 2, 5, 0, 2, 5, 1, 2, 1, 0, 0, 1, 1, 0, 0, 0, 1, 0, 3, 4, 0, 0}},
        {"F: Z of length 2, reserved word set", kAxisFamilies[1],
         {0, 0, 0, 0, 0, 2, 1, 0, 0, 99, 2, 1, 3, 1, 0.5f, 0.25f, 0.125f},
         {0, 0, 0, 0, 0, 6, 3, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 1, 0.5f, 0.25f, 0.125f}},
        {"F: negative height, lower centre off the origin", kAxisFamilies[1],
         {1, 2, 3, 1, 0, 0, 0, 1, 0, 0, 4, 5, -2, 6, 7, 8, 9},
         {1, 2, 3, -1, 2, 3, -2, 0, 1, 0, 0, 0, 1, 1, 0, 0, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadFile in(solidFrame(c.f.letter, c.words));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        expectSameBits(c.f.block(in), c.block);
    }
}
