// Canonical solids: one table of {export, letter, first word, count} per
// accessor kind, the axis the elliptical cylinder 'E' and the cone 'F'
// compute from two end centres, and the decoded blocks their getters answer from.
#include <cmath>
#include <limits>

#include "test_support.h"

using namespace gmdtest;

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
};

const Family kFamilies[] = {
    {'S', 4, 4, GMD_SetSphere},  {'R', 5, 5, GMD_SetScatter},           {'D', 7, 7, GMD_SetDisk},
    {'C', 7, 7, GMD_SetCircularCylinder}, {'E', 15, 13, GMD_SetEllipticalCylinder}, {'F', 17, 15, GMD_SetCone},
};

const Family& familyOf(char letter) {
    for (const Family& f : kFamilies)
        if (f.letter == letter) return f;
    return kFamilies[0];
}

template <class Access>
struct Accessor {
    char letter;
    int first, count;
    Access access;
};

const Accessor<SetWords> kPatchingSetters[] = {
    {'S', 0, 3, GMD_SetSphereCenter},           {'S', 3, 1, scalar<GMD_SetSphereRadius>},
    {'R', 0, 3, GMD_SetScatterCenter},          {'R', 3, 1, scalar<GMD_SetScatterRadius>},
    {'R', 4, 1, scalar<GMD_SetScatterEMRadius>}, {'D', 0, 3, GMD_SetDiskCenter},
    {'D', 3, 3, GMD_SetDiskNormal},             {'D', 6, 1, scalar<GMD_SetDiskRadius>},
    {'C', 0, 3, GMD_SetCylinderLowerCenter},    {'C', 3, 3, GMD_SetCylinderUpperCenter},
    {'C', 6, 1, scalar<GMD_SetCylinderRadius>},
    {'E', 0, 3, GMD_SetEllipticalCylinderLowerCenter},
    {'E', 3, 3, GMD_SetEllipticalCylinderZdirection},
    {'E', 6, 3, GMD_SetEllipticalCylinderXdirection},
    {'E', 9, 1, scalar<GMD_SetEllipticalCylinderXsemiAxis>},
    {'E', 10, 1, scalar<GMD_SetEllipticalCylinderYsemiAxis>},
    {'E', 12, 1, scalar<GMD_SetEllipticalCylinderLowerTiltAngle>},
    {'E', 13, 1, scalar<GMD_SetEllipticalCylinderHeight>},
    {'E', 14, 1, scalar<GMD_SetEllipticalCylinderUpperTiltAngle>},
    {'F', 0, 3, GMD_SetConeLowerCenter},        {'F', 3, 3, GMD_SetConeZdirection},
    {'F', 6, 3, GMD_SetConeXdirection},         {'F', 10, 1, scalar<GMD_SetConeLowerXsemiAxis>},
    {'F', 11, 1, scalar<GMD_SetConeLowerYsemiAxis>}, {'F', 12, 1, scalar<GMD_SetConeHeight>},
    {'F', 13, 1, scalar<GMD_SetConeUpperXsemiAxis>}, {'F', 14, 1, scalar<GMD_SetConeUpperYsemiAxis>},
    {'F', 15, 1, scalar<GMD_SetConeLowerTiltAngle>}, {'F', 16, 1, scalar<GMD_SetConeUpperTiltAngle>},
};

// Getters that copy words; those of 'E' and 'F' answer from decoded blocks.
const Accessor<GetWords> kWordGetters[] = {
    {'S', 0, 4, GMD_GetSphere},         {'S', 0, 3, GMD_GetSphereCenter},    {'S', 3, 1, GMD_GetSphereRadius},
    {'R', 0, 5, GMD_GetScatter},        {'R', 0, 3, GMD_GetScatterCenter},   {'R', 3, 1, GMD_GetScatterRadius},
    {'R', 4, 1, GMD_GetScatterEMRadius}, {'D', 0, 7, GMD_GetDisk},           {'D', 0, 3, GMD_GetDiskCenter},
    {'D', 3, 3, GMD_GetDiskNormal},     {'D', 6, 1, GMD_GetDiskRadius},     {'C', 0, 7, GMD_GetCircularCylinder},
    {'C', 0, 3, GMD_GetCylinderLowerCenter}, {'C', 3, 3, GMD_GetCylinderUpperCenter},
    {'C', 6, 1, GMD_GetCylinderRadius},
};

// The frame a full setter makes of the values 10, 11, ...
Bytes whole(const Family& f) {
    const Words in = counting(std::size_t(f.inputs), 10);
    return frameOf([&](GMD_File* h) { EXPECT_EQ(f.setAll(h, reinterpret_cast<const float*>(in.data())), 1); });
}

Words payload(const Bytes& frame) {
    Words w((frame.size() - 12) / 4);
    std::memcpy(w.data(), frame.data() + 8, 4 * w.size());
    return w;
}

// The unit axis and length from `lower` to `upper` as a correct writer
// stores them: double precision, one reciprocal, each result rounded once.
Words axisWords(const float lower[3], const float upper[3]) {
    double d[3];
    for (int k = 0; k < 3; ++k) d[k] = double(upper[k]) - double(lower[k]);
    const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(len > 1e-16)) return floats({0, 0, 0, float(len)});
    const double r = 1.0 / len;
    return floats({float(d[0] * r), float(d[1] * r), float(d[2] * r), float(len)});
}

}  // namespace

// On the empty record a patching setter creates its family's all-zero
// record; on one of its family it changes only its own words; on another
// solid it is refused, as is every full setter.
TEST(SolidSetters, CreatePatchOrRefuse) {
    for (const auto& p : kPatchingSetters) {
        SCOPED_TRACE(::testing::Message() << p.letter << " words " << p.first << "+" << p.count);
        const Family& family = familyOf(p.letter);
        const Words values = counting(std::size_t(p.count), 100);
        const auto* in = reinterpret_cast<const float*>(values.data());
        Words created = zeros(std::size_t(family.words)), patched = payload(whole(family));
        std::copy(values.begin(), values.end(), created.begin() + p.first);
        std::copy(values.begin(), values.end(), patched.begin() + p.first);
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(p.access(h, in), 1); }), frame(p.letter, created));
        EXPECT_EQ(frameOf([&](GMD_File* h) {
                      family.setAll(h, reinterpret_cast<const float*>(counting(20, 10).data()));
                      EXPECT_EQ(p.access(h, in), 1);
                  }),
                  frame(p.letter, patched));
        for (const Family& other : kFamilies) {
            if (other.letter == p.letter) continue;
            const Words many = counting(15, -3);
            EXPECT_EQ(frameOf([&](GMD_File* h) {
                          other.setAll(h, reinterpret_cast<const float*>(counting(20, 10).data()));
                          EXPECT_EQ(p.access(h, in), 0) << "on " << other.letter;
                          EXPECT_EQ(family.setAll(h, reinterpret_cast<const float*>(many.data())), 0);
                      }),
                      whole(other));
        }
    }
}

TEST(SolidSetters, FullSettersOverwriteTheirOwnRecordAndKeepTheGroupBytes) {
    for (const Family& f : {kFamilies[0], kFamilies[1], kFamilies[2], kFamilies[3]}) {
        SCOPED_TRACE(f.letter);
        Words values = counting(std::size_t(f.words), 0.25f);
        values[0] = bits(-0.0f);
        EXPECT_EQ(frameOf([&](GMD_File* h) {
                      GMD_SetGroup(h, -7);
                      GMD_SetGroup2(h, 3);
                      f.setAll(h, reinterpret_cast<const float*>(counting(20, 10).data()));
                      EXPECT_EQ(f.setAll(h, reinterpret_cast<const float*>(values.data())), 1);
                  }),
                  frame(f.letter, values, -7, 3));
    }
}

// A record read with a family's letter but another length is invalid; word
// getters and patching setters refuse it, the full setter makes it whole.
TEST(SolidRecords, ReadingJudgesTheWordCountAndGettersCopyBitForBit) {
    // Values no arithmetic would keep: a NaN with a payload, -0.0, a subnormal.
    const Words odd = {0x7FC01234u, 0x80000000u, 0x00000001u, bits(2.5f), bits(-3.75f), bits(1e30f), bits(6), 7, 8};
    for (const Family& f : kFamilies) {
        for (int words : {0, f.words - 1, f.words, f.words + 1}) {
            SCOPED_TRACE(::testing::Message() << f.letter << " with " << words << " words");
            const Words stored = f.words < 9 ? Words(odd.begin(), odd.begin() + words) : counting(std::size_t(words));
            ReadFile in(frame(f.letter, stored));
            ASSERT_EQ(GMD_GetRecord(in), 1);
            EXPECT_EQ(GMD_GetRecordType(in), words == f.words ? f.letter : 0);
            for (const auto& g : kWordGetters) {
                if (g.letter != f.letter) {
                    EXPECT_EQ(got(in, g.access, std::size_t(g.count)), std::nullopt) << "getter of " << g.letter;
                    continue;
                }
                const bool answers = words == f.words;
                EXPECT_EQ(got(in, g.access, std::size_t(g.count)),
                          answers ? std::optional(Words(stored.begin() + g.first, stored.begin() + g.first + g.count))
                                  : std::nullopt)
                    << "words " << g.first << "+" << g.count;
            }
            const Words three = counting(3, 50);
            for (const auto& p : kPatchingSetters) {
                if (p.letter == f.letter) {
                    EXPECT_EQ(p.access(in, reinterpret_cast<const float*>(three.data())), words == f.words ? 1 : 0);
                }
            }
            EXPECT_EQ(f.setAll(in, reinterpret_cast<const float*>(counting(20).data())), 1);
            for (const auto& g : kWordGetters) {
                if (g.letter == f.letter) {
                    EXPECT_NE(got(in, g.access, std::size_t(g.count)), std::nullopt);
                }
            }
        }
    }
}

// The circular cylinder's height: widened, measured and rounded once.
TEST(SolidGetters, CylinderHeightIsMeasuredInDoublePrecision) {
    const std::vector<float> cases[] = {
        {0, 3, 4, 0, 0, 0}, {0.1f, 0.2f, 0.3f, 1.7f, -2.9f, 3.3f},
        {0, 0, 0, 3e20f, 4e20f, 0},  // squares that overflow float32
        {1e-25f, 0, 0, 0, 0, 0},     // or vanish in it
    };
    for (const auto& c : cases) {
        ReadFile in(frame('C', floats({c[0], c[1], c[2], c[3], c[4], c[5], 1})));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(got(in, GMD_GetCylinderHeight, 1), Words{axisWords(c.data(), c.data() + 3)[3]});
    }
    ReadFile sphere(frame('S', counting(4)));
    ASSERT_EQ(GMD_GetRecord(sphere), 1);
    EXPECT_EQ(got(sphere, GMD_GetCylinderHeight, 1), std::nullopt);
}

namespace {

struct AxisFamily {
    const Family& family;
    std::vector<int> inputWord;  // the word of each full-setter input; -1 for the upper centre
    int lengthWord;              // upper extent of 'E', height of 'F'
    int zeroWord;                // lower extent of 'E', reserved word of 'F'
    SetWords setUpper, setLower;
    std::vector<std::pair<GetWords, int>> parts;  // the decoded block, getter by getter
    GetWords getWhole;
    std::vector<std::pair<int, int>> wholeRuns;  // the runs of the block the whole getter gives
};

const AxisFamily kAxisFamilies[] = {
    {kFamilies[4], {0, 1, 2, -1, -1, -1, 6, 7, 8, 9, 10, 12, 14}, 13, 11, GMD_SetEllipticalCylinderUpperCenter,
     GMD_SetEllipticalCylinderLowerCenter,
     {{GMD_GetEllipticalCylinderCenter, 3}, {GMD_GetEllipticalCylinderLowerCenter, 3},
      {GMD_GetEllipticalCylinderUpperCenter, 3}, {GMD_GetEllipticalCylinderHeight, 1},
      {GMD_GetEllipticalCylinderXdirection, 3}, {GMD_GetEllipticalCylinderYdirection, 3},
      {GMD_GetEllipticalCylinderZdirection, 3}, {GMD_GetEllipticalCylinderXsemiAxis, 1},
      {GMD_GetEllipticalCylinderYsemiAxis, 1}, {GMD_GetEllipticalCylinderLowerTiltAngle, 1},
      {GMD_GetEllipticalCylinderUpperTiltAngle, 1}},
     GMD_GetEllipticalCylinder, {{3, 6}, {10, 3}, {19, 4}}},
    {kFamilies[5], {0, 1, 2, -1, -1, -1, 6, 7, 8, 10, 11, 13, 14, 15, 16}, 12, 9, GMD_SetConeUpperCenter,
     GMD_SetConeLowerCenter,
     {{GMD_GetConeLowerCenter, 3}, {GMD_GetConeUpperCenter, 3}, {GMD_GetConeHeight, 1}, {GMD_GetConeXdirection, 3},
      {GMD_GetConeYdirection, 3}, {GMD_GetConeZdirection, 3}, {GMD_GetConeLowerXsemiAxis, 1},
      {GMD_GetConeLowerYsemiAxis, 1}, {GMD_GetConeUpperXsemiAxis, 1}, {GMD_GetConeUpperYsemiAxis, 1},
      {GMD_GetConeLowerTiltAngle, 1}, {GMD_GetConeUpperTiltAngle, 1}},
     GMD_GetCone, {{0, 6}, {7, 3}, {16, 6}}},
};

// Everything the getters report, in the order of `parts`; nullopt when they
// all refuse. The whole-solid getter must agree with the single ones.
std::optional<Words> block(GMD_File* h, const AxisFamily& a) {
    Words all;
    std::size_t answered = 0;
    for (const auto& [get, n] : a.parts) {
        const auto w = got(h, get, std::size_t(n));
        answered += w.has_value();
        if (w) all.insert(all.end(), w->begin(), w->end());
    }
    EXPECT_TRUE(answered == 0 || answered == a.parts.size()) << answered << " getters answered";
    std::optional<Words> want;
    if (answered) {
        want.emplace();
        for (auto [first, n] : a.wholeRuns) want->insert(want->end(), all.begin() + first, all.begin() + first + n);
    }
    EXPECT_EQ(got(h, a.getWhole, std::size_t(a.family.inputs)), want);
    return answered ? std::optional(all) : std::nullopt;
}

// The words a full setter makes of `in`.
Words fullSetterWords(const AxisFamily& a, const std::vector<float>& in) {
    Words words(std::size_t(a.family.words), 0u);
    for (std::size_t i = 0; i < a.inputWord.size(); ++i)
        if (a.inputWord[i] >= 0) words[std::size_t(a.inputWord[i])] = bits(in[i]);
    const Words axis = axisWords(&in[0], &in[3]);
    std::copy(axis.begin(), axis.begin() + 3, words.begin() + 3);
    words[std::size_t(a.lengthWord)] = axis[3];
    return words;
}

}  // namespace

// End centres whose unit axis comes out differently, in the last bit of a
// float32, when each component is divided by the length instead of
// multiplied by its reciprocal; coincident or NaN ends give the zero axis.
TEST(AxisSetters, StoreTheUnitAxisAndItsLengthAndTheUpperCentreRecomputesThem) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> ends[] = {
        {1, 1, 1, 1, 1, 4}, {0, 0, 0, 1, 2, 2}, {-1, -1, -1, 0, 0, 0},
        {0x1.22c96ap-33f, 0, 0, 0x1.226c3ep-1f, 0x1.064134p-3f, 0x1.6afecap-1f},
        {2, 3, 4, 2, 3, 4}, {0, 0, 0, 1e-20f, 0, 0}, {0, 0, 0, nan, 1, 1},
    };
    for (const AxisFamily& a : kAxisFamilies) {
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(a.setUpper(h, ends[0].data()), 0); }), frame(0, {}));
        for (const auto& e : ends) {
            SCOPED_TRACE(::testing::Message() << a.family.letter << " " << &e - ends);
            std::vector<float> in(a.inputWord.size()), start;
            for (std::size_t i = 0; i < in.size(); ++i) in[i] = i < 6 ? e[i] : 20.0f + float(i);
            start = in;
            start[3] = 7, start[4] = 8, start[5] = 9;
            const Bytes expected = frame(a.family.letter, fullSetterWords(a, in));
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(a.family.setAll(h, in.data()), 1); }), expected);
            EXPECT_EQ(frameOf([&](GMD_File* h) {
                          a.family.setAll(h, start.data());
                          EXPECT_EQ(a.setUpper(h, &in[3]), 1);
                      }),
                      expected);
        }
    }
}

// The blocks start at zero, and change only when a frame of their own letter
// is accepted: not through setters, not through a frame rejected for its
// length, and not through the other family's frames.
TEST(DecodedBlocks, ChangeOnlyWhenAFrameOfTheirLetterIsAccepted) {
    for (std::size_t i = 0; i < 2; ++i) {
        const AxisFamily &a = kAxisFamilies[i], &other = kAxisFamilies[1 - i];
        const std::size_t words = std::size_t(a.family.words);
        SCOPED_TRACE(a.family.letter);
        Scratch fresh;
        EXPECT_EQ(block(fresh, a), std::nullopt);
        a.setLower(fresh, reinterpret_cast<const float*>(counting(3).data()));
        EXPECT_EQ(block(fresh, a), zeros(a.parts.size() == 11 ? 23 : 22));

        ReadFile in(concat({frame(a.family.letter, counting(words)), frame(a.family.letter, counting(words - 1, 40)),
                            frame(other.family.letter, counting(std::size_t(other.family.words), 60)),
                            frame(a.family.letter, counting(words + 1, 80)), frame(a.family.letter, counting(words, 90))}));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        const auto decoded = block(in, a);
        ASSERT_NE(decoded, std::nullopt);
        const Words values = counting(15, -9);
        const auto* v = reinterpret_cast<const float*>(values.data());
        EXPECT_EQ(a.family.setAll(in, v) + a.setLower(in, v + 3) + a.setUpper(in, v + 6), 3);
        EXPECT_EQ(block(in, a), decoded);
        ASSERT_EQ(GMD_GetRecord(in), 1);  // one word short
        EXPECT_EQ(block(in, a), decoded);
        ASSERT_EQ(GMD_GetRecord(in), 1);  // the other family
        EXPECT_EQ(block(in, a), std::nullopt);
        const auto otherDecoded = block(in, other);
        ASSERT_EQ(GMD_GetRecord(in), 1);  // one word too many
        EXPECT_EQ(GMD_GetRecordType(in), 0);
        EXPECT_EQ(block(in, a), decoded);
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_NE(block(in, a), decoded);
        GMD_ResetRecord(in);
        other.setLower(in, v);
        EXPECT_EQ(block(in, other), otherDecoded) << "the other family's block outlived all of it";
    }
}

// Frames from elsewhere: Z is taken as stored, 'E' measures both ends from
// its centre by its two extents, Y is the unit vector of Z x X, and the
// reserved word of 'F' is never read.
TEST(DecodedBlocks, FramesFromElsewhere) {
    const struct {
        const AxisFamily& a;
        std::vector<float> words, block;
    } cases[] = {
        {kAxisFamilies[0], {0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1, 2, 0.25f, 3, 0.5f},
         {0, 0, 0, 0, 0, -2, 0, 0, 3, 5, 1, 0, 0, 0, 1, 0, 0, 0, 1, 2, 1, 0.25f, 0.5f}},
        {kAxisFamilies[0], {0, 0, 0, 0, 0, 2, 1, 0, 0, 2, 1, 1, 0, 1, 0},  // |Z| 2 doubles the distances, not the height
         {0, 0, 0, 0, 0, -2, 0, 0, 2, 2, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 0, 0}},
        {kAxisFamilies[0], {5, -1, 2, 0, 1, 0, 0, 0, 1, 3, 4, -1, 0, 2, 0},
         {5, -1, 2, 5, 0, 2, 5, 1, 2, 1, 0, 0, 1, 1, 0, 0, 0, 1, 0, 3, 4, 0, 0}},
        {kAxisFamilies[0], {0, 0, 0, 0, 0, 1, 3, 0, 4, 1, 1, 0, 0, 1, 0},  // X not perpendicular to Z
         {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 3, 0, 4, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0}},
        {kAxisFamilies[1], {0, 0, 0, 0, 0, 2, 1, 0, 0, 99, 2, 1, 3, 1, 0.5f, 0.25f, 0.125f},
         {0, 0, 0, 0, 0, 6, 3, 1, 0, 0, 0, 1, 0, 0, 0, 2, 2, 1, 1, 0.5f, 0.25f, 0.125f}},
        {kAxisFamilies[1], {1, 2, 3, 1, 0, 0, 0, 1, 0, 0, 4, 5, -2, 6, 7, 8, 9},
         {1, 2, 3, -1, 2, 3, -2, 0, 1, 0, 0, 0, 1, 1, 0, 0, 4, 5, 6, 7, 8, 9}},
        {kAxisFamilies[1], {0, 0, 0, 0, 0, 1, 0, 0, 3, 0, 1, 1, 1, 1, 1, 0, 0},  // X parallel to Z
         {0, 0, 0, 0, 0, 1, 1, 0, 0, 3, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ReadFile in(frame(c.a.family.letter, floats(c.words)));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(block(in, c.a), floats(c.block));
    }
}

TEST(DecodedBlocks, EndCentresAreComputedInDoublePrecision) {
    const double center[3] = {1.1f, 1.1f, 1.1f}, z[3] = {1.0f / 3, 2.0f / 3, 2.0f / 3}, t = 2.9f;
    std::vector<float> lower, upper;
    for (int k = 0; k < 3; ++k) {
        lower.push_back(float(center[k] - t * z[k]));
        upper.push_back(float(center[k] + t * z[k]));
    }
    for (const AxisFamily& a : kAxisFamilies) {
        std::vector<float> words(std::size_t(a.family.words), 0.0f);
        for (int k = 0; k < 3; ++k) words[std::size_t(k)] = float(center[k]), words[std::size_t(3 + k)] = float(z[k]);
        words[std::size_t(a.lengthWord)] = words[std::size_t(a.zeroWord)] = float(t);
        ReadFile in(frame(a.family.letter, floats(words)));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(got(in, a.parts[1].first, 3), floats(a.lengthWord == 13 ? lower : upper));
        if (a.lengthWord == 13) {
            EXPECT_EQ(got(in, a.parts[2].first, 3), floats(upper));
        }
    }
}
