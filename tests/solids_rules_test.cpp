// The accessor rules every solid family shares, exercised through one table
// of {export, letter, first word, count} per accessor kind.
#include <cmath>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "solids_support.h"

using namespace gmdtest;
using namespace solidstest;

namespace {

using SetWords = int32_t (*)(GMD_File*, const float*);
using GetWords = int32_t (*)(GMD_File*, float*);

template <int32_t (*set)(GMD_File*, float)>
int32_t scalar(GMD_File* handle, const float* value) {
    return set(handle, *value);
}

struct Family {
    char letter;
    int words;
    int inputs;  // values the full setter takes
    SetWords setAll;
    int32_t typeCode;
};

const Family kFamilies[] = {
    {'S', 4, 4, GMD_SetSphere, 83},
    {'R', 5, 5, GMD_SetScatter, 82},
    {'D', 7, 7, GMD_SetDisk, 68},
    {'C', 7, 7, GMD_SetCircularCylinder, 67},
    {'E', 15, 13, GMD_SetEllipticalCylinder, 69},
    {'F', 17, 15, GMD_SetCone, 70},
};

const Family& familyOf(char letter) {
    for (const Family& f : kFamilies)
        if (f.letter == letter) return f;
    throw std::logic_error("no such solid family");
}

struct WordAccessor {
    const char* name;
    char letter;
    int first;
    int count;
};

struct Patch : WordAccessor {
    SetWords set;
};

const Patch kPatchingSetters[] = {
    {{"SetSphereCenter", 'S', 0, 3}, GMD_SetSphereCenter},
    {{"SetSphereRadius", 'S', 3, 1}, scalar<GMD_SetSphereRadius>},
    {{"SetScatterCenter", 'R', 0, 3}, GMD_SetScatterCenter},
    {{"SetScatterRadius", 'R', 3, 1}, scalar<GMD_SetScatterRadius>},
    {{"SetScatterEMRadius", 'R', 4, 1}, scalar<GMD_SetScatterEMRadius>},
    {{"SetDiskCenter", 'D', 0, 3}, GMD_SetDiskCenter},
    {{"SetDiskNormal", 'D', 3, 3}, GMD_SetDiskNormal},
    {{"SetDiskRadius", 'D', 6, 1}, scalar<GMD_SetDiskRadius>},
    {{"SetCylinderLowerCenter", 'C', 0, 3}, GMD_SetCylinderLowerCenter},
    {{"SetCylinderUpperCenter", 'C', 3, 3}, GMD_SetCylinderUpperCenter},
    {{"SetCylinderRadius", 'C', 6, 1}, scalar<GMD_SetCylinderRadius>},
    {{"SetEllipticalCylinderLowerCenter", 'E', 0, 3}, GMD_SetEllipticalCylinderLowerCenter},
    {{"SetEllipticalCylinderZdirection", 'E', 3, 3}, GMD_SetEllipticalCylinderZdirection},
    {{"SetEllipticalCylinderXdirection", 'E', 6, 3}, GMD_SetEllipticalCylinderXdirection},
    {{"SetEllipticalCylinderXsemiAxis", 'E', 9, 1}, scalar<GMD_SetEllipticalCylinderXsemiAxis>},
    {{"SetEllipticalCylinderYsemiAxis", 'E', 10, 1}, scalar<GMD_SetEllipticalCylinderYsemiAxis>},
    {{"SetEllipticalCylinderLowerTiltAngle", 'E', 12, 1}, scalar<GMD_SetEllipticalCylinderLowerTiltAngle>},
    {{"SetEllipticalCylinderHeight", 'E', 13, 1}, scalar<GMD_SetEllipticalCylinderHeight>},
    {{"SetEllipticalCylinderUpperTiltAngle", 'E', 14, 1}, scalar<GMD_SetEllipticalCylinderUpperTiltAngle>},
    {{"SetConeLowerCenter", 'F', 0, 3}, GMD_SetConeLowerCenter},
    {{"SetConeZdirection", 'F', 3, 3}, GMD_SetConeZdirection},
    {{"SetConeXdirection", 'F', 6, 3}, GMD_SetConeXdirection},
    {{"SetConeLowerXsemiAxis", 'F', 10, 1}, scalar<GMD_SetConeLowerXsemiAxis>},
    {{"SetConeLowerYsemiAxis", 'F', 11, 1}, scalar<GMD_SetConeLowerYsemiAxis>},
    {{"SetConeHeight", 'F', 12, 1}, scalar<GMD_SetConeHeight>},
    {{"SetConeUpperXsemiAxis", 'F', 13, 1}, scalar<GMD_SetConeUpperXsemiAxis>},
    {{"SetConeUpperYsemiAxis", 'F', 14, 1}, scalar<GMD_SetConeUpperYsemiAxis>},
    {{"SetConeLowerTiltAngle", 'F', 15, 1}, scalar<GMD_SetConeLowerTiltAngle>},
    {{"SetConeUpperTiltAngle", 'F', 16, 1}, scalar<GMD_SetConeUpperTiltAngle>},
};

// The setters that compute words from the record in hand; they only ever
// patch an existing record of their letter.
const Patch kComputingSetters[] = {
    {{"SetEllipticalCylinderUpperCenter", 'E', 3, 3}, GMD_SetEllipticalCylinderUpperCenter},
    {{"SetConeUpperCenter", 'F', 3, 3}, GMD_SetConeUpperCenter},
};

std::vector<Patch> wordSetters() {
    std::vector<Patch> setters(std::begin(kPatchingSetters), std::end(kPatchingSetters));
    setters.insert(setters.end(), std::begin(kComputingSetters), std::end(kComputingSetters));
    return setters;
}

struct Get : WordAccessor {
    GetWords get;
};

// Getters that copy words; those of 'E' and 'F' answer from decoded blocks
// and have tests of their own.
const Get kWordGetters[] = {
    {{"GetSphere", 'S', 0, 4}, GMD_GetSphere},
    {{"GetSphereCenter", 'S', 0, 3}, GMD_GetSphereCenter},
    {{"GetSphereRadius", 'S', 3, 1}, GMD_GetSphereRadius},
    {{"GetScatter", 'R', 0, 5}, GMD_GetScatter},
    {{"GetScatterCenter", 'R', 0, 3}, GMD_GetScatterCenter},
    {{"GetScatterRadius", 'R', 3, 1}, GMD_GetScatterRadius},
    {{"GetScatterEMRadius", 'R', 4, 1}, GMD_GetScatterEMRadius},
    {{"GetDisk", 'D', 0, 7}, GMD_GetDisk},
    {{"GetDiskCenter", 'D', 0, 3}, GMD_GetDiskCenter},
    {{"GetDiskNormal", 'D', 3, 3}, GMD_GetDiskNormal},
    {{"GetDiskRadius", 'D', 6, 1}, GMD_GetDiskRadius},
    {{"GetCircularCylinder", 'C', 0, 7}, GMD_GetCircularCylinder},
    {{"GetCylinderLowerCenter", 'C', 0, 3}, GMD_GetCylinderLowerCenter},
    {{"GetCylinderUpperCenter", 'C', 3, 3}, GMD_GetCylinderUpperCenter},
    {{"GetCylinderRadius", 'C', 6, 1}, GMD_GetCylinderRadius},
    {{"GetCylinderHeight", 'C', -1, 1}, GMD_GetCylinderHeight},  // computed: no word range
};

constexpr float kSentinel = -12345.5f;

// The bytes of one record made by `family`'s full setter from distinct values.
Bytes wholeRecord(const Family& family, const std::vector<float>& inputs) {
    return frameOf([&](GMD_File* h) { EXPECT_EQ(family.setAll(h, inputs.data()), 1); });
}

std::vector<float> inputsOf(const Family& family) { return countingFrom(10.0f, family.inputs); }


}  // namespace

// On the empty record a patching setter creates the family's all-zero
// record; on one of its family it changes only its own words.
TEST(SolidPatchingSetters, CreateOrPatchTheirFamilysRecord) {
    for (const Patch& p : kPatchingSetters) {
        SCOPED_TRACE(p.name);
        const Family& family = familyOf(p.letter);
        std::vector<float> values = countingFrom(100.0f, p.count);
        std::vector<std::uint32_t> created(static_cast<std::size_t>(family.words), 0u);
        std::vector<std::uint32_t> patched = frameWords(wholeRecord(family, inputsOf(family)));
        for (int k = 0; k < p.count; ++k) created[p.first + k] = patched[p.first + k] = floatBits(values[k]);
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(p.set(h, values.data()), 1); }), frame(p.letter, created));
        EXPECT_EQ(frameOf([&](GMD_File* h) {
                      EXPECT_EQ(family.setAll(h, inputsOf(family).data()), 1);
                      EXPECT_EQ(p.set(h, values.data()), 1);
                  }),
                  frame(p.letter, patched));
    }
}

TEST(SolidSetters, RefuseARecordOfAnotherSolidFamilyAndLeaveItAlone) {
    std::vector<Patch> setters = wordSetters();
    for (const Family& f : kFamilies) setters.push_back({{"full setter", f.letter, 0, f.inputs}, f.setAll});

    for (const Family& other : kFamilies) {
        const Bytes untouched = wholeRecord(other, inputsOf(other));
        for (const Patch& p : setters) {
            if (p.letter == other.letter) continue;
            SCOPED_TRACE(std::string(p.name) + " of '" + p.letter + "' on '" + other.letter + "'");
            std::vector<float> values = countingFrom(-3.0f, 15);
            Bytes bytes = frameOf([&](GMD_File* h) {
                EXPECT_EQ(other.setAll(h, inputsOf(other).data()), 1);
                EXPECT_EQ(p.set(h, values.data()), 0);
            });
            EXPECT_EQ(bytes, untouched);
        }
    }
}

TEST(SolidFullSetters, OverwriteTheirOwnRecordAndKeepTheGroupBytes) {
    for (const Family& f : kFamilies) {
        if (f.words != f.inputs) continue;  // 'E' and 'F' compute words; tested with their families
        SCOPED_TRACE(f.letter);
        std::vector<float> values = countingFrom(0.25f, f.inputs);
        values[0] = -0.0f;
        Bytes bytes = frameOf([&](GMD_File* h) {
            EXPECT_EQ(GMD_SetGroup(h, -7), 1);
            EXPECT_EQ(GMD_SetGroup2(h, 3), 1);
            EXPECT_EQ(f.setAll(h, inputsOf(f).data()), 1);
            EXPECT_EQ(f.setAll(h, values.data()), 1);
        });
        EXPECT_EQ(bytes, solidFrame(f.letter, values, -7, 3));
    }
}

TEST(SolidRecords, ReadingTypesThemByTheirExactWordCount) {
    for (const Family& f : kFamilies) {
        SCOPED_TRACE(f.letter);
        for (int words : {0, f.words - 1, f.words, f.words + 1}) {
            ReadFile in(solidFrame(f.letter, countingFrom(1.0f, words)));
            ASSERT_EQ(GMD_GetRecord(in), 1);
            EXPECT_EQ(GMD_GetRecordType(in), words == f.words ? f.typeCode : 0) << words << " words";
        }
    }
}

TEST(SolidGetters, CopyTheirWordsBitForBit) {
    // Values no arithmetic would keep: a NaN with a payload, -0.0, a subnormal.
    std::vector<std::uint32_t> words = {0x7FC01234u, 0x80000000u, 0x00000001u, floatBits(2.5f),
                                        floatBits(-3.75f), floatBits(1e30f), floatBits(6.0f)};
    for (const Get& g : kWordGetters) {
        if (g.first < 0) continue;
        SCOPED_TRACE(g.name);
        const Family& family = familyOf(g.letter);
        std::vector<std::uint32_t> payload(words.begin(), words.begin() + family.words);
        ReadFile in(frame(g.letter, payload));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        std::vector<float> out(static_cast<std::size_t>(g.count) + 1, kSentinel);
        ASSERT_EQ(g.get(in, out.data()), 1);
        for (int k = 0; k < g.count; ++k) EXPECT_EQ(floatBits(out[k]), payload[g.first + k]) << "value " << k;
        EXPECT_EQ(out.back(), kSentinel) << "wrote past its values";
    }
}

TEST(SolidGetters, RefuseTheEmptyRecordAndEveryOtherLetter) {
    Bytes frames;
    for (const Family& f : kFamilies) frames = concat({frames, solidFrame(f.letter, countingFrom(1.0f, f.words))});
    for (const Get& g : kWordGetters) {
        SCOPED_TRACE(g.name);
        ReadFile in(frames);
        float out[8] = {kSentinel, kSentinel, kSentinel, kSentinel, kSentinel, kSentinel, kSentinel, kSentinel};
        EXPECT_EQ(g.get(in, out), 0) << "on the empty record";
        while (GMD_GetRecord(in) == 1) {
            if (GMD_GetRecordType(in) == familyOf(g.letter).typeCode) continue;
            EXPECT_EQ(g.get(in, out), 0) << "on type " << GMD_GetRecordType(in);
        }
        for (float v : out) EXPECT_EQ(v, kSentinel);
    }
}

// A record read with a family's letter but another length is refused by
// every patching setter and by the getters whose words it lacks; the full
// setter takes it and makes it whole.
TEST(SolidRecords, OfTheWrongLengthAreRefusedByWordAccessorsUntilAFullSetterRebuildsThem) {
    for (const Family& f : kFamilies) {
        for (int words : {f.words - 1, f.words + 1}) {
            SCOPED_TRACE(std::string(1, f.letter) + " with " + std::to_string(words) + " words");
            ReadFile in(solidFrame(f.letter, countingFrom(1.0f, words)));
            ASSERT_EQ(GMD_GetRecord(in), 1);
            std::vector<float> values = countingFrom(50.0f, 3);
            for (const Patch& p : wordSetters()) {
                if (p.letter != f.letter) continue;
                EXPECT_EQ(p.set(in, values.data()), 0) << p.name;
            }
            for (const Get& g : kWordGetters) {
                if (g.letter != f.letter) continue;
                // The height is measured from words 0 to 5.
                const int end = g.first < 0 ? 6 : g.first + g.count;
                std::vector<float> out(8, kSentinel);
                EXPECT_EQ(g.get(in, out.data()), end <= words ? 1 : 0) << g.name;
                if (end > words) {
                    for (float v : out) EXPECT_EQ(v, kSentinel) << g.name;
                } else if (g.first >= 0) {
                    EXPECT_EQ(out[0], static_cast<float>(g.first + 1)) << g.name;
                    EXPECT_EQ(out[static_cast<std::size_t>(g.count)], kSentinel) << g.name;
                }
            }

            ASSERT_EQ(f.setAll(in, inputsOf(f).data()), 1);
            for (const Patch& p : wordSetters()) {
                if (p.letter != f.letter) continue;
                EXPECT_EQ(p.set(in, values.data()), 1) << p.name;
            }
            for (const Get& g : kWordGetters) {
                if (g.letter != f.letter || g.first < 0) continue;
                std::vector<float> out(static_cast<std::size_t>(g.count), kSentinel);
                EXPECT_EQ(g.get(in, out.data()), 1) << g.name;
            }
        }
    }
}

// The circular cylinder's height: widened, measured and rounded once.
TEST(SolidGetters, CylinderHeightIsMeasuredInDoublePrecision) {
    const std::vector<float> cases[] = {
        {0, 0, 0, 0, 0, 2},
        {0, 3, 4, 0, 0, 0},
        {0.1f, 0.2f, 0.3f, 1.7f, -2.9f, 3.3f},
        {0, 0, 0, 3e20f, 4e20f, 0},  // squares that overflow float32
        {1e-25f, 0, 0, 0, 0, 0},     // or vanish in it
    };
    for (const auto& c : cases) {
        double d[3];
        for (int k = 0; k < 3; ++k) d[k] = static_cast<double>(c[3 + k]) - static_cast<double>(c[k]);
        ReadFile in(solidFrame('C', {c[0], c[1], c[2], c[3], c[4], c[5], 1.0f}));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        float height = -1.0f;
        ASSERT_EQ(GMD_GetCylinderHeight(in, &height), 1);
        EXPECT_EQ(floatBits(height), floatBits(static_cast<float>(std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]))));
    }
}
