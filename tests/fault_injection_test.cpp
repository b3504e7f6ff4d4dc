// Allocation failures injected into every growing setter, the encoders and
// the decoders: each call must end in its failure value and leave the
// record, its flags and the decoded members exactly as they were.
#include <functional>
#include <string>

#include "alloc_hook.h"
#include "core/record_file.h"
#include "test_support.h"

using namespace gmdtest;

namespace {

// Everything a failed call must leave alone.
struct State {
    uint8_t letter;
    int8_t group, group2;
    std::vector<uint32_t> words;
    bool invalid, quad;
    bool hasOrientation;
    std::vector<int32_t> nurbsCounts;
    std::vector<float> nurbsValues;
    std::string hingeText;
    std::vector<float> hingePoints;

    bool operator==(const State& o) const {
        return letter == o.letter && group == o.group && group2 == o.group2 && words == o.words &&
               invalid == o.invalid && quad == o.quad && hasOrientation == o.hasOrientation &&
               nurbsCounts == o.nurbsCounts && nurbsValues == o.nurbsValues && hingeText == o.hingeText &&
               hingePoints == o.hingePoints;
    }
};

State capture(GMD_File* h) {
    const gmd::RecordFile& f = *reinterpret_cast<gmd::RecordFile*>(h);
    State s{f.record.letter, f.record.group, f.record.group2, {}, f.invalid, f.quad, f.hasOrientation, {}, {}, {}, {}};
    s.words.resize(static_cast<size_t>(f.record.wordCount()));
    if (!s.words.empty()) f.record.copyOut(0, f.record.wordCount(), s.words.data());
    const auto& n = f.nurbs;
    s.nurbsCounts = {n.numUknots, n.numVknots, n.numUcontrolPoints, n.numVcontrolPoints, n.numBounds, n.numPoints, n.holeOrigin,
                     n.controlPoints.rows(), n.controlPoints.columns(), n.weights.rows(), n.weights.columns()};
    for (const auto* a : {&n.uKnots, &n.vKnots, &n.boundaryPoints}) s.nurbsValues.insert(s.nurbsValues.end(), a->begin(), a->end());
    for (size_t i = 0; i < n.weights.size(); ++i) s.nurbsValues.push_back(n.weights.data()[i]);
    for (size_t i = 0; i < n.controlPoints.size(); ++i)
        for (double c : n.controlPoints.data()[i]) s.nurbsValues.push_back(static_cast<float>(c));
    for (int32_t d : n.boundaryDimensions) s.nurbsCounts.push_back(d);
    s.hingeText = f.hinge.name + "|" + f.hinge.type;
    s.hingePoints = f.hinge.pointValues;
    for (int32_t g : f.hinge.groups) s.hingePoints.push_back(static_cast<float>(g));
    return s;
}

struct Scenario {
    const char* name;
    std::function<void(GMD_File*)> prepare;  // runs without faults
    std::function<int32_t(GMD_File*)> call;  // runs with the n-th allocation failing
};

const std::vector<float> kValues(600, 0.25f);
const std::vector<int32_t> kInts(600, 7);
const std::string kLongName(300, 'n');
std::vector<float> gPool(600, 0.5f);
std::vector<int32_t> gDimensions{10, 10};  // sums to the surface's 20 points

void triangle(GMD_File* h) { GMD_SetTriangle(h, kValues.data()); }

std::vector<Scenario> settersThatGrow() {
    auto nurbs = [](GMD_File* h) {
        const int32_t sizes[7] = {8, 8, 6, 6, 2, 20, 1};
        GMD_SetNurbsSizes(h, sizes);
    };
    return {
        {"create a triangle", nullptr, [](GMD_File* h) { return GMD_SetTriangle(h, kValues.data()); }},
        {"thickness list", triangle, [](GMD_File* h) { return GMD_SetPolygonThickness(h, 500, kValues.data()); }},
        {"orientation behind a thickness list",
         [](GMD_File* h) { triangle(h), GMD_SetPolygonThickness(h, 500, kValues.data()); },
         [](GMD_File* h) { return GMD_SetPolygonFSSorientation(h, kValues.data()); }},
        {"polygon volumes", triangle, [](GMD_File* h) { return GMD_SetPolygonVolumes(h, 1, 2); }},
        {"segment volume", nullptr, [](GMD_File* h) { return GMD_SetSegmentVolume(h, 3); }},
        {"wedge adjacency", [](GMD_File* h) { GMD_SetWedge(h, kValues.data()); },
         [](GMD_File* h) { return GMD_SetWedgeLeftAdjacentPolygon(h, 4); }},
        {"macro group list in front of a name", [](GMD_File* h) { GMD_SetMacroGroupName(h, kLongName.c_str()); },
         [](GMD_File* h) { return GMD_SetMacroGroupGroups(h, 500, kInts.data()); }},
        {"macro group name", [](GMD_File* h) { GMD_SetMacroGroupGroups(h, 3, kInts.data()); },
         [](GMD_File* h) { return GMD_SetMacroGroupName(h, kLongName.c_str()); }},
        {"scattered vertex adjacency", nullptr, [](GMD_File* h) { return GMD_SetScattVertexAdjacent(h, 500, kInts.data()); }},
        {"cone", nullptr, [](GMD_File* h) { return GMD_SetCone(h, kValues.data()); }},
        {"junction", nullptr, [](GMD_File* h) { return GMD_SetJunctionNormal(h, kValues.data()); }},
        {"material name", nullptr, [](GMD_File* h) { return GMD_SetGroupMaterialName(h, kLongName.c_str()); }},
        {"hinge name", nullptr, [](GMD_File* h) { return GMD_SetHingeName(h, kLongName.c_str()); }},
        {"hinge points", [](GMD_File* h) { GMD_SetHingeName(h, "a"), GMD_SetHingeType(h, "b"); },
         [](GMD_File* h) { return GMD_SetHingePoints(h, 50, kValues.data()); }},
        {"hinge groups", [](GMD_File* h) { GMD_SetHingeName(h, "a"); },
         [](GMD_File* h) { return GMD_SetHingeGroups(h, 500, kInts.data()); }},
        {"NURBS sizes", nullptr,
         [](GMD_File* h) {
             const int32_t sizes[7] = {8, 8, 6, 6, 2, 20, 1};
             return GMD_SetNurbsSizes(h, sizes);
         }},
        {"NURBS knot count", nurbs, [](GMD_File* h) { return GMD_SetNurbsNumUknots(h, 400); }},
        {"NURBS grid", nurbs, [](GMD_File* h) { return GMD_SetNurbsNumVcontrolPoints(h, 60); }},
        {"NURBS boundary points", nurbs, [](GMD_File* h) { return GMD_SetNurbsNumPoints(h, 250); }},
        {"NURBS data", nurbs,
         [](GMD_File* h) {
             // Taken from pools made before the fault is armed.
             GMD_NurbsData data{gPool.data(), gPool.data(), gPool.data(), gPool.data(), gDimensions.data(), gPool.data()};
             return GMD_SetNurbsData(h, &data);
         }},
    };
}

}  // namespace

TEST(FaultInjection, GrowingSettersRefuseAndLeaveTheRecord) {
    int injected = 0;
    for (const auto& s : settersThatGrow()) {
        SCOPED_TRACE(s.name);
        std::size_t n = 0;
        for (;; ++n) {
            TempFile file;
            Handle out(GMD_OpenWriteFile(file.c_str()));
            ASSERT_NE(out.h, nullptr);
            GMD_SetGroup(out, 5);
            if (s.prepare) s.prepare(out);
            State before = capture(out);
            const auto [result, fired] = withFailingAllocation(n, [&] { return s.call(out); });
            if (!fired) {
                EXPECT_EQ(result, 1) << "the call succeeds once no allocation fails";
                break;
            }
            ++injected;
            EXPECT_EQ(result, 0) << "allocation " << n;
            EXPECT_TRUE(capture(out) == before) << "allocation " << n << " changed the record";
            ASSERT_LT(n, 64u);
        }
    }
    RecordProperty("faults_injected", injected);
}

TEST(FaultInjection, EncodingFailureWritesNothing) {
    std::size_t n = 0;
    for (;; ++n) {
        TempFile file;
        std::pair<int32_t, bool> written;
        {
            Handle out(GMD_OpenWriteFile(file.c_str()));
            const int32_t sizes[7] = {8, 8, 6, 6, 2, 20, 1};
            ASSERT_EQ(GMD_SetNurbsSizes(out, sizes), 1);
            written = withFailingAllocation(n, [&] { return GMD_WriteRecord(out); });
            EXPECT_EQ(GMD_GetRecordType(out), 0) << "the record is emptied whatever happened";
        }
        const auto [result, fired] = written;
        if (!fired) {
            EXPECT_EQ(result, 1);
            EXPECT_FALSE(file.bytes().empty());
            break;
        }
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(file.bytes().empty()) << "allocation " << n << " let a partial frame through";
        ASSERT_LT(n, 64u);
    }
    RecordProperty("faults_injected", static_cast<int>(n));
}

TEST(FaultInjection, DecodersRejectAndKeepTheirMembers) {
    // A surface and a hinge to read after an earlier one of each.
    TempFile file;
    {
        Handle out(GMD_OpenWriteFile(file.c_str()));
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
    }
    int injected = 0;
    for (int target = 2; target < 4; ++target) {
        for (std::size_t n = 0;; ++n) {
            Handle in(GMD_OpenReadFile(file.c_str()));
            for (int k = 0; k < target; ++k) ASSERT_EQ(GMD_GetRecord(in), 1);
            State before = capture(in);
            const auto [result, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
            if (!fired) {
                EXPECT_EQ(result, 1);
                EXPECT_NE(GMD_GetRecordType(in), 0);
                break;
            }
            ++injected;
            State after = capture(in);
            // A failed frame read empties the words; a failed decoder marks the
            // record invalid. Either way the decoded members are the old ones.
            EXPECT_TRUE(result == 0 || GMD_GetRecordType(in) == 0) << "allocation " << n;
            EXPECT_EQ(after.nurbsCounts, before.nurbsCounts) << "allocation " << n;
            EXPECT_EQ(after.nurbsValues, before.nurbsValues) << "allocation " << n;
            EXPECT_EQ(after.hingeText, before.hingeText) << "allocation " << n;
            EXPECT_EQ(after.hingePoints, before.hingePoints) << "allocation " << n;
            ASSERT_LT(n, 64u);
        }
    }
    RecordProperty("faults_injected", injected);
}
