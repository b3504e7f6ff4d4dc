// Canonical solids: one table of the six families and the runs of words their
// accessors cover, the axis the elliptical cylinder 'E' and the cone 'F'
// compute from two end centres, and the decoded blocks their getters answer from.
#include <cmath>
#include <tuple>

#include "test_support.h"

using namespace gmdtest;

namespace {

using SetWords = int32_t (*)(GMD_File*, const float*);
using GetWords = int32_t (*)(GMD_File*, float*);

template <int32_t (*set)(GMD_File*, float)>
int32_t scalar(GMD_File* handle, const float* value) { return set(handle, *value); }

// A run of a family's words: its patching setter and, where the getter copies
// words rather than answering from a decoded block, its getter.
struct Span {
    int first, count;
    SetWords set;
    GetWords get = nullptr;
};

// 'E' and 'F' also name the word the full setter leaves 0 and the one that
// takes the axis length, and the getters of their decoded blocks with the
// values each gives: the whole-solid getter, then the single getters of the
// values it does not give and of the end centres it computes.
struct Family {
    char letter;
    int words, inputs;  // inputs: the values the full setter takes
    SetWords setAll;
    std::vector<Span> spans;
    int zeroWord = 0, lengthWord = 0;
    SetWords setUpper = nullptr;
    std::vector<std::pair<GetWords, int>> parts = {};
};

const Family kFamilies[] = {
    {'S', 4, 4, GMD_SetSphere, {{0, 4, nullptr, GMD_GetSphere}, {0, 3, GMD_SetSphereCenter, GMD_GetSphereCenter},
                                {3, 1, scalar<GMD_SetSphereRadius>, GMD_GetSphereRadius}}},
    {'R', 5, 5, GMD_SetScatter, {{0, 5, nullptr, GMD_GetScatter}, {0, 3, GMD_SetScatterCenter, GMD_GetScatterCenter},
                                 {3, 1, scalar<GMD_SetScatterRadius>, GMD_GetScatterRadius},
                                 {4, 1, scalar<GMD_SetScatterEMRadius>, GMD_GetScatterEMRadius}}},
    {'D', 7, 7, GMD_SetDisk, {{0, 7, nullptr, GMD_GetDisk}, {0, 3, GMD_SetDiskCenter, GMD_GetDiskCenter},
                              {3, 3, GMD_SetDiskNormal, GMD_GetDiskNormal},
                              {6, 1, scalar<GMD_SetDiskRadius>, GMD_GetDiskRadius}}},
    {'C', 7, 7, GMD_SetCircularCylinder,
     {{0, 7, nullptr, GMD_GetCircularCylinder}, {0, 3, GMD_SetCylinderLowerCenter, GMD_GetCylinderLowerCenter},
      {3, 3, GMD_SetCylinderUpperCenter, GMD_GetCylinderUpperCenter},
      {6, 1, scalar<GMD_SetCylinderRadius>, GMD_GetCylinderRadius}}},
    {'E', 15, 13, GMD_SetEllipticalCylinder,
     {{0, 3, GMD_SetEllipticalCylinderLowerCenter}, {3, 3, GMD_SetEllipticalCylinderZdirection},
      {6, 3, GMD_SetEllipticalCylinderXdirection}, {9, 1, scalar<GMD_SetEllipticalCylinderXsemiAxis>},
      {10, 1, scalar<GMD_SetEllipticalCylinderYsemiAxis>}, {12, 1, scalar<GMD_SetEllipticalCylinderLowerTiltAngle>},
      {13, 1, scalar<GMD_SetEllipticalCylinderHeight>}, {14, 1, scalar<GMD_SetEllipticalCylinderUpperTiltAngle>}},
     11, 13, GMD_SetEllipticalCylinderUpperCenter, {{GMD_GetEllipticalCylinder, 13}, {GMD_GetEllipticalCylinderCenter, 3},
      {GMD_GetEllipticalCylinderHeight, 1}, {GMD_GetEllipticalCylinderYdirection, 3}, {GMD_GetEllipticalCylinderZdirection, 3},
      {GMD_GetEllipticalCylinderLowerCenter, 3}, {GMD_GetEllipticalCylinderUpperCenter, 3}}},
    {'F', 17, 15, GMD_SetCone,
     {{0, 3, GMD_SetConeLowerCenter}, {3, 3, GMD_SetConeZdirection}, {6, 3, GMD_SetConeXdirection},
      {10, 1, scalar<GMD_SetConeLowerXsemiAxis>}, {11, 1, scalar<GMD_SetConeLowerYsemiAxis>}, {12, 1, scalar<GMD_SetConeHeight>},
      {13, 1, scalar<GMD_SetConeUpperXsemiAxis>}, {14, 1, scalar<GMD_SetConeUpperYsemiAxis>},
      {15, 1, scalar<GMD_SetConeLowerTiltAngle>}, {16, 1, scalar<GMD_SetConeUpperTiltAngle>}},
     9, 12, GMD_SetConeUpperCenter, {{GMD_GetCone, 15}, {GMD_GetConeHeight, 1}, {GMD_GetConeYdirection, 3},
      {GMD_GetConeZdirection, 3}, {GMD_GetConeUpperCenter, 3}}},
};

// The unit axis and length from `lower` to `upper` as a correct writer
// stores them: double precision, one reciprocal, each result rounded once.
Words axisWords(const float lower[3], const float upper[3]) {
    double d[3];
    for (int k = 0; k < 3; ++k) d[k] = double(upper[k]) - double(lower[k]);
    const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]), r = 1.0 / len;
    if (!(len > 1e-16)) return floats({0, 0, 0, float(len)});
    return floats({float(d[0] * r), float(d[1] * r), float(d[2] * r), float(len)});
}

// Everything the getters of a decoded block report, in the order of `parts`;
// nullopt when none answers. The whole-solid getter and the single ones
// answer together or not at all, else the result fits neither.
std::optional<Words> block(GMD_File* h, const Family& a) {
    Words all;
    for (const auto& [get, n] : a.parts)
        if (const auto w = got(h, get, std::size_t(n))) all.insert(all.end(), w->begin(), w->end());
    return all.empty() ? std::nullopt : std::optional(all);
}

}  // namespace

// On the empty record a patching setter creates its family's all-zero
// record; on one of its family it changes only its own words.
TEST(SolidSetters, CreateThenPatch) {
    for (const Family& f : kFamilies)
        for (const Span& r : f.spans) {
            if (!r.set) continue;
            const Words values = counting(std::size_t(r.count), 100);
            const Words want = join({zeros(std::size_t(r.first)), values, zeros(std::size_t(f.words - r.first - r.count))});
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_TRUE(r.set(h, asFloats(counting(3))) && r.set(h, asFloats(values))); }),
                      frame(f.letter, want)) << f.letter << " words " << r.first << "+" << r.count;
        }
}

// A record read with a family's letter but another length is invalid; word
// getters still copy the words it holds, patching setters refuse it, and the
// full setter makes it whole. Another family's setters refuse it either way.
TEST(SolidRecords, ReadingJudgesTheWordCountAndGettersCopyBitForBit) {
    // Values no arithmetic would keep: a NaN with a payload, -0.0, a subnormal.
    const Words odd = join({{0x7FC01234u, 0x80000000u, 0x00000001u}, floats({2.5f, -3.75f, 1e30f, 6}), {7, 8}});
    for (const Family& f : kFamilies)
        for (int words : {0, f.words - 1, f.words, f.words + 1}) {
            const Words stored = f.words < 9 ? Words(odd.begin(), odd.begin() + words) : counting(std::size_t(words));
            ReadFile in(frame(f.letter, stored), 1);
            EXPECT_EQ(GMD_GetRecordType(in), words == f.words ? f.letter : 0) << f.letter << words;
            // Spans are disjoint and in order, so a patch never touches the words a later getter copies.
            for (const Family& g : kFamilies)
                for (const Span& r : g.spans) {
                    const bool own = g.letter == f.letter, copies = r.get && own && r.first + r.count <= words;
                    const auto at = stored.begin() + (copies ? r.first : 0);
                    EXPECT_EQ(r.get ? got(in, r.get, std::size_t(r.count)) : std::nullopt,
                              copies ? std::optional(Words(at, at + r.count)) : std::nullopt) << f.letter << words << r.first;
                    EXPECT_EQ(r.set && r.set(in, asFloats(counting(3))), r.set && own && words == f.words) << g.letter;
                }
            for (const Family& g : kFamilies) EXPECT_EQ(g.setAll(in, asFloats(counting(20))), g.letter == f.letter) << g.letter;
            for (const Span& r : f.spans) EXPECT_TRUE(!r.get || got(in, r.get, std::size_t(r.count))) << f.letter;
        }
}

// End centres whose unit axis comes out differently, in the last bit of a
// float32, when each component is divided by the length instead of
// multiplied by its reciprocal; coincident or NaN ends give the zero axis; a
// float would overflow squaring the last. The circular cylinder's height
// getter measures the same length from the end centres of a 'C', whatever
// its length, and refuses other letters and a 'C' too short for them.
TEST(AxisSetters, StoreTheUnitAxisAndItsLengthAndTheUpperCentreRecomputesThem) {
    const std::vector<float> ends[] = {
        {1, 1, 1, 1, 1, 4}, {-1, -1, -1, 0, 0, 0}, {0x1.22c96ap-33f, 0, 0, 0x1.226c3ep-1f, 0x1.064134p-3f, 0x1.6afecap-1f},
        {2, 3, 4, 2, 3, 4}, {0, 0, 0, 1e-20f, 0, 0}, {0, 0, 0, std::nanf(""), 1, 1}, {0.5f, 0.25f, 0, 3e20f, 4e20f, 0},
    };
    for (const auto& e : ends) {
        ReadFile c(concat({frame('C', join({floats(e), counting(2)})), frame('S', counting(7)), frame('C', counting(5))}), 1);
        EXPECT_EQ(got(c, GMD_GetCylinderHeight, 1), Words{axisWords(&e[0], &e[3])[3]}) << &e - ends;
        for (int k = 0; k < 2; ++k) EXPECT_TRUE(GMD_GetRecord(c) && !got(c, GMD_GetCylinderHeight, 1)) << k;
        for (const Family* a : {&kFamilies[4], &kFamilies[5]}) {
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(a->setUpper(h, e.data()), 0); }), frame(0, {}));
            const Words in = join({floats(e), counting(std::size_t(a->inputs - 6), 26)});
            // The stored words: the inputs with the axis for the upper centre, the length and a zero word inserted.
            const float* v = asFloats(in);
            const Words axis = axisWords(v, v + 3);
            Words words = join({{in[0], in[1], in[2]}, {axis[0], axis[1], axis[2]}, Words(in.begin() + 6, in.end())});
            words.insert(words.begin() + a->zeroWord, 0u);
            words.insert(words.begin() + a->lengthWord, axis[3]);
            // The upper centre set back after a move onto the lower one.
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_EQ(a->setAll(h, v), 1); }), frame(a->letter, words));
            EXPECT_EQ(frameOf([&](GMD_File* h) { EXPECT_TRUE(a->setAll(h, v) && a->setUpper(h, v) && a->setUpper(h, v + 3)); }),
                      frame(a->letter, words)) << a->letter << &e - ends;
        }
    }
}

// Frames from elsewhere: Z is taken as stored, 'E' measures both ends from
// its centre by its two extents, Y is the unit vector of Z x X, and the
// reserved word of 'F' is never read. The blocks change only when a frame
// of their own letter is accepted: not through setters, not through a frame
// rejected for its length, not through the other family's.
TEST(DecodedBlocks, FramesFromElsewhere) {
    const std::tuple<const Family&, const Family&, std::vector<float>, std::vector<float>> cases[] = {
        {kFamilies[4], kFamilies[5], {0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1, 2, 0.25f, 3, 0.5f},
         {0, 0, -2, 0, 0, 3, 1, 0, 0, 2, 1, 0.25f, 0.5f, 0, 0, 0, 5, 0, 1, 0, 0, 0, 1, 0, 0, -2, 0, 0, 3}},
        {kFamilies[4], kFamilies[5], {5, -1, 2, 0, 1, 0, 0, 0, 1, 3, 4, -1, 0, 2, 0},
         {5, 0, 2, 5, 1, 2, 0, 0, 1, 3, 4, 0, 0, 5, -1, 2, 1, 1, 0, 0, 0, 1, 0, 5, 0, 2, 5, 1, 2}},
        // |Z| 2 doubles the distances; X and Z are kept as stored.
        {kFamilies[5], kFamilies[4], {1, 2, 3, 2, 0, 0, 0, 2, 0, 99, 4, 5, -2, 6, 7, 8, 9},
         {1, 2, 3, -3, 2, 3, 0, 2, 0, 4, 5, 6, 7, 8, 9, -2, 0, 0, 1, 2, 0, 0, -3, 2, 3}},
    };
    for (const auto& [a, other, words, want] : cases) {
        ReadFile in(concat({frame(a.letter, floats(words)), frame(other.letter, counting(std::size_t(other.words))),
                            frame(a.letter, counting(words.size() + 1))}));
        EXPECT_EQ(block(in, a), std::nullopt);
        EXPECT_EQ(nextType(in), a.letter);
        EXPECT_EQ(block(in, a), floats(want)) << a.letter << words[5];
        EXPECT_TRUE(a.setAll(in, asFloats(counting(15))) && a.setUpper(in, asFloats(counting(3, 9))));
        EXPECT_TRUE(nextType(in) == other.letter && nextType(in) == 0);
        EXPECT_EQ(block(in, a), floats(want)) << a.letter << words[5];
    }
}
