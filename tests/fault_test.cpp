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
    const char* name;
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

const Scenario kGrowingSetters[] = {
    {"create a triangle", nothing, [](GMD_File* h) { return GMD_SetTriangle(h, kValues.data()); }},
    {"thickness list", triangle, [](GMD_File* h) { return GMD_SetPolygonThickness(h, 500, kValues.data()); }},
    {"orientation behind a thickness list",
     [](GMD_File* h) { triangle(h), GMD_SetPolygonThickness(h, 500, kValues.data()); },
     [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kValues.data()); }},
    {"polygon volumes", triangle, [](GMD_File* h) { return GMD_SetPolygonVolumes(h, 1, 2); }},
    {"segment volume", nothing, [](GMD_File* h) { return GMD_SetSegmentVolume(h, 3); }},
    {"wedge adjacency", [](GMD_File* h) { GMD_SetWedge(h, kValues.data()); },
     [](GMD_File* h) { return GMD_SetWedgeLeftAdjacentPolygon(h, 4); }},
    {"macro group list in front of a name", [](GMD_File* h) { GMD_SetMacroGroupName(h, kLongName.c_str()); },
     [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 500, kInts.data()); }},
    {"macro group name", [](GMD_File* h) { GMD_SetMacroGroupGroups(h, 3, kInts.data()); },
     [](GMD_File* h) { return GMD_SetMacroGroupName(h, kLongName.c_str()); }},
    {"scattered vertex adjacency", nothing, [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 500, kInts.data()); }},
    {"cone", nothing, [](GMD_File* h) { return GMD_SetCone(h, kValues.data()); }},
    {"junction", nothing, [](GMD_File* h) { return GMD_SetJunctionNormal(h, kValues.data()); }},
    {"material name", nothing, [](GMD_File* h) { return GMD_SetGroupMaterialName(h, kLongName.c_str()); }},
    {"hinge name", nothing, [](GMD_File* h) { return GMD_SetHingeName(h, kLongName.c_str()); }},
    {"hinge points", [](GMD_File* h) { GMD_SetHingeName(h, "a"), GMD_SetHingeType(h, "b"); },
     [](GMD_File* h) { return GMD_SetHingePoints(h, 50, kValues.data()); }},
    {"hinge groups", [](GMD_File* h) { GMD_SetHingeName(h, "a"); },
     [](GMD_File* h) { return GMD_SetHingeGroups(h, 500, kInts.data()); }},
    {"NURBS sizes", nothing, [](GMD_File* h) { return GMD_SetNurbsSizes(h, kSizes); }},
    {"NURBS knot count", surface, [](GMD_File* h) { return GMD_SetNurbsNumUknots(h, 400); }},
    {"NURBS grid", surface, [](GMD_File* h) { return GMD_SetNurbsNumVcontrolPoints(h, 60); }},
    {"NURBS boundary points", surface, [](GMD_File* h) { return GMD_SetNurbsNumPoints(h, 250); }},
    {"NURBS data", surface,
     [](GMD_File* h) {
         // Taken from pools made before the fault is armed.
         GMD_NurbsData data{gPool.data(), gPool.data(), gPool.data(), gPool.data(), gDimensions.data(), gPool.data()};
         return GMD_SetNurbsData(h, &data);
     }},
};

// The file written when `prepare` and `call` run and the record is then
// written, with the allocation after `succeed` others made to fail in `call`.
struct Outcome {
    int32_t result;
    bool fired;
    Bytes bytes;
};

Outcome run(const Scenario& s, std::size_t succeed) {
    Outcome o{0, false, {}};
    o.bytes = written([&](GMD_File* h) {
        GMD_SetGroup(h, 5);
        s.prepare(h);
        std::tie(o.result, o.fired) = withFailingAllocation(succeed, [&] { return s.call(h); });
        GMD_WriteRecord(h);
    });
    return o;
}

}  // namespace

// The record written after a failed call is the one written without it.
TEST(FaultInjection, GrowingSettersRefuseAndLeaveTheRecord) {
    for (const auto& s : kGrowingSetters) {
        SCOPED_TRACE(s.name);
        const Bytes untouched = written([&](GMD_File* h) {
            GMD_SetGroup(h, 5);
            s.prepare(h);
            GMD_WriteRecord(h);
        });
        for (std::size_t n = 0;; ++n) {
            const Outcome o = run(s, n);
            if (!o.fired) {
                EXPECT_EQ(o.result, 1) << "the call succeeds once no allocation fails";
                EXPECT_NE(o.bytes, untouched);
                break;
            }
            EXPECT_EQ(o.result, 0) << "allocation " << n;
            EXPECT_EQ(o.bytes, untouched) << "allocation " << n << " changed the record";
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
        if (!outcome.second) {
            EXPECT_EQ(outcome.first, 1);
            EXPECT_FALSE(bytes.empty());
            break;
        }
        EXPECT_EQ(outcome.first, 0);
        EXPECT_TRUE(bytes.empty()) << "allocation " << n << " let a partial frame through";
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
    });
    for (int target = 2; target < 4; ++target) {
        for (std::size_t n = 0;; ++n) {
            ReadFile in(file);
            for (int k = 0; k < target; ++k) ASSERT_EQ(GMD_GetRecord(in), 1);
            const auto [result, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
            if (!fired) {
                EXPECT_EQ(GMD_GetRecordType(in), target == 2 ? 'N' : 'H');
                break;
            }
            SCOPED_TRACE(::testing::Message() << "record " << target << ", allocation " << n);
            EXPECT_TRUE(result == 0 || GMD_GetRecordType(in) == 0);
            if (target == 2) {
                EXPECT_EQ(got(in, GMD_GetNurbsSizes, 7), ints({4, 4, 3, 3, 1, 0, 0}));
                EXPECT_EQ(got(in, GMD_GetNurbsUKnots, 4), floats({1, 0, 0, 0}));
            } else {
                EXPECT_EQ(textOf(in, GMD_GetHingeName), "first   ");
                EXPECT_EQ(got(in, GMD_GetHingeNumPoints, 1), ints({30}));
            }
            if (result == 0) {
                EXPECT_EQ(GMD_GetRecord(in), 0) << "a failed read is final";
            }
            ASSERT_LT(n, 64u);
        }
    }
}

TEST(HostileInput, ClaimedLengthCostsOnlyWhatArrives) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const struct {
        uint32_t length;
        std::size_t present;
        std::size_t allowedBytes;
    } cases[] = {{0x7FFFFFFFu, 4, 4 * kMiB}, {0x7FFFFFF8u, 3 * kMiB, 16 * kMiB}, {0x40000000u, 100, 4 * kMiB}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        Bytes b;
        appendLE32(b, c.length);
        b.insert(b.end(), {'v', 255, 0, 0});
        b.resize(b.size() + c.present, 0x5A);
        ReadFile in(b);
        AllocationStats stats;
        {
            CountAllocations counter;
            EXPECT_EQ(GMD_GetRecord(in), 0);
            stats = counter.stats();
        }
        EXPECT_LE(stats.bytes, c.allowedBytes) << "largest single request " << stats.largest;
    }
}

// 200 x 200 cells need 160000 words, 150000 follow. The 'v' frame first
// leaves the word array larger than the claim, so what shows is a grid the
// decoder allocated before it checked.
TEST(HostileInput, SurfaceGridBeyondItsWordsIsRefusedBeforeItIsAllocated) {
    const Words grid = join({floats({150006, 0, 0, 200, 200, 0, 0}), zeros(150000)});
    ReadFile in(concat({frame('v', zeros(200000)), frame('N', grid)}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    AllocationStats stats;
    {
        CountAllocations counter;
        ASSERT_EQ(GMD_GetRecord(in), 1);
        stats = counter.stats();
    }
    EXPECT_EQ(GMD_GetRecordType(in), 0);
    EXPECT_LT(stats.bytes, 4096u) << "largest single request " << stats.largest;
}

TEST(HostileInput, AllocationFailureInAFrameOrWhileOpeningIsAFailure) {
    TempFile file;  // its name is too long for any small-string buffer
    file.write(concat({frame('v', Words(5000, 7u)), frame('G', floats({1}))}));
    for (std::size_t n = 0;; ++n) {
        Handle in(GMD_OpenReadFile(file.c_str()));
        const auto [got, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
        if (!fired) {
            EXPECT_EQ(got, 1);
            break;
        }
        EXPECT_EQ(got, 0) << "allocation " << n;
        EXPECT_EQ(GMD_GetRecord(in), 0) << "a failed read is final";
        ASSERT_LT(n, 50u);
    }
    for (std::size_t n = 0;; ++n) {
        const auto [opened, fired] = withFailingAllocation(n, [&] { return GMD_OpenReadFile(file.c_str()); });
        Handle in(opened);
        if (!fired) {
            EXPECT_EQ(GMD_GetRecord(in), 1);
            break;
        }
        EXPECT_EQ(in.h, nullptr) << "allocation " << n;
        ASSERT_LT(n, 20u);
    }
}
