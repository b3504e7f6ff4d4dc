#include "model/fields.h"

#include <cstring>

#include "model/layout.h"
#include "model/names.h"

namespace gmdk {

namespace {

bool extract(GMD_File* h, Record& r);

// Getter of n floats into a named field; false when the getter refuses.
using FloatsGetter = int32_t (*)(GMD_File*, float*);

bool addFloats(GMD_File* h, Record& r, const char* name, FloatsGetter get, std::size_t n, bool derived = false) {
    std::vector<float> values(n);
    if (!get(h, values.data())) return false;
    Field f = floatField(name, std::move(values), n == 1);
    f.derived = derived;
    r.fields.push_back(std::move(f));
    return true;
}

struct FloatGetter {
    const char* name;
    FloatsGetter get;
    std::size_t count;
    bool derived = false;
};

bool addAll(GMD_File* h, Record& r, std::initializer_list<FloatGetter> getters) {
    for (const FloatGetter& g : getters)
        if (!addFloats(h, r, g.name, g.get, g.count, g.derived)) return false;
    return true;
}

bool addInt(GMD_File* h, Record& r, const char* name, int32_t (*get)(GMD_File*, int32_t*)) {
    std::int32_t value = 0;
    if (!get(h, &value)) return false;
    r.fields.push_back(intField(name, {value}, true));
    return true;
}

// Getters that copy several points at once; the record names each point.
void addPoints(Record& r, const float* values, std::initializer_list<const char*> names) {
    std::size_t at = 0;
    for (const char* name : names) {
        r.fields.push_back(floatField(name, {values[at], values[at + 1], values[at + 2]}));
        at += 3;
    }
}

// Text getters write the stored bytes and a NUL into a buffer they do not
// bound; no stored text is longer than the record's payload.
bool addText(GMD_File* h, Record& r, const char* name, int32_t (*get)(GMD_File*, char*)) {
    std::vector<char> buffer(r.frame.payload.size() + 8, '\0');
    if (!get(h, buffer.data())) return false;
    r.fields.push_back(textField(name, std::string(buffer.data(), strnlen(buffer.data(), buffer.size()))));
    return true;
}


bool extractPolygon(GMD_File* h, Record& r) {
    const bool triangle = isTriangleCode(r.code);
    const std::size_t v = triangle ? 9 : 12;
    const std::size_t words = r.frame.wordCount();
    if (!addFloats(h, r, "vertices", triangle ? GMD_GetTriangle : GMD_GetQuad, v)) return false;
    const std::uint8_t form = letterForCode(r.code);
    if (form == letter::kVolumePolygon) {
        std::int32_t a = 0, b = 0;
        if (!GMD_GetPolygonVolumes(h, &a, &b)) return false;
        r.fields.push_back(intField("volumes", {a, b}));
        return true;
    }
    if (form != letter::kAttributedPolygon) return true;
    bool oriented = false;
    if (words >= v + 3) {
        std::vector<float> o(3);
        if (GMD_GetPolygonFSSorientation(h, o.data())) {
            oriented = true;
            r.fields.push_back(floatField("orientation", std::move(o)));
        }
    }
    std::int32_t n = 0;
    if (GMD_GetPolygonNumThickness(h, &n)) {
        const std::size_t t = v + (oriented ? 3 : 0);
        if (n < 0 || t + 1 + static_cast<std::size_t>(n) > words) return false;
        std::vector<float> thickness(static_cast<std::size_t>(n) + 1);
        if (!GMD_GetPolygonThickness(h, thickness.data())) return false;
        thickness.pop_back();
        r.fields.push_back(floatField("thickness", std::move(thickness)));
    }
    return true;
}

bool extractNurbs(GMD_File* h, Record& r) {
    const NurbsLayout layout = nurbsLayout(r.frame);
    if (!layout.problem.empty()) return false;
    // The library's counts must agree with the frame's before its arrays are
    // sized from them.
    std::int32_t s[7];
    if (!GMD_GetNurbsSizes(h, s)) return false;
    for (int i = 0; i < 5; ++i)
        if (s[i] != layout.counts[i]) return false;
    if (s[5] != layout.boundaryPoints) return false;
    const std::size_t grid = static_cast<std::size_t>(s[2]) * static_cast<std::size_t>(s[3]);
    std::vector<float> u(static_cast<std::size_t>(s[0])), v(static_cast<std::size_t>(s[1]));
    std::vector<float> points(3 * grid), weights(grid), boundary(2 * static_cast<std::size_t>(s[5]));
    std::vector<std::int32_t> dims(static_cast<std::size_t>(s[4]));
    GMD_NurbsData data{u.data(), v.data(), points.data(), weights.data(), dims.data(), boundary.data()};
    if (!GMD_GetNurbsData(h, &data)) return false;
    r.fields.push_back(intField("holeOrigin", {s[6]}, true));
    r.fields.push_back(floatField("uKnots", std::move(u)));
    r.fields.push_back(floatField("vKnots", std::move(v)));
    r.fields.push_back(intField("numUcontrolPoints", {s[2]}, true));
    r.fields.push_back(intField("numVcontrolPoints", {s[3]}, true));
    r.fields.push_back(floatField("controlPoints", std::move(points)));
    r.fields.push_back(floatField("weights", std::move(weights)));
    r.fields.push_back(intField("boundaryDimensions", std::move(dims)));
    r.fields.push_back(floatField("boundaryPoints", std::move(boundary)));
    return true;
}

// The hinge getters size nothing themselves; the section lengths come from
// the frame first so that no getter can be handed a buffer too small.
bool extractHinge(GMD_File* h, Record& r) {
    const HingeLayout layout = hingeLayout(r.frame);
    if (!layout.problem.empty()) return false;
    if (!addText(h, r, "name", GMD_GetHingeName) || !addText(h, r, "type", GMD_GetHingeType)) return false;
    std::int32_t values = 0, groups = 0;
    if (!GMD_GetHingeNumPoints(h, &values) || values != 10 * layout.points) return false;
    if (!GMD_GetHingeNumGroups(h, &groups) || groups != layout.groups) return false;
    std::vector<float> points(static_cast<std::size_t>(values) + 1);
    std::vector<std::int32_t> list(static_cast<std::size_t>(groups) + 1);
    if (!GMD_GetHingePointsData(h, points.data()) || !GMD_GetHingeGroups(h, list.data())) return false;
    points.pop_back();
    list.pop_back();
    r.fields.push_back(floatField("points", std::move(points)));
    r.fields.push_back(intField("groups", std::move(list)));
    return true;
}

bool extractMacroGroup(GMD_File* h, Record& r) {
    const MacroGroupLayout layout = macroGroupLayout(r.frame);
    if (!layout.problem.empty()) return false;
    std::int32_t n = 0;
    if (!GMD_GetMacroGroupNumGroups(h, &n) || n != layout.groups) return false;
    std::vector<std::int32_t> groups(static_cast<std::size_t>(n) + 1);
    if (!GMD_GetMacroGroupGroups(h, groups.data())) return false;
    groups.pop_back();
    r.fields.push_back(intField("groups", std::move(groups)));
    return !layout.named || addText(h, r, "name", GMD_GetMacroGroupName);
}

bool extractScatteredVertex(GMD_File* h, Record& r) {
    const std::size_t words = r.frame.wordCount();
    if (words < 3 || !addFloats(h, r, "position", GMD_GetScattVertexPosition, 3)) return false;
    std::int32_t n = 0;
    if (!GMD_GetScattVertexNumAdjacent(h, &n) || n < 0 || static_cast<std::size_t>(n) + 3 != words) return false;
    std::vector<std::int32_t> adjacent(static_cast<std::size_t>(n) + 1);
    if (!GMD_GetScattVertexAdjacent(h, adjacent.data())) return false;
    adjacent.pop_back();
    r.fields.push_back(intField("adjacent", std::move(adjacent)));
    return true;
}

}  // namespace

bool readFields(GMD_File* h, Record& r) {
    r.fields.clear();
    r.hasFields = extract(h, r);
    if (!r.hasFields) r.fields.clear();
    return r.hasFields;
}

namespace {

bool extract(GMD_File* h, Record& r) {
    if (r.code == 0 || letterForCode(r.code) != r.frame.letter) return false;
    const std::size_t words = r.frame.wordCount();
    if (r.frame.payload.size() % 4) return false;
    if (isPolygonCode(r.code)) return extractPolygon(h, r);
    switch (r.frame.letter) {
    case letter::kTolerance:
        return words >= 1 && addFloats(h, r, "tolerance", GMD_GetTolerance, 1);
    case letter::kSegment:
    case letter::kVolumeSegment:
        if (!addFloats(h, r, "vertices", GMD_GetSegment, 6)) return false;
        if (words >= 7 && !addFloats(h, r, "radius", GMD_GetSegmentRadius, 1)) return false;
        return r.frame.letter == letter::kSegment || addInt(h, r, "volume", GMD_GetSegmentVolume);
    case letter::kWedge:
    case letter::kWedgeWithPolygons:
    case letter::kEdge: {
        float w[12];
        if (!GMD_GetWedge(h, w)) return false;
        addPoints(r, w, {"firstVertex", "secondVertex", "leftNormal", "rightNormal"});
        if (r.frame.letter == letter::kWedge) return true;
        if (words < 14) return false;
        if (r.frame.letter == letter::kEdge) return addInt(h, r, "polygon", GMD_GetEWLeftAdjacentPolygon);
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
