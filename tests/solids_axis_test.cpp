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

Bytes writeOne(const std::function<void(GMD_File*)>& build) {
    TempFile file;
    return writtenBytes(file, [&](GMD_File* h) {
        build(h);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
}

}  // namespace

TEST(AxisSetters, TheCaseThatTellsAReciprocalFromADivisionReallyDoes) {
    const float* l = kReciprocalMatters.lower;
    const float* u = kReciprocalMatters.upper;
    double dx = static_cast<double>(u[0]) - l[0], dy = u[1] - static_cast<double>(l[1]),
           dz = u[2] - static_cast<double>(l[2]);
    double len = std::sqrt(dx * dx + dy * dy + dz * dz);
    EXPECT_NE(static_cast<float>(dx / len), expectedAxis(l, u).unit[0]);
}

TEST(AxisSetters, FullSettersStoreTheUnitAxisAndItsLength) {
    for (const AxisFamily& f : kAxisFamilies) {
        for (const EndCentres& c : kEndCentres) {
            SCOPED_TRACE(std::string(1, f.letter) + ": " + c.name);
            std::vector<float> in = inputsWith(f, c);
            Bytes bytes = writeOne([&](GMD_File* h) { EXPECT_EQ(f.setAll(h, in.data()), 1); });
            EXPECT_EQ(bytes, solidFrame(f.letter, fullSetterWords(f, in)));
        }
    }
}

TEST(AxisSetters, AnUpperCentreThatIsNotANumberGivesTheZeroAxis) {
    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        EndCentres c{"NaN", {0, 0, 0}, {std::numeric_limits<float>::quiet_NaN(), 1, 1}};
        std::vector<float> in = inputsWith(f, c);
        std::vector<std::uint32_t> words =
            frameWords(writeOne([&](GMD_File* h) { EXPECT_EQ(f.setAll(h, in.data()), 1); }));
        ASSERT_EQ(words.size(), static_cast<std::size_t>(f.words));
        for (int k = 3; k < 6; ++k) EXPECT_EQ(words[static_cast<std::size_t>(k)], 0u) << "word " << k;
        EXPECT_TRUE(std::isnan(bitsFloat(words[static_cast<std::size_t>(f.lengthWord)])));
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

            Bytes bytes = writeOne([&](GMD_File* h) {
                EXPECT_EQ(f.setAll(h, in.data()), 1);
                EXPECT_EQ(f.setUpperCenter(h, c.upper), 1);
            });
            EXPECT_EQ(bytes, solidFrame(f.letter, expected));
        }
    }
}

TEST(AxisSetters, UpperCentreNeedsAnExistingRecord) {
    const float lowerE[3] = {0, 0, 0}, upperE[3] = {0, 0, 5};
    const float lowerF[3] = {1, 0, 0}, upperF[3] = {1, 0, 3};
    struct Case {
        const AxisFamily& f;
        const float* lower;
        const float* upper;
        float length;
    } cases[] = {{kAxisFamilies[0], lowerE, upperE, 5}, {kAxisFamilies[1], lowerF, upperF, 3}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.f.letter);
        const float sphere[4] = {1, 2, 3, 4};
        Bytes refused = writeOne([&](GMD_File* h) {
            EXPECT_EQ(c.f.setUpperCenter(h, c.upper), 0);
            EXPECT_EQ(GMD_SetSphere(h, sphere), 1) << "the record did not stay empty";
        });
        EXPECT_EQ(refused, solidFrame('S', {1, 2, 3, 4}));

        std::vector<float> expected(static_cast<std::size_t>(c.f.words), 0.0f);
        for (int k = 0; k < 3; ++k) expected[static_cast<std::size_t>(k)] = c.lower[k];
        expected[5] = 1.0f;
        expected[static_cast<std::size_t>(c.f.lengthWord)] = c.length;
        Bytes built = writeOne([&](GMD_File* h) {
            EXPECT_EQ(c.f.setLowerCenter(h, c.lower), 1);
            EXPECT_EQ(c.f.setUpperCenter(h, c.upper), 1);
        });
        EXPECT_EQ(built, solidFrame(c.f.letter, expected));
    }
}

// Only the full setter writes the lower extent of 'E' and the reserved word
// of 'F'; on a record read from elsewhere it must clear them.
TEST(AxisSetters, FullSetterClearsTheWordNoOtherSetterWrites) {
    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        TempFile file;
        file.write(solidFrame(f.letter, countingFrom(1.0f, f.words)));
        Handle in(GMD_OpenReadFile(file.c_str()));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        std::vector<float> values = inputsWith(f, kEndCentres[0]);
        ASSERT_EQ(f.setAll(in, values.data()), 1);
        const gmd::RecordBuffer& record = gmd::fileOf(in)->record;
        ASSERT_EQ(record.wordCount(), f.words);
        std::vector<float> words;
        for (int i = 0; i < f.words; ++i) words.push_back(record.getFloat(i));
        expectSameBits(words, fullSetterWords(f, values));
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
        TempFile file;
        file.write(concat({solidFrame(f.letter, first), solidFrame(f.letter, countingFrom(40.0f, f.words - 1)),
                           solidFrame(other.letter, countingFrom(60.0f, other.words)),
                           solidFrame(f.letter, countingFrom(80.0f, f.words + 1)),
                           solidFrame(f.letter, countingFrom(90.0f, f.words))}));
        Handle in(GMD_OpenReadFile(file.c_str()));

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
    // float32 arithmetic would have rounded twice and landed elsewhere.
    volatile float product = distance * z[0];
    volatile float sum = center[0] + product;
    EXPECT_NE(sum, upper[0]);

    for (const AxisFamily& f : kAxisFamilies) {
        SCOPED_TRACE(f.letter);
        std::vector<float> words(static_cast<std::size_t>(f.words), 0.0f);
        for (int k = 0; k < 3; ++k) {
            words[static_cast<std::size_t>(k)] = center[k];
            words[static_cast<std::size_t>(3 + k)] = z[k];
        }
        words[static_cast<std::size_t>(f.lengthWord)] = distance;
        words[11] = distance;  // the lower extent of 'E'
        TempFile file;
        file.write(solidFrame(f.letter, words));
        Handle in(GMD_OpenReadFile(file.c_str()));
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
    // Z x X = (ux - lx, uy, uy) with the end centres of kReciprocalMatters'
    // sibling: a cross product whose unit vector also needs the reciprocal.
    const float lx = 0x1.fc20b2p-25f, ux = 0x1.ec54eap+0f, uy = 0x1.888874p-1f;
    const float lower[3] = {lx, 0, 0}, upper[3] = {ux, uy, uy};
    const Axis crossAxis = expectedAxis(lower, upper);
    const Case cases[] = {
        {"right-handed frame", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {"Z not of unit length", {0, 0, 2}, {1, 0, 0}, {0, 1, 0}},
        {"X not perpendicular", {0, 0, 1}, {3, 0, 4}, {0, 1, 0}},
        {"X parallel to Z", {0, 0, 1}, {0, 0, 3}, {0, 0, 0}},
        {"X zero", {0, 1, 0}, {0, 0, 0}, {0, 0, 0}},
        {"reciprocal matters", {0, 1, -1}, {-uy, -lx, ux}, {crossAxis.unit[0], crossAxis.unit[1], crossAxis.unit[2]}},
    };
    double dx = static_cast<double>(ux) - lx, dy = uy;
    EXPECT_NE(static_cast<float>(dx / std::sqrt(dx * dx + 2 * dy * dy)), crossAxis.unit[0]);

    for (const AxisFamily& f : kAxisFamilies) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(1, f.letter) + ": " + c.name);
            std::vector<float> words = countingFrom(1.0f, f.words);
            for (int k = 0; k < 3; ++k) {
                words[static_cast<std::size_t>(3 + k)] = c.z[k];
                words[static_cast<std::size_t>(6 + k)] = c.x[k];
            }
            TempFile file;
            file.write(solidFrame(f.letter, words));
            Handle in(GMD_OpenReadFile(file.c_str()));
            ASSERT_EQ(GMD_GetRecord(in), 1);
            std::vector<float> block = f.block(in);
            ASSERT_FALSE(block.empty());
            expectSameBits(&block[static_cast<std::size_t>(f.yInBlock)], c.y);
            expectSameBits(&block[static_cast<std::size_t>(f.yInBlock - 3)], {c.x[0], c.x[1], c.x[2]});
            expectSameBits(&block[static_cast<std::size_t>(f.yInBlock + 3)], {c.z[0], c.z[1], c.z[2]});
        }
    }
}
