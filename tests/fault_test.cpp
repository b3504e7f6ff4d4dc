// Allocation failures injected into growing setters, the encoder, the
// decoders and opening, and lengths that lie: each call ends in its failure
// value, leaves the record as it was, and memory follows the bytes that
// actually arrive.
#include <functional>
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
std::vector<float> gPool(600, 0.5f);
std::vector<int32_t> gDimensions{10, 10};

void nothing(GMD_File*) {}
void triangle(GMD_File* h) { GMD_SetTriangle(h, kValues.data()); }
void surface(GMD_File* h) { GMD_SetNurbsSizes(h, kSizes); }
void hinge(GMD_File* h) { GMD_SetHingeName(h, "a"); }

// What runs without faults, and the call that runs with them.
using Scenario = std::pair<std::function<void(GMD_File*)>, std::function<int32_t(GMD_File*)>>;
const Scenario kGrowingSetters[] = {
    {triangle, [](GMD_File* h) { return GMD_SetPolygonThickness(h, 500, kValues.data()); }},
    {[](GMD_File* h) { triangle(h), GMD_SetPolygonThickness(h, 500, kValues.data()); },
     [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kValues.data()); }},
    {[](GMD_File* h) { GMD_SetMacroGroupName(h, kLongName.c_str()); },
     [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 500, kInts.data()); }},
    {[](GMD_File* h) { GMD_SetMacroGroupGroups(h, 3, kInts.data()); },
     [](GMD_File* h) { return GMD_SetMacroGroupName(h, kLongName.c_str()); }},
    {nothing, [](GMD_File* h) { return GMD_SetCone(h, kValues.data()); }},
    {nothing, [](GMD_File* h) { return GMD_SetGroupMaterialName(h, kLongName.c_str()); }},
    {nothing, [](GMD_File* h) { return GMD_SetHingeName(h, kLongName.c_str()); }},
    {hinge, [](GMD_File* h) { return GMD_SetHingePoints(h, 50, kValues.data()); }},
    {hinge, [](GMD_File* h) { return GMD_SetHingeGroups(h, 500, kInts.data()); }},
    {nothing, [](GMD_File* h) { return GMD_SetNurbsSizes(h, kSizes); }},
    {surface, [](GMD_File* h) { return GMD_SetNurbsNumUknots(h, 400); }},
    {surface, [](GMD_File* h) { return GMD_SetNurbsNumVcontrolPoints(h, 60); }},
    {surface, [](GMD_File* h) { return GMD_SetNurbsNumPoints(h, 250); }},
    {surface, [](GMD_File* h) {
         // Taken from pools made before the fault is armed.
         GMD_NurbsData data{gPool.data(), gPool.data(), gPool.data(), gPool.data(), gDimensions.data(), gPool.data()};
         return GMD_SetNurbsData(h, &data);
     }},
};

}  // namespace

// The record written after a failed call is the one written without it.
TEST(FaultInjection, GrowingSettersRefuseAndLeaveTheRecord) {
    for (const auto& [prepare, call] : kGrowingSetters) {
        SCOPED_TRACE(::testing::Message() << "scenario " << &prepare - &kGrowingSetters[0].first);
        auto record = [&](auto&& during) {
            return written([&](GMD_File* h) {
                GMD_SetGroup(h, 5);
                prepare(h);
                during(h);
                GMD_WriteRecord(h);
            });
        };
        const Bytes untouched = record(nothing);
        failEachAllocation([&](std::size_t n) {
            std::pair<int32_t, bool> outcome;
            const Bytes bytes = record([&](GMD_File* h) { outcome = withFailingAllocation(n, [&] { return call(h); }); });
            EXPECT_EQ(outcome.first, outcome.second ? 0 : 1) << "the call succeeds once no allocation fails";
            EXPECT_EQ(bytes == untouched, outcome.second) << "only a successful call changes the record";
            return outcome.second;
        });
    }
}

TEST(FaultInjection, EncodingFailureWritesNothing) {
    failEachAllocation([](std::size_t n) {
        std::pair<int32_t, bool> outcome;
        const Bytes bytes = written([&](GMD_File* h) {
            surface(h);
            outcome = withFailingAllocation(n, [&] { return GMD_WriteRecord(h); });
            EXPECT_EQ(GMD_GetRecordType(h), 0) << "the record is emptied whatever happened";
        });
        EXPECT_EQ(outcome.first, outcome.second ? 0 : 1);
        EXPECT_EQ(bytes.empty(), outcome.second);
        return outcome.second;
    });
}

// A failed frame read is final; a failed decoder marks the record invalid.
// Either way the surface and the hinge read before stay what getters report.
TEST(FaultInjection, DecodersRejectAndKeepTheirMembers) {
    const Bytes file = written([](GMD_File* out) {
        for (int copy = 0; copy < 2; ++copy) {
            const int32_t sizes[7] = {4 + copy, 4, 3, 3 + copy, 1, 5, copy};
            GMD_SetNurbsSizes(out, sizes);
            GMD_SetNurbsUKnot(out, 0, 1.0f + static_cast<float>(copy));
            GMD_WriteRecord(out);
            GMD_SetHingeName(out, copy ? "second" : "first");
            GMD_SetHingeType(out, kLongName.c_str());
            GMD_SetHingePointsData(out, 3 + copy, kValues.data());
            GMD_SetHingeGroups(out, 2, kInts.data());
            GMD_WriteRecord(out);
        }
        GMD_SetTolerance(out, 1.0f);
        GMD_WriteRecord(out);
    });
    for (int target = 2; target < 4; ++target) {
        SCOPED_TRACE(::testing::Message() << "record " << target);
        failEachAllocation([&](std::size_t n) {
            ReadFile in(file, target);
            const auto [result, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
            EXPECT_TRUE(result == 0 || GMD_GetRecordType(in) == (fired ? 0 : target == 2 ? 'N' : 'H'));
            if (!fired) return false;
            expectReads(in, {{G(GMD_GetNurbsSizes, 7), target == 2 ? std::optional(ints({4, 4, 3, 3, 1, 0, 0})) : std::nullopt},
                             {G(GMD_GetNurbsUKnots, 4), target == 2 ? std::optional(floats({1, 0, 0, 0})) : std::nullopt},
                             {G(GMD_GetHingeNumPoints, 1), target == 3 ? std::optional(ints({30})) : std::nullopt}});
            EXPECT_EQ(textOf(in, GMD_GetHingeName), target == 3 ? std::optional<std::string>("first   ") : std::nullopt);
            EXPECT_EQ(GMD_GetRecord(in), result) << "a failed read is final";
            return true;
        });
    }
}

// Lengths that lie: a read fails after allocating little more than the
// bytes that arrived.
TEST(HostileInput, ClaimedLengthCostsOnlyWhatArrives) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const struct {
        uint32_t length;
        std::size_t present, allowedBytes;
    } cases[] = {{0x7FFFFFFFu, 4, 4 * kMiB}, {0x7FFFFFF8u, 3 * kMiB, 16 * kMiB}, {0x40000000u, 100, 4 * kMiB}};
    for (const auto& c : cases) {
        Bytes b;
        appendLE32(b, c.length);
        b.insert(b.end(), {'v', 255, 0, 0});
        b.resize(b.size() + c.present, 0x5A);
        ReadFile in(b);
        CountAllocations counter;
        EXPECT_EQ(GMD_GetRecord(in), 0);
        EXPECT_LE(counter.bytes(), c.allowedBytes) << c.length;
    }
}

// 200 x 200 cells need 160000 words, 150000 follow. The 'v' frame first
// leaves the word array larger than the claim, so what shows is a grid the
// decoder allocated before it checked.
TEST(HostileInput, SurfaceGridBeyondItsWordsIsRefusedBeforeItIsAllocated) {
    const Words grid = join({floats({150006, 0, 0, 200, 200, 0, 0}), zeros(150000)});
    ReadFile in(concat({frame('v', zeros(200000)), frame('N', grid)}), 1);
    CountAllocations counter;
    EXPECT_EQ(nextType(in), 0);
    EXPECT_LT(counter.bytes(), 4096u);
}

TEST(HostileInput, AllocationFailureWhileOpeningGivesNoHandle) {
    TempFile file;  // its name is too long for any small-string buffer
    file.write(frame('G', floats({1})));
    failEachAllocation([&](std::size_t n) {
        const auto [opened, fired] = withFailingAllocation(n, [&] { return GMD_OpenReadFile(file.c_str()); });
        Handle in(opened);
        EXPECT_EQ(in.h == nullptr, fired);
        return fired;
    });
}
