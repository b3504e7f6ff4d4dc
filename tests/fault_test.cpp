// Allocation failures injected into growing setters and the surface
// decoder, and lengths that lie: each call ends in its failure
// value, leaves the record as it was, and memory follows the bytes that
// actually arrive.
#include <string>

#include "alloc_hook.h"
#include "test_support.h"

using namespace gmdtest;

namespace {

// Runs attempt(n) with the n-th allocation made to fail, for n = 0, 1, ...
// until a run in which it was not reached; attempt returns whether it was.
template <class Attempt>
void failEachAllocation(Attempt&& attempt) {
    for (std::size_t n = 0; n < 64; ++n) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n);
        if (!attempt(n)) return;
    }
    ADD_FAILURE() << "still allocating after 64 allocations";
}

const std::vector<float> kValues(600, 0.25f);
const std::vector<int32_t> kInts(600, 7);
const std::string kLongName(300, 'n');
const int32_t kSizes[7] = {8, 8, 6, 6, 2, 20, 1};

// Setters that grow the record, each named by a character.
const Calls kSetters = {
    GMD_CALL('m', GMD_SetMacroGroupName(h, kLongName.c_str())),
    GMD_CALL('g', GMD_SetMacroGroupGroups(h, 500, kInts.data())),
    GMD_CALL('c', GMD_SetCone(h, kValues.data())),
    GMD_CALL('n', GMD_SetGroupMaterialName(h, kLongName.c_str())),
    GMD_CALL('h', GMD_SetHingeName(h, kLongName.c_str())),
    GMD_CALL('p', GMD_SetHingePoints(h, 50, kValues.data())),
    GMD_CALL('q', GMD_SetHingeGroups(h, 500, kInts.data())),
    GMD_CALL('s', GMD_SetNurbsSizes(h, kSizes)),
    GMD_CALL('v', GMD_SetScattVertexAdjacent(h, 500, kInts.data())),
};

// The last call of each runs with faults, after the others without.
const std::string kScenarios[] = {"mg", "gm", "c", "n", "h", "hp", "hq", "s", "v"};

}  // namespace

// The record written after a failed call is the one written without it.
TEST(FaultInjection, GrowingSettersRefuseAndLeaveTheRecord) {
    for (const std::string& scenario : kScenarios) {
        SCOPED_TRACE(scenario);
        const auto prepared = [&](GMD_File* h) {
            GMD_SetGroup(h, 5);
            runScript(h, kSetters, scenario.substr(0, scenario.size() - 1));
        };
        const Bytes untouched = frameOf(prepared);
        failEachAllocation([&](std::size_t n) {
            std::pair<int32_t, bool> outcome;
            const Bytes bytes = frameOf([&](GMD_File* h) {
                prepared(h);
                outcome = withFailingAllocation(n, [&] { return kSetters.at(scenario.back())(h); });
            });
            EXPECT_EQ(outcome.first, outcome.second ? 0 : 1) << "the call succeeds once no allocation fails";
            EXPECT_EQ(bytes == untouched, outcome.second) << "only a successful call changes the record";
            return outcome.second;
        });
    }
}

// A failed frame read is final; a failed decoder marks the record invalid.
// Either way the surface read before stays what getters report.
TEST(FaultInjection, DecoderRejectsAndKeepsItsMembers) {
    const Bytes file = written([](GMD_File* out) {
        for (int copy = 0; copy < 2; ++copy) {
            const int32_t sizes[7] = {4 + copy, 4, 3, 3 + copy, 1, 5, copy};
            EXPECT_TRUE(GMD_SetNurbsSizes(out, sizes) && GMD_WriteRecord(out));
        }
        EXPECT_TRUE(GMD_SetTolerance(out, 1.0f) && GMD_WriteRecord(out));
    });
    failEachAllocation([&](std::size_t n) {
        ReadFile in(file, 1);
        const auto [result, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
        EXPECT_TRUE(result == 0 || GMD_GetRecordType(in) == (fired ? 0 : 'N'));
        if (!fired) return false;
        EXPECT_EQ(got(in, GMD_GetNurbsSizes, 7), ints({4, 4, 3, 3, 1, 0, 0}));
        EXPECT_EQ(GMD_GetRecord(in), result) << "a failed read is final";
        return true;
    });
}

// Lengths that lie: a read fails after allocating little more than the
// bytes that arrived, and a surface grid larger than its words is refused
// before it is allocated.
TEST(HostileInput, ClaimedLengthsCostOnlyWhatArrives) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const std::pair<uint32_t, std::size_t> cases[] = {{0x7FFFFFFFu, 4}, {0x7FFFFFF8u, 3 * kMiB}, {0x40000000u, 100}};
    for (const auto& [length, present] : cases) {
        Bytes b;
        appendLE32(b, length);
        b.insert(b.end(), {'v', 255, 0, 0});
        b.resize(b.size() + present, 0x5A);
        ReadFile in(b);
        CountAllocations counter;
        EXPECT_EQ(GMD_GetRecord(in), 0);
        // The word array grows in steps that at most double what arrived.
        EXPECT_LE(counter.bytes(), 4 * present + 4 * kMiB) << length;
    }
    // 200 x 200 cells need 160000 words, 150000 follow. The 'v' frame first
    // leaves the word array larger than the claim, so what shows is a grid the
    // decoder allocated before it checked.
    const Words grid = join({floats({150006, 0, 0, 200, 200, 0, 0}), zeros(150000)});
    ReadFile in(concat({frame('v', zeros(200000)), frame('N', grid)}), 1);
    CountAllocations counter;
    EXPECT_EQ(nextType(in), 0);
    EXPECT_LT(counter.bytes(), 4096u);
}
