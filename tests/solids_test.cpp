// Canonical solids: one table of {export, letter, first word, count} per
// accessor kind, the axis the elliptical cylinder 'E' and the cone 'F'
// compute from two end centres, and the decoded blocks their getters answer from.
#include <algorithm>
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

const Family kFamilies[] = {{'S', 4, 4, GMD_SetSphere},           {'R', 5, 5, GMD_SetScatter},
                            {'D', 7, 7, GMD_SetDisk},             {'C', 7, 7, GMD_SetCircularCylinder},
                            {'E', 15, 13, GMD_SetEllipticalCylinder}, {'F', 17, 15, GMD_SetCone}};

template <class Access>
struct Accessor {
    char letter;
    int first, count;
    Access access;
};

const Accessor<SetWords> kPatchingSetters[] = {
    {'S', 0, 3, GMD_SetSphereCenter}, {'S', 3, 1, scalar<GMD_SetSphereRadius>}, {'R', 0, 3, GMD_SetScatterCenter},
    {'R', 3, 1, scalar<GMD_SetScatterRadius>}, {'R', 4, 1, scalar<GMD_SetScatterEMRadius>},
    {'D', 0, 3, GMD_SetDiskCenter}, {'D', 3, 3, GMD_SetDiskNormal}, {'D', 6, 1, scalar<GMD_SetDiskRadius>},
    {'C', 0, 3, GMD_SetCylinderLowerCenter}, {'C', 3, 3, GMD_SetCylinderUpperCenter},
    {'C', 6, 1, scalar<GMD_SetCylinderRadius>}, {'E', 0, 3, GMD_SetEllipticalCylinderLowerCenter},
    {'E', 3, 3, GMD_SetEllipticalCylinderZdirection}, {'E', 6, 3, GMD_SetEllipticalCylinderXdirection},
    {'E', 9, 1, scalar<GMD_SetEllipticalCylinderXsemiAxis>}, {'E', 10, 1, scalar<GMD_SetEllipticalCylinderYsemiAxis>},
    {'E', 12, 1, scalar<GMD_SetEllipticalCylinderLowerTiltAngle>}, {'E', 13, 1, scalar<GMD_SetEllipticalCylinderHeight>},
    {'E', 14, 1, scalar<GMD_SetEllipticalCylinderUpperTiltAngle>}, {'F', 0, 3, GMD_SetConeLowerCenter},
    {'F', 3, 3, GMD_SetConeZdirection}, {'F', 6, 3, GMD_SetConeXdirection},
    {'F', 10, 1, scalar<GMD_SetConeLowerXsemiAxis>}, {'F', 11, 1, scalar<GMD_SetConeLowerYsemiAxis>},
    {'F', 12, 1, scalar<GMD_SetConeHeight>}, {'F', 13, 1, scalar<GMD_SetConeUpperXsemiAxis>},
    {'F', 14, 1, scalar<GMD_SetConeUpperYsemiAxis>}, {'F', 15, 1, scalar<GMD_SetConeLowerTiltAngle>},
    {'F', 16, 1, scalar<GMD_SetConeUpperTiltAngle>},
};

// Getters that copy words; those of 'E' and 'F' answer from decoded blocks.
const Accessor<GetWords> kWordGetters[] = {
    {'S', 0, 4, GMD_GetSphere}, {'S', 0, 3, GMD_GetSphereCenter}, {'S', 3, 1, GMD_GetSphereRadius},
    {'R', 0, 5, GMD_GetScatter}, {'R', 0, 3, GMD_GetScatterCenter}, {'R', 3, 1, GMD_GetScatterRadius},
    {'R', 4, 1, GMD_GetScatterEMRadius}, {'D', 0, 7, GMD_GetDisk}, {'D', 0, 3, GMD_GetDiskCenter},
    {'D', 3, 3, GMD_GetDiskNormal}, {'D', 6, 1, GMD_GetDiskRadius}, {'C', 0, 7, GMD_GetCircularCylinder},
    {'C', 0, 3, GMD_GetCylinderLowerCenter}, {'C', 3, 3, GMD_GetCylinderUpperCenter}, {'C', 6, 1, GMD_GetCylinderRadius},
};

// The payload of the frame a full setter makes of the values 10, 11, ...
Words whole(const Family& f) {
    const Bytes b = frameOf([&](GMD_File* h) { EXPECT_EQ(f.setAll(h, asFloats(counting(20, 10))), 1); });
    Words w((b.size() - 12) / 4);
    std::memcpy(w.data(), b.data() + 8, 4 * w.size());
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
// record; on one of its family it changes only its own words.
TEST(SolidSetters, CreatePatchOrRefuse) {
    for (const auto& p : kPatchingSetters) {
        const Family& family = *std::find_if(std::begin(kFamilies), std::end(kFamilies), [&](auto& f) { return f.letter == p.letter; });
        const Words values = counting(std::size_t(p.count), 100);
        Words created = zeros(std::size_t(family.words)), patched = whole(family);
        std::copy(values.begin(), values.end(), created.begin() + p.first);
        std::copy(values.begin(), values.end(), patched.begin() + p.first);
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(p.access(h, asFloats(values)), 1); }), frame(p.letter, created));
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_TRUE(family.setAll(h, asFloats(counting(20, 10))) && p.access(h, asFloats(values))); }),
                  frame(p.letter, patched))
            << p.letter << " words " << p.first << "+" << p.count;
    }
}

// A record read with a family's letter but another length is invalid; word
// getters still copy the words it holds, patching setters refuse it, and the
// full setter makes it whole. Another family's setters refuse it either way.
TEST(SolidRecords, ReadingJudgesTheWordCountAndGettersCopyBitForBit) {
    // Values no arithmetic would keep: a NaN with a payload, -0.0, a subnormal.
    const Words odd = {0x7FC01234u, 0x80000000u, 0x00000001u, bits(2.5f), bits(-3.75f), bits(1e30f), bits(6), 7, 8};
    for (const Family& f : kFamilies) {
        for (int words : {0, f.words - 1, f.words, f.words + 1}) {
            const Words stored = f.words < 9 ? Words(odd.begin(), odd.begin() + words) : counting(std::size_t(words));
            ReadFile in(frame(f.letter, stored), 1);
            EXPECT_EQ(GMD_GetRecordType(in), words == f.words ? f.letter : 0) << f.letter << words;
            for (const auto& g : kWordGetters) {
                const bool answers = g.letter == f.letter && g.first + g.count <= words;
                EXPECT_EQ(got(in, g.access, std::size_t(g.count)),
                          answers ? std::optional(Words(stored.begin() + g.first, stored.begin() + g.first + g.count))
                                  : std::nullopt)
                    << f.letter << words << " words " << g.first << "+" << g.count;
            }
            for (const auto& p : kPatchingSetters)
                EXPECT_EQ(p.access(in, asFloats(counting(3))), p.letter == f.letter && words == f.words) << p.letter;
            for (const Family& g : kFamilies) EXPECT_EQ(g.setAll(in, asFloats(counting(20))), g.letter == f.letter) << g.letter;
            for (const auto& g : kWordGetters)
                EXPECT_EQ(got(in, g.access, std::size_t(g.count)).has_value(), g.letter == f.letter) << g.letter;
        }
    }
}

// The circular cylinder's height: widened, measured and rounded once, from
// the end centres of a 'C' whatever its length.
TEST(SolidGetters, CylinderHeightIsMeasuredInDoublePrecision) {
    const std::vector<float> ends[] = {{0.1f, 0.2f, 0.3f, 1.7f, -2.9f, 3.3f}, {0, 0, 0, 3e20f, 4e20f, 0}};
    for (const auto& c : ends) {
        ReadFile in(frame('C', join({floats(c), counting(2)})), 1);
        EXPECT_EQ(got(in, GMD_GetCylinderHeight, 1), Words{axisWords(c.data(), c.data() + 3)[3]});
    }
    ReadFile in(concat({frame('S', counting(6)), frame('C', counting(5))}), 1);
    EXPECT_EQ(got(in, GMD_GetCylinderHeight, 1), std::nullopt);
    EXPECT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(got(in, GMD_GetCylinderHeight, 1), std::nullopt);
}

namespace {

struct AxisFamily {
    const Family& family;
    std::vector<int> inputWord;  // the word of each full-setter input; -1 for the upper centre
    int lengthWord;              // upper extent of 'E', height of 'F'
    SetWords setUpper, setLower;
    std::vector<std::pair<GetWords, int>> parts;  // the decoded block, getter by getter
    GetWords getWhole;
    std::vector<std::pair<int, int>> wholeRuns;  // the runs of the block the whole getter gives
};

const AxisFamily kAxisFamilies[] = {
    {kFamilies[4], {0, 1, 2, -1, -1, -1, 6, 7, 8, 9, 10, 12, 14}, 13, GMD_SetEllipticalCylinderUpperCenter,
     GMD_SetEllipticalCylinderLowerCenter,
     {{GMD_GetEllipticalCylinderCenter, 3}, {GMD_GetEllipticalCylinderLowerCenter, 3},
      {GMD_GetEllipticalCylinderUpperCenter, 3}, {GMD_GetEllipticalCylinderHeight, 1},
      {GMD_GetEllipticalCylinderXdirection, 3}, {GMD_GetEllipticalCylinderYdirection, 3},
      {GMD_GetEllipticalCylinderZdirection, 3}, {GMD_GetEllipticalCylinderXsemiAxis, 1},
      {GMD_GetEllipticalCylinderYsemiAxis, 1}, {GMD_GetEllipticalCylinderLowerTiltAngle, 1},
      {GMD_GetEllipticalCylinderUpperTiltAngle, 1}},
     GMD_GetEllipticalCylinder, {{3, 6}, {10, 3}, {19, 4}}},
    {kFamilies[5], {0, 1, 2, -1, -1, -1, 6, 7, 8, 10, 11, 13, 14, 15, 16}, 12, GMD_SetConeUpperCenter,
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
    for (auto [first, n] : a.wholeRuns)
        if (answered) want = join({want.value_or(Words()), Words(all.begin() + first, all.begin() + first + n)});
    EXPECT_EQ(got(h, a.getWhole, std::size_t(a.family.inputs)), want);
    return answered ? std::optional(all) : std::nullopt;
}

}  // namespace

// End centres whose unit axis comes out differently, in the last bit of a
// float32, when each component is divided by the length instead of
// multiplied by its reciprocal; coincident or NaN ends give the zero axis.
TEST(AxisSetters, StoreTheUnitAxisAndItsLengthAndTheUpperCentreRecomputesThem) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> ends[] = {
        {1, 1, 1, 1, 1, 4}, {-1, -1, -1, 0, 0, 0}, {0x1.22c96ap-33f, 0, 0, 0x1.226c3ep-1f, 0x1.064134p-3f, 0x1.6afecap-1f},
        {2, 3, 4, 2, 3, 4}, {0, 0, 0, 1e-20f, 0, 0}, {0, 0, 0, nan, 1, 1},
    };
    for (const AxisFamily& a : kAxisFamilies) {
        EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(a.setUpper(h, ends[0].data()), 0); }), frame(0, {}));
        for (const auto& e : ends) {
            std::vector<float> in(a.inputWord.size());
            for (std::size_t i = 0; i < in.size(); ++i) in[i] = i < 6 ? e[i] : 20.0f + float(i);
            Words words(std::size_t(a.family.words), 0u);
            for (std::size_t i = 0; i < a.inputWord.size(); ++i)
                if (a.inputWord[i] >= 0) words[std::size_t(a.inputWord[i])] = bits(in[i]);
            const Words axis = axisWords(&in[0], &in[3]);
            std::copy(axis.begin(), axis.begin() + 3, words.begin() + 3);
            words[std::size_t(a.lengthWord)] = axis[3];
            std::vector<float> start = in;
            for (std::size_t k = 3; k < 6; ++k) start[k] = 4.0f + float(k);
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(a.family.setAll(h, in.data()), 1); }), frame(a.family.letter, words));
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_TRUE(a.family.setAll(h, start.data()) && a.setUpper(h, &in[3])); }),
                      frame(a.family.letter, words))
                << a.family.letter << &e - ends;
        }
    }
}

// Frames from elsewhere: Z is taken as stored, 'E' measures both ends from
// its centre by its two extents, Y is the unit vector of Z x X, and the
// reserved word of 'F' is never read. The blocks start at zero and change
// only when a frame of their own letter is accepted: not through setters, not
// through a frame rejected for its length, not through the other family's.
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
        const AxisFamily& other = kAxisFamilies[&c.a == kAxisFamilies ? 1 : 0];
        ReadFile in(concat({frame(c.a.family.letter, floats(c.words)), frame(other.family.letter, counting(std::size_t(other.family.words))),
                            frame(c.a.family.letter, counting(c.words.size() + 1))}));
        EXPECT_EQ(block(in, c.a), std::nullopt);
        c.a.setLower(in, asFloats(counting(3)));
        EXPECT_EQ(block(in, c.a), zeros(c.block.size()));
        EXPECT_EQ(nextType(in), c.a.family.letter);
        EXPECT_EQ(block(in, c.a), floats(c.block)) << &c - cases;
        EXPECT_TRUE(c.a.family.setAll(in, asFloats(counting(15))) && c.a.setUpper(in, asFloats(counting(3, 9))));
        EXPECT_EQ(nextType(in), other.family.letter);
        EXPECT_EQ(nextType(in), 0);
        EXPECT_EQ(block(in, c.a), floats(c.block)) << &c - cases;
    }
}
