// Allocation failures injected into every growing setter, the encoder, the
// decoders, frame reading and opening, and lengths that lie: each call ends
// in its failure value, leaves the record as it was, and memory follows the
// bytes that actually arrive.
#include <functional>
#include <string>

#include "alloc_hook.h"
#include "test_support.h"

using namespace gmdtest;

namespace {

struct Scenario {
    std::function<void(GMD_File*)> prepare;  // runs without faults
    std::function<int32_t(GMD_File*)> call;  // runs with the n-th allocation failing
};

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

const Scenario kGrowingSetters[] = {
    {nothing, [](GMD_File* h) { return GMD_SetTriangle(h, kValues.data()); }},
    {triangle, [](GMD_File* h) { return GMD_SetPolygonThickness(h, 500, kValues.data()); }},
    {triangle, [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kValues.data()); }},
    {[](GMD_File* h) { triangle(h), GMD_SetPolygonThickness(h, 500, kValues.data()); },
     [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kValues.data()); }},
    {triangle, [](GMD_File* h) { return GMD_SetPolygonVolumes(h, 1, 2); }},
    {nothing, [](GMD_File* h) { return GMD_SetSegmentVolume(h, 3); }},
    {[](GMD_File* h) { GMD_SetWedge(h, kValues.data()); }, [](GMD_File* h) { return GMD_SetWedgeLeftAdjacentPolygon(h, 4); }},
    {[](GMD_File* h) { GMD_SetMacroGroupName(h, kLongName.c_str()); },
     [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 500, kInts.data()); }},
    {[](GMD_File* h) { GMD_SetMacroGroupGroups(h, 3, kInts.data()); },
     [](GMD_File* h) { return GMD_SetMacroGroupName(h, kLongName.c_str()); }},
    {nothing, [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 500, kInts.data()); }},
    {nothing, [](GMD_File* h) { return GMD_SetCone(h, kValues.data()); }},
    {nothing, [](GMD_File* h) { return GMD_SetJunctionNormal(h, kValues.data()); }},
    {nothing, [](GMD_File* h) { return GMD_SetGroupMaterialName(h, kLongName.c_str()); }},
    {nothing, [](GMD_File* h) { return GMD_SetHingeName(h, kLongName.c_str()); }},
    {hinge, [](GMD_File* h) { return GMD_SetHingeType(h, kLongName.c_str()); }},
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
    for (const auto& s : kGrowingSetters) {
        auto record = [&](auto&& call) {
            return written([&](GMD_File* h) {
                GMD_SetGroup(h, 5);
                s.prepare(h);
                call(h);
                GMD_WriteRecord(h);
            });
        };
        const Bytes untouched = record([](GMD_File*) {});
        for (std::size_t n = 0;; ++n) {
            SCOPED_TRACE(::testing::Message() << "scenario " << &s - kGrowingSetters << ", allocation " << n);
            std::pair<int32_t, bool> outcome;
            const Bytes bytes = record([&](GMD_File* h) { outcome = withFailingAllocation(n, [&] { return s.call(h); }); });
            if (!outcome.second) {
                EXPECT_EQ(outcome.first, 1) << "the call succeeds once no allocation fails";
                EXPECT_NE(bytes, untouched);
                break;
            }
            EXPECT_EQ(outcome.first, 0);
            EXPECT_EQ(bytes, untouched);
            ASSERT_LT(n, 64u);
        }
    }
}

TEST(FaultInjection, EncodingFailureWritesNothing) {
    for (std::size_t n = 0;; ++n) {
        std::pair<int32_t, bool> outcome;
        const Bytes bytes = written([&](GMD_File* h) {
            surface(h);
            outcome = withFailingAllocation(n, [&] { return GMD_WriteRecord(h); });
            EXPECT_EQ(GMD_GetRecordType(h), 0) << "the record is emptied whatever happened";
        });
        EXPECT_EQ(outcome.first, outcome.second ? 0 : 1);
        EXPECT_EQ(bytes.empty(), outcome.second) << "allocation " << n;
        if (!outcome.second) break;
        ASSERT_LT(n, 64u);
    }
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
        for (std::size_t n = 0;; ++n) {
            SCOPED_TRACE(::testing::Message() << "record " << target << ", allocation " << n);
            ReadFile in(file, target);
            const auto [result, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
            if (!fired) {
                EXPECT_EQ(GMD_GetRecordType(in), target == 2 ? 'N' : 'H');
                break;
            }
            EXPECT_TRUE(result == 0 || GMD_GetRecordType(in) == 0);
            expectReads(in, {{G(GMD_GetNurbsSizes, 7), target == 2 ? std::optional(ints({4, 4, 3, 3, 1, 0, 0})) : std::nullopt},
                             {G(GMD_GetNurbsUKnots, 4), target == 2 ? std::optional(floats({1, 0, 0, 0})) : std::nullopt},
                             {G(GMD_GetHingeNumPoints, 1), target == 3 ? std::optional(ints({30})) : std::nullopt}});
            EXPECT_EQ(textOf(in, GMD_GetHingeName), target == 3 ? std::optional<std::string>("first   ") : std::nullopt);
            EXPECT_EQ(GMD_GetRecord(in), result) << "a failed read is final";
            ASSERT_LT(n, 64u);
        }
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

TEST(HostileInput, AllocationFailureInAFrameOrWhileOpeningIsAFailure) {
    TempFile file;  // its name is too long for any small-string buffer
    file.write(concat({frame('v', Words(5000, 7u)), frame('G', floats({1}))}));
    for (std::size_t n = 0;; ++n) {
        Handle in(GMD_OpenReadFile(file.c_str()));
        const auto [result, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
        EXPECT_EQ(result, fired ? 0 : 1) << "allocation " << n;
        EXPECT_EQ(GMD_GetRecord(in), result) << "a failed read is final";
        if (!fired) break;
        ASSERT_LT(n, 50u);
    }
    for (std::size_t n = 0;; ++n) {
        const auto [opened, fired] = withFailingAllocation(n, [&] { return GMD_OpenReadFile(file.c_str()); });
        Handle in(opened);
        EXPECT_EQ(in.h == nullptr, fired) << "allocation " << n;
        if (!fired) break;
        ASSERT_LT(n, 20u);
    }
}
