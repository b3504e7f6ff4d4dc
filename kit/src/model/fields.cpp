#include "model/fields.h"

#include <algorithm>
#include <cstring>

#include "model/layout.h"
#include "model/names.h"

namespace gmdk {

namespace {

// The record's fields, filled in order into the slots the record already
// holds: a slot keeps the storage of its name and values from the record read
// before, so that a run of records of one type allocates nothing. Adding a
// field may move the fields added before it, but never their values.
class Fields {
public:
    explicit Fields(Record& r) : r_(r) {}
    Record& record() { return r_; }
    const RecordFrame& frame() const { return r_.frame; }

    // The values of the field's own kind are left for the caller to size.
    Field& add(const char* name, Kind kind, bool scalar = false, bool derived = false) {
        if (used_ == r_.fields.size()) r_.fields.emplace_back();
        Field& f = r_.fields[used_++];
        if (f.name != name) f.name.assign(name);
        f.kind = kind;
        f.scalar = scalar;
        f.derived = derived;
        if (kind != Kind::Float) f.floats.clear();
        if (kind != Kind::Int) f.ints.clear();
        if (kind != Kind::Text) f.text.clear();
        return f;
    }
    std::vector<float>& floats(const char* name, std::size_t n, bool scalar = false, bool derived = false) {
        Field& f = add(name, Kind::Float, scalar, derived);
        f.floats.resize(n);
        return f.floats;
    }
    std::vector<std::int32_t>& ints(const char* name, std::size_t n, bool scalar = false) {
        Field& f = add(name, Kind::Int, scalar);
        f.ints.resize(n);
        return f.ints;
    }
    // Drops the slots of fields the record does not have.
    void finish() { r_.fields.resize(used_); }

private:
    Record& r_;
    std::size_t used_ = 0;
};

bool extract(GMD_File* h, Fields& r);

// Getter of n floats into a named field; false when the getter refuses.
using FloatsGetter = int32_t (*)(GMD_File*, float*);

bool addFloats(GMD_File* h, Fields& r, const char* name, FloatsGetter get, std::size_t n, bool derived = false) {
    return get(h, r.floats(name, n, n == 1, derived).data()) != 0;
}

struct FloatGetter {
    const char* name;
    FloatsGetter get;
    std::size_t count;
    bool derived = false;
};

bool addAll(GMD_File* h, Fields& r, std::initializer_list<FloatGetter> getters) {
    for (const FloatGetter& g : getters)
        if (!addFloats(h, r, g.name, g.get, g.count, g.derived)) return false;
    return true;
}

bool addInt(GMD_File* h, Fields& r, const char* name, int32_t (*get)(GMD_File*, int32_t*)) {
    return get(h, r.ints(name, 1, true).data()) != 0;
}

// Getters that copy several points at once; the record names each point.
void addPoints(Fields& r, const float* values, std::initializer_list<const char*> names) {
    std::size_t at = 0;
    for (const char* name : names) {
        std::vector<float>& point = r.floats(name, 3);
        std::copy(values + at, values + at + 3, point.begin());
        at += 3;
    }
}

// Text getters write the stored bytes and a NUL into a buffer they do not
// bound; no stored text is longer than the record's payload.
bool addText(GMD_File* h, Fields& r, const char* name, int32_t (*get)(GMD_File*, char*)) {
    std::vector<char> buffer(r.frame().payload.size() + 8, '\0');
    if (!get(h, buffer.data())) return false;
    r.add(name, Kind::Text, true).text.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return true;
}

// A list field whose getter writes one word past the n values (the library's
// lists carry their terminator).
template <typename T, typename Getter>
bool addList(GMD_File* h, std::vector<T>& values, std::size_t n, Getter get) {
    values.resize(n + 1);
    if (!get(h, values.data())) return false;
    values.pop_back();
    return true;
}


bool extractPolygon(GMD_File* h, Fields& r, std::int32_t code) {
    const bool triangle = isTriangleCode(code);
    const std::size_t v = triangle ? 9 : 12;
    const std::size_t words = r.frame().wordCount();
    if (!addFloats(h, r, "vertices", triangle ? GMD_GetTriangle : GMD_GetQuad, v)) return false;
    const std::uint8_t form = letterForCode(code);
    if (form == letter::kVolumePolygon) {
        std::int32_t* volumes = r.ints("volumes", 2).data();
        return GMD_GetPolygonVolumes(h, &volumes[0], &volumes[1]) != 0;
    }
    if (form != letter::kAttributedPolygon) return true;
    bool oriented = false;
    if (words >= v + 3) {
        float o[3];
        if (GMD_GetPolygonFSSorientation(h, o)) {
            oriented = true;
            std::copy(o, o + 3, r.floats("orientation", 3).begin());
        }
    }
    std::int32_t n = 0;
    if (GMD_GetPolygonNumThickness(h, &n)) {
        const std::size_t t = v + (oriented ? 3 : 0);
        if (n < 0 || t + 1 + static_cast<std::size_t>(n) > words) return false;
        Field& thickness = r.add("thickness", Kind::Float);
        return addList(h, thickness.floats, static_cast<std::size_t>(n), GMD_GetPolygonThickness);
    }
    return true;
}

bool extractNurbs(GMD_File* h, Fields& r) {
    const NurbsLayout layout = nurbsLayout(r.frame());
    if (!layout.problem.empty()) return false;
    // The library's counts must agree with the frame's before its arrays are
    // sized from them.
    std::int32_t s[7];
    if (!GMD_GetNurbsSizes(h, s)) return false;
    for (int i = 0; i < 5; ++i)
        if (s[i] != layout.counts[i]) return false;
    if (s[5] != layout.boundaryPoints) return false;
    const std::size_t grid = static_cast<std::size_t>(s[2]) * static_cast<std::size_t>(s[3]);
    r.ints("holeOrigin", 1, true)[0] = s[6];
    GMD_NurbsData data;
    data.uKnots = r.floats("uKnots", static_cast<std::size_t>(s[0])).data();
    data.vKnots = r.floats("vKnots", static_cast<std::size_t>(s[1])).data();
    r.ints("numUcontrolPoints", 1, true)[0] = s[2];
    r.ints("numVcontrolPoints", 1, true)[0] = s[3];
    data.controlPoints = r.floats("controlPoints", 3 * grid).data();
    data.weights = r.floats("weights", grid).data();
    data.boundaryDimensions = r.ints("boundaryDimensions", static_cast<std::size_t>(s[4])).data();
    data.boundaryPoints = r.floats("boundaryPoints", 2 * static_cast<std::size_t>(s[5])).data();
    return GMD_GetNurbsData(h, &data) != 0;
}

// The hinge getters size nothing themselves; the section lengths come from
// the frame first so that no getter can be handed a buffer too small.
bool extractHinge(GMD_File* h, Fields& r) {
    const HingeLayout layout = hingeLayout(r.frame());
    if (!layout.problem.empty()) return false;
    if (!addText(h, r, "name", GMD_GetHingeName) || !addText(h, r, "type", GMD_GetHingeType)) return false;
    std::int32_t values = 0, groups = 0;
    if (!GMD_GetHingeNumPoints(h, &values) || values != 10 * layout.points) return false;
    if (!GMD_GetHingeNumGroups(h, &groups) || groups != layout.groups) return false;
    return addList(h, r.add("points", Kind::Float).floats, static_cast<std::size_t>(values), GMD_GetHingePointsData) &&
           addList(h, r.add("groups", Kind::Int).ints, static_cast<std::size_t>(groups), GMD_GetHingeGroups);
}

bool extractMacroGroup(GMD_File* h, Fields& r) {
    const MacroGroupLayout layout = macroGroupLayout(r.frame());
    if (!layout.problem.empty()) return false;
    std::int32_t n = 0;
    if (!GMD_GetMacroGroupNumGroups(h, &n) || n != layout.groups) return false;
    if (!addList(h, r.add("groups", Kind::Int).ints, static_cast<std::size_t>(n), GMD_GetMacroGroupGroups)) return false;
    return !layout.named || addText(h, r, "name", GMD_GetMacroGroupName);
}

bool extractScatteredVertex(GMD_File* h, Fields& r) {
    const std::size_t words = r.frame().wordCount();
    if (words < 3 || !addFloats(h, r, "position", GMD_GetScattVertexPosition, 3)) return false;
    std::int32_t n = 0;
    if (!GMD_GetScattVertexNumAdjacent(h, &n) || n < 0 || static_cast<std::size_t>(n) + 3 != words) return false;
    return addList(h, r.add("adjacent", Kind::Int).ints, static_cast<std::size_t>(n), GMD_GetScattVertexAdjacent);
}

}  // namespace

bool readFields(GMD_File* h, Record& r) {
    Fields fields(r);
    r.hasFields = extract(h, fields);
    fields.finish();
    if (!r.hasFields) r.fields.clear();
    return r.hasFields;
}

namespace {

bool extract(GMD_File* h, Fields& r) {
    const std::int32_t code = r.record().code;
    const std::uint8_t form = r.frame().letter;
    if (code == 0 || letterForCode(code) != form) return false;
    const std::size_t words = r.frame().wordCount();
    if (r.frame().payload.size() % 4) return false;
    if (isPolygonCode(code)) return extractPolygon(h, r, code);
    switch (form) {
    case letter::kTolerance:
        return words >= 1 && addFloats(h, r, "tolerance", GMD_GetTolerance, 1);
    case letter::kSegment:
    case letter::kVolumeSegment:
        if (!addFloats(h, r, "vertices", GMD_GetSegment, 6)) return false;
        if (words >= 7 && !addFloats(h, r, "radius", GMD_GetSegmentRadius, 1)) return false;
        return form == letter::kSegment || addInt(h, r, "volume", GMD_GetSegmentVolume);
    case letter::kWedge:
    case letter::kWedgeWithPolygons:
    case letter::kEdge: {
        float w[12];
        if (!GMD_GetWedge(h, w)) return false;
        addPoints(r, w, {"firstVertex", "secondVertex", "leftNormal", "rightNormal"});
        if (form == letter::kWedge) return true;
        if (words < 14) return false;
        if (form == letter::kEdge) return addInt(h, r, "polygon", GMD_GetEWLeftAdjacentPolygon);
        return addInt(h, r, "leftPolygon", GMD_GetEWLeftAdjacentPolygon) &&
               addInt(h, r, "rightPolygon", GMD_GetEWRightAdjacentPolygon);
    }
    case letter::kMacroGroup:
        return extractMacroGroup(h, r);
    case letter::kScatteredVertex:
        return extractScatteredVertex(h, r);
    case letter::kSphere:
        return addAll(h, r, {{"center", GMD_GetSphereCenter, 3},
                             {"radius", GMD_GetSphereRadius, 1}});
    case letter::kScatterer:
        return addAll(h, r, {{"center", GMD_GetScatterCenter, 3},
                             {"radius", GMD_GetScatterRadius, 1},
                             {"emRadius", GMD_GetScatterEMRadius, 1}});
    case letter::kDisk:
        return addAll(h, r, {{"center", GMD_GetDiskCenter, 3},
                             {"normal", GMD_GetDiskNormal, 3},
                             {"radius", GMD_GetDiskRadius, 1}});
    case letter::kCircularCylinder:
        return addAll(h, r, {{"lowerCenter", GMD_GetCylinderLowerCenter, 3},
                             {"upperCenter", GMD_GetCylinderUpperCenter, 3},
                             {"radius", GMD_GetCylinderRadius, 1},
                             {"height", GMD_GetCylinderHeight, 1, true}});
    case letter::kEllipticalCylinder:
        return addAll(h, r, {{"center", GMD_GetEllipticalCylinderCenter, 3},
                             {"zDirection", GMD_GetEllipticalCylinderZdirection, 3},
                             {"xDirection", GMD_GetEllipticalCylinderXdirection, 3},
                             {"xSemiAxis", GMD_GetEllipticalCylinderXsemiAxis, 1},
                             {"ySemiAxis", GMD_GetEllipticalCylinderYsemiAxis, 1},
                             {"height", GMD_GetEllipticalCylinderHeight, 1},
                             {"lowerTiltAngle", GMD_GetEllipticalCylinderLowerTiltAngle, 1},
                             {"upperTiltAngle", GMD_GetEllipticalCylinderUpperTiltAngle, 1},
                             {"lowerCenter", GMD_GetEllipticalCylinderLowerCenter, 3, true},
                             {"upperCenter", GMD_GetEllipticalCylinderUpperCenter, 3, true},
                             {"yDirection", GMD_GetEllipticalCylinderYdirection, 3, true}});
    case letter::kCone:
        return addAll(h, r, {{"lowerCenter", GMD_GetConeLowerCenter, 3},
                             {"zDirection", GMD_GetConeZdirection, 3},
                             {"xDirection", GMD_GetConeXdirection, 3},
                             {"lowerXsemiAxis", GMD_GetConeLowerXsemiAxis, 1},
                             {"lowerYsemiAxis", GMD_GetConeLowerYsemiAxis, 1},
                             {"height", GMD_GetConeHeight, 1},
                             {"upperXsemiAxis", GMD_GetConeUpperXsemiAxis, 1},
                             {"upperYsemiAxis", GMD_GetConeUpperYsemiAxis, 1},
                             {"lowerTiltAngle", GMD_GetConeLowerTiltAngle, 1},
                             {"upperTiltAngle", GMD_GetConeUpperTiltAngle, 1},
                             {"upperCenter", GMD_GetConeUpperCenter, 3, true},
                             {"yDirection", GMD_GetConeYdirection, 3, true}});
    case letter::kNurbsSurface:
        return extractNurbs(h, r);
    case letter::kJunction: {
        float j[9];
        if (words < 9 || !GMD_GetJunction(h, j)) return false;
        addPoints(r, j, {"firstVertex", "secondVertex", "normal"});
        return true;
    }
    case letter::kHinge:
        return extractHinge(h, r);
    case letter::kGroupMaterialName:
    case letter::kVolumeMaterialName:
        return addText(h, r, "name", GMD_GetMaterialName);
    case letter::kJunctionGroupName:
        return addText(h, r, "name", GMD_GetJunctionGroupName);
    default:
        return false;
    }
}

}  // namespace

}  // namespace gmdk
