#include "record.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "gmd.h"
#include "io.h"

namespace tool {

namespace {

Field textField(const std::string& name, std::string text) {
    Field f;
    f.name = name;
    f.kind = Kind::Text;
    f.scalar = true;
    f.text = std::move(text);
    return f;
}

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

// The letter a record of this code gets from the setters.
std::uint8_t letterForCode(std::int32_t code) {
    switch (code) {
    case 1: case 2: return 'p';
    case 3: case 4: return 'P';
    case 5: case 6: return 'A';
    default: return static_cast<std::uint8_t>(code);
    }
}

bool extractPolygon(GMD_File* h, Record& r) {
    const bool triangle = isTriangleCode(r.code);
    const std::size_t v = triangle ? 9 : 12;
    const std::size_t words = r.frame.wordCount();
    if (!addFloats(h, r, "vertices", triangle ? GMD_GetTriangle : GMD_GetQuad, v)) return false;
    const std::uint8_t letter = letterForCode(r.code);
    if (letter == 'p') {
        std::int32_t a = 0, b = 0;
        if (!GMD_GetPolygonVolumes(h, &a, &b)) return false;
        r.fields.push_back(intField("volumes", {a, b}));
        return true;
    }
    if (letter != 'A') return true;
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
    std::int32_t s[7];
    if (!GMD_GetNurbsSizes(h, s)) return false;
    for (int i = 0; i < 6; ++i)
        if (s[i] < 0) return false;
    const std::uint64_t grid = static_cast<std::uint64_t>(s[2]) * static_cast<std::uint64_t>(s[3]);
    const std::uint64_t needed = 7 + static_cast<std::uint64_t>(s[0]) + static_cast<std::uint64_t>(s[1]) + 4 * grid +
                                 static_cast<std::uint64_t>(s[4]) + 2 * static_cast<std::uint64_t>(s[5]);
    if (needed > r.frame.wordCount()) return false;
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

// The hinge getters size nothing themselves; the section lengths are taken
// from the frame first so that no getter can be handed a buffer too small.
bool extractHinge(GMD_File* h, Record& r) {
    const Frame& f = r.frame;
    const std::int64_t words = static_cast<std::int64_t>(f.wordCount());
    if (words < 4) return false;
    std::int64_t l1 = f.intWord(0);
    if (l1 < 0 || l1 % 4 || l1 / 4 + 2 > words) return false;
    std::int64_t l2 = f.intWord(static_cast<std::size_t>(l1 / 4 + 1));
    std::int64_t k = l1 / 4 + l2 / 4 + 2;
    if (l2 < 0 || l2 % 4 || k >= words) return false;
    std::int64_t n = f.intWord(static_cast<std::size_t>(k));
    if (n < 0 || k + 10 * n + 1 >= words) return false;
    std::int64_t g = f.intWord(static_cast<std::size_t>(k + 10 * n + 1));
    if (g < 0 || k + 10 * n + 2 + g > words) return false;
    if (!addText(h, r, "name", GMD_GetHingeName) || !addText(h, r, "type", GMD_GetHingeType)) return false;
    std::int32_t values = 0, groups = 0;
    if (!GMD_GetHingeNumPoints(h, &values) || values != 10 * n) return false;
    if (!GMD_GetHingeNumGroups(h, &groups) || groups != g) return false;
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
    const std::size_t words = r.frame.wordCount();
    std::int32_t n = 0;
    if (!GMD_GetMacroGroupNumGroups(h, &n) || n < 0 || static_cast<std::size_t>(n) + 1 > words) return false;
    std::vector<std::int32_t> groups(static_cast<std::size_t>(n) + 1);
    if (!GMD_GetMacroGroupGroups(h, groups.data())) return false;
    groups.pop_back();
    r.fields.push_back(intField("groups", std::move(groups)));
    if (words > static_cast<std::size_t>(n) + 1) {
        std::int32_t length = r.frame.intWord(static_cast<std::size_t>(n) + 1);
        if (length < 0 || static_cast<std::size_t>(n) + 2 + static_cast<std::size_t>(length) / 4 > words) return false;
        if (!addText(h, r, "name", GMD_GetMacroGroupName)) return false;
    }
    return true;
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

bool extractFields(GMD_File* h, Record& r) {
    if (r.code == 0 || letterForCode(r.code) != r.frame.letter) return false;
    const std::size_t words = r.frame.wordCount();
    if (r.frame.payload.size() % 4) return false;
    if (isPolygonCode(r.code)) return extractPolygon(h, r);
    switch (r.frame.letter) {
    case 'G':
        return words >= 1 && addFloats(h, r, "tolerance", GMD_GetTolerance, 1);
    case 'L':
    case 'l':
        if (!addFloats(h, r, "vertices", GMD_GetSegment, 6)) return false;
        if (words >= 7 && !addFloats(h, r, "radius", GMD_GetSegmentRadius, 1)) return false;
        return r.frame.letter == 'L' || addInt(h, r, "volume", GMD_GetSegmentVolume);
    case 'W':
    case 'w':
    case 'e': {
        float w[12];
        if (!GMD_GetWedge(h, w)) return false;
        addPoints(r, w, {"firstVertex", "secondVertex", "leftNormal", "rightNormal"});
        if (r.frame.letter == 'W') return true;
        if (words < 14) return false;
        if (r.frame.letter == 'e') return addInt(h, r, "polygon", GMD_GetEWLeftAdjacentPolygon);
        return addInt(h, r, "leftPolygon", GMD_GetEWLeftAdjacentPolygon) &&
               addInt(h, r, "rightPolygon", GMD_GetEWRightAdjacentPolygon);
    }
    case 'U':
        return extractMacroGroup(h, r);
    case 'v':
        return extractScatteredVertex(h, r);
    case 'S':
        return addAll(h, r, {{"center", GMD_GetSphereCenter, 3},
                             {"radius", GMD_GetSphereRadius, 1}});
    case 'R':
        return addAll(h, r, {{"center", GMD_GetScatterCenter, 3},
                             {"radius", GMD_GetScatterRadius, 1},
                             {"emRadius", GMD_GetScatterEMRadius, 1}});
    case 'D':
        return addAll(h, r, {{"center", GMD_GetDiskCenter, 3},
                             {"normal", GMD_GetDiskNormal, 3},
                             {"radius", GMD_GetDiskRadius, 1}});
    case 'C':
        return addAll(h, r, {{"lowerCenter", GMD_GetCylinderLowerCenter, 3},
                             {"upperCenter", GMD_GetCylinderUpperCenter, 3},
                             {"radius", GMD_GetCylinderRadius, 1},
                             {"height", GMD_GetCylinderHeight, 1, true}});
    case 'E':
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
    case 'F':
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
    case 'N':
        return extractNurbs(h, r);
    case 'O': {
        float j[9];
        if (words < 9 || !GMD_GetJunction(h, j)) return false;
        addPoints(r, j, {"firstVertex", "secondVertex", "normal"});
        return true;
    }
    case 'H':
        return extractHinge(h, r);
    case 'M':
    case 'm':
        return addText(h, r, "name", GMD_GetMaterialName);
    case 'Z':
        return addText(h, r, "name", GMD_GetJunctionGroupName);
    default:
        return false;
    }
}

bool ok(int32_t result) { return result != 0; }

bool setPolygon(GMD_File* h, const Record& r, std::uint8_t letter) {
    const Field* vertices = r.find("vertices");
    if (!vertices || (vertices->floats.size() != 9 && vertices->floats.size() != 12))
        throw Error("field 'vertices' needs 9 or 12 numbers");
    const bool triangle = vertices->floats.size() == 9;
    if (!ok(triangle ? GMD_SetTriangle(h, vertices->floats.data()) : GMD_SetQuad(h, vertices->floats.data())))
        return false;
    if (letter == 'p') {
        const Field& v = r.ints("volumes", 2);
        return ok(GMD_SetPolygonVolumes(h, v.ints[0], v.ints[1]));
    }
    if (letter != 'A') return true;
    const Field* thickness = r.find("thickness");
    const Field* orientation = r.find("orientation");
    if (!thickness && !orientation) throw Error("an attributed polygon needs 'orientation' or 'thickness'");
    // The thickness list goes in first; the orientation then slides in before it.
    if (thickness) {
        const Field& t = r.floats("thickness");
        if (!ok(GMD_SetPolygonThickness(h, static_cast<std::int32_t>(t.floats.size()), t.floats.data()))) return false;
    }
    return !orientation || ok(GMD_SetPolygonFSSorientation(h, r.floats("orientation", 3).floats.data()));
}

// The named fields one after another, each with its exact number of values,
// as the full setters take them.
std::vector<float> joined(const Record& r, std::initializer_list<std::pair<const char*, std::size_t>> parts) {
    std::vector<float> all;
    for (const auto& part : parts) {
        const Field& f = r.floats(part.first, part.second);
        all.insert(all.end(), f.floats.begin(), f.floats.end());
    }
    return all;
}

struct PointPatch {
    int32_t (*set)(GMD_File*, const float*);
    const char* name;
};

struct ScalarPatch {
    int32_t (*set)(GMD_File*, float);
    const char* name;
};

// Builds a solid word by word through its patching setters.
bool patch(GMD_File* h, const Record& r, std::initializer_list<PointPatch> points,
           std::initializer_list<ScalarPatch> scalars) {
    for (const PointPatch& p : points)
        if (!ok(p.set(h, r.floats(p.name, 3).floats.data()))) return false;
    for (const ScalarPatch& s : scalars)
        if (!ok(s.set(h, r.scalarFloat(s.name)))) return false;
    return true;
}

bool setNurbs(GMD_File* h, const Record& r) {
    const Field& u = r.floats("uKnots");
    const Field& v = r.floats("vKnots");
    const std::int32_t rows = r.scalarInt("numUcontrolPoints");
    const std::int32_t columns = r.scalarInt("numVcontrolPoints");
    if (rows < 0 || columns < 0) throw Error("negative control point counts");
    const std::size_t grid = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
    const Field& points = r.floats("controlPoints", 3 * grid == 0 ? 0 : 3 * grid);
    const Field& weights = r.floats("weights", grid);
    const Field& dims = r.ints("boundaryDimensions");
    const Field& boundary = r.floats("boundaryPoints");
    if (points.floats.size() != 3 * grid || weights.floats.size() != grid)
        throw Error("'controlPoints' and 'weights' must match the control point grid");
    if (boundary.floats.size() % 2) throw Error("'boundaryPoints' needs two numbers per point");
    std::int64_t sum = 0;
    for (std::int32_t d : dims.ints) sum += d;
    if (sum * 2 != static_cast<std::int64_t>(boundary.floats.size()))
        throw Error("'boundaryDimensions' must add up to the number of boundary points");
    const std::int32_t sizes[7] = {static_cast<std::int32_t>(u.floats.size()), static_cast<std::int32_t>(v.floats.size()),
                                   rows, columns, static_cast<std::int32_t>(dims.ints.size()),
                                   static_cast<std::int32_t>(boundary.floats.size() / 2), r.scalarInt("holeOrigin")};
    if (!ok(GMD_SetNurbsSizes(h, sizes))) return false;
    std::vector<float> uk = u.floats, vk = v.floats, cp = points.floats, w = weights.floats, bp = boundary.floats;
    std::vector<std::int32_t> d = dims.ints;
    GMD_NurbsData data{uk.data(), vk.data(), cp.data(), w.data(), d.data(), bp.data()};
    return ok(GMD_SetNurbsData(h, &data));
}

bool setFields(GMD_File* h, const Record& r, std::uint8_t letter) {
    switch (letter) {
    case 'G':
        return ok(GMD_SetTolerance(h, r.scalarFloat("tolerance")));
    case 'L':
    case 'l': {
        if (!ok(GMD_SetSegment(h, r.floats("vertices", 6).floats.data()))) return false;
        // The volume setter clears the radius, so it goes first.
        if (letter == 'l' && !ok(GMD_SetSegmentVolume(h, r.scalarInt("volume")))) return false;
        const Field* radius = r.find("radius");
        if (letter == 'l' && !radius) throw Error("a volume segment needs 'radius'");
        return !radius || ok(GMD_SetSegmentRadius(h, r.scalarFloat("radius")));
    }
    case 'P':
    case 'p':
    case 'A':
        return setPolygon(h, r, letter);
    case 'W':
    case 'w':
    case 'e': {
        std::vector<float> w = joined(r, {{"firstVertex", 3}, {"secondVertex", 3}, {"leftNormal", 3}, {"rightNormal", 3}});
        if (!ok(GMD_SetWedge(h, w.data()))) return false;
        if (letter == 'e') return ok(GMD_SetEdgeAdjacentPolygon(h, r.scalarInt("polygon")));
        if (letter == 'w')
            return ok(GMD_SetWedgeLeftAdjacentPolygon(h, r.scalarInt("leftPolygon"))) &&
                   ok(GMD_SetWedgeRightAdjacentPolygon(h, r.scalarInt("rightPolygon")));
        return true;
    }
    case 'U': {
        const Field& groups = r.ints("groups");
        if (!ok(GMD_SetMacroGroupGroups(h, static_cast<std::int32_t>(groups.ints.size()), groups.ints.data())))
            return false;
        return !r.find("name") || ok(GMD_SetMacroGroupName(h, r.text("name").c_str()));
    }
    case 'v': {
        const Field& adjacent = r.ints("adjacent");
        return ok(GMD_SetScattVertexPosition(h, r.floats("position", 3).floats.data())) &&
               ok(GMD_SetScattVertexAdjacent(h, static_cast<std::int32_t>(adjacent.ints.size()), adjacent.ints.data()));
    }
    case 'S':
        return ok(GMD_SetSphere(h, joined(r, {{"center", 3}, {"radius", 1}}).data()));
    case 'R':
        return ok(GMD_SetScatter(h, joined(r, {{"center", 3}, {"radius", 1}, {"emRadius", 1}}).data()));
    case 'D':
        return ok(GMD_SetDisk(h, joined(r, {{"center", 3}, {"normal", 3}, {"radius", 1}}).data()));
    case 'C':
        return ok(GMD_SetCircularCylinder(h, joined(r, {{"lowerCenter", 3}, {"upperCenter", 3}, {"radius", 1}}).data()));
    case 'E':
        // The patching setters store centre, axis and upper extent as given,
        // where the full setter would recompute them from two end centres.
        return patch(h, r,
                     {{GMD_SetEllipticalCylinderLowerCenter, "center"}, {GMD_SetEllipticalCylinderZdirection, "zDirection"},
                      {GMD_SetEllipticalCylinderXdirection, "xDirection"}},
                     {{GMD_SetEllipticalCylinderXsemiAxis, "xSemiAxis"}, {GMD_SetEllipticalCylinderYsemiAxis, "ySemiAxis"},
                      {GMD_SetEllipticalCylinderHeight, "height"}, {GMD_SetEllipticalCylinderLowerTiltAngle, "lowerTiltAngle"},
                      {GMD_SetEllipticalCylinderUpperTiltAngle, "upperTiltAngle"}});
    case 'F':
        return patch(h, r,
                     {{GMD_SetConeLowerCenter, "lowerCenter"}, {GMD_SetConeZdirection, "zDirection"},
                      {GMD_SetConeXdirection, "xDirection"}},
                     {{GMD_SetConeLowerXsemiAxis, "lowerXsemiAxis"}, {GMD_SetConeLowerYsemiAxis, "lowerYsemiAxis"},
                      {GMD_SetConeHeight, "height"}, {GMD_SetConeUpperXsemiAxis, "upperXsemiAxis"},
                      {GMD_SetConeUpperYsemiAxis, "upperYsemiAxis"}, {GMD_SetConeLowerTiltAngle, "lowerTiltAngle"},
                      {GMD_SetConeUpperTiltAngle, "upperTiltAngle"}});
    case 'N':
        return setNurbs(h, r);
    case 'O':
        return ok(GMD_SetJunction(h, joined(r, {{"firstVertex", 3}, {"secondVertex", 3}, {"normal", 3}}).data()));
    case 'H': {
        const Field& points = r.floats("points");
        const Field& groups = r.ints("groups");
        if (points.floats.size() % 10) throw Error("hinge 'points' needs ten numbers per point");
        return ok(GMD_SetHingeName(h, r.text("name").c_str())) && ok(GMD_SetHingeType(h, r.text("type").c_str())) &&
               ok(GMD_SetHingePointsData(h, static_cast<std::int32_t>(points.floats.size() / 10), points.floats.data())) &&
               ok(GMD_SetHingeGroups(h, static_cast<std::int32_t>(groups.ints.size()), groups.ints.data()));
    }
    case 'M':
        return ok(GMD_SetGroupMaterialName(h, r.text("name").c_str()));
    case 'm':
        return ok(GMD_SetVolumeMaterialName(h, r.text("name").c_str()));
    case 'Z':
        return ok(GMD_SetJunctionGroupName(h, r.text("name").c_str()));
    default:
        throw Error("letter " + letterText(letter) + " has no fields; give its bytes as 'raw'");
    }
}

}  // namespace

Field floatField(const std::string& name, std::vector<float> values, bool scalar) {
    Field f;
    f.name = name;
    f.kind = Kind::Float;
    f.scalar = scalar;
    f.floats = std::move(values);
    return f;
}

Field intField(const std::string& name, std::vector<std::int32_t> values, bool scalar) {
    Field f;
    f.name = name;
    f.kind = Kind::Int;
    f.scalar = scalar;
    f.ints = std::move(values);
    return f;
}

const Field* Record::find(const std::string& name) const {
    for (const Field& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

const Field& Record::floats(const std::string& name, std::size_t count) const {
    const Field* f = find(name);
    if (!f || f->kind != Kind::Float) throw Error("missing number field '" + name + "'");
    if (count && f->floats.size() != count)
        throw Error("field '" + name + "' needs " + std::to_string(count) + " number(s)");
    return *f;
}

const Field& Record::ints(const std::string& name, std::size_t count) const {
    const Field* f = find(name);
    if (!f || f->kind != Kind::Int) throw Error("missing integer field '" + name + "'");
    if (count && f->ints.size() != count)
        throw Error("field '" + name + "' needs " + std::to_string(count) + " integer(s)");
    return *f;
}

const std::string& Record::text(const std::string& name) const {
    const Field* f = find(name);
    if (!f || f->kind != Kind::Text) throw Error("missing text field '" + name + "'");
    return f->text;
}

bool isPolygonCode(std::int32_t code) { return code >= 1 && code <= 6; }
bool isTriangleCode(std::int32_t code) { return isPolygonCode(code) && code % 2 == 1; }

std::string letterText(std::uint8_t letter) {
    if (letter >= 0x21 && letter < 0x7f) return std::string(1, static_cast<char>(letter));
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02x", letter);
    return buffer;
}

std::string typeName(std::int32_t code, std::uint8_t letter) {
    switch (code) {
    case 0: return "invalid";
    case 1: return "volume triangle";
    case 2: return "volume quad";
    case 3: return "triangle";
    case 4: return "quad";
    case 5: return "attributed triangle";
    case 6: return "attributed quad";
    default: break;
    }
    switch (static_cast<std::uint8_t>(code)) {
    case 'G': return "tolerance";
    case 'L': return "segment";
    case 'l': return "volume segment";
    case 'W': return "wedge";
    case 'w': return "wedge with polygons";
    case 'e': return "edge";
    case 'U': return "macro group";
    case 'v': return "scattered vertex";
    case 'S': return "sphere";
    case 'R': return "scatterer";
    case 'D': return "disk";
    case 'C': return "circular cylinder";
    case 'E': return "elliptical cylinder";
    case 'F': return "cone";
    case 'N': return "NURBS surface";
    case 'O': return "junction";
    case 'H': return "hinge";
    case 'M': return "group material name";
    case 'm': return "volume material name";
    case 'Z': return "junction group name";
    default: return "unknown '" + letterText(letter) + "'";
    }
}

std::string formatFloat(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[32];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(value));
        // Both readings must agree: JSON readers go through double.
        if (std::strtof(buffer, nullptr) == value && static_cast<float>(std::strtod(buffer, nullptr)) == value) break;
    }
    return buffer;
}

Model readModel(const std::string& path, const std::string& label) {
    Model model;
    model.scan = scanFile(path);
    GMD_File* h = GMD_OpenReadFile(path.c_str());
    if (!h) throw Error(label + ": the library cannot open the file");
    std::vector<Frame> frames = std::move(model.scan.frames);
    model.scan.frames.clear();
    model.records.reserve(frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!GMD_GetRecord(h)) {
            model.libraryNote = "the library stopped reading at offset " + std::to_string(frames[i].offset) +
                                " (record " + std::to_string(i) + "), where the frames still look whole";
            break;
        }
        Record r;
        r.index = i;
        r.frame = std::move(frames[i]);
        r.code = GMD_GetRecordType(h);
        r.hasFields = extractFields(h, r);
        if (!r.hasFields) r.fields.clear();
        model.records.push_back(std::move(r));
    }
    if (model.libraryNote.empty() && GMD_GetRecord(h))
        model.libraryNote = "the library read a record past offset " + std::to_string(model.scan.stopOffset) +
                            ", where the frames end";
    GMD_CloseFile(h);
    return model;
}

bool setRecord(GMD_File* handle, const Record& record) {
    if (!setFields(handle, record, record.frame.letter)) return false;
    return ok(GMD_SetGroup(handle, record.frame.group)) && ok(GMD_SetGroup2(handle, record.frame.group2));
}

RecordWriter::RecordWriter(const std::string& path, const std::string& label) : path_(path), label_(label) {
    handle_ = GMD_OpenWriteFile(path.c_str());
    if (!handle_) throw Error(label + ": cannot create the file");
}

RecordWriter::~RecordWriter() {
    if (handle_) GMD_CloseFile(handle_);
}

bool RecordWriter::write(const Record& record) {
    if (!record.hasFields) {
        writeBytes(record.frame.bytes());
        return true;
    }
    bool accepted = false;
    try {
        accepted = setRecord(handle_, record);
    } catch (...) {
        GMD_ResetRecord(handle_);
        throw;
    }
    if (!accepted) GMD_ResetRecord(handle_);
    if (!GMD_WriteRecord(handle_)) throw Error(label_ + ": write failed");
    return accepted;
}

void RecordWriter::writeBytes(const std::vector<std::uint8_t>& bytes) {
    // The library holds the file open for writing; the bytes are appended
    // between two of its handles so that the stream positions never race.
    GMD_CloseFile(handle_);
    handle_ = nullptr;
    {
        std::ofstream out(path_, std::ios::binary | std::ios::app);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw Error(label_ + ": write failed");
    }
    handle_ = GMD_OpenAppendFile(path_.c_str());
    if (!handle_) throw Error(label_ + ": cannot reopen the file for appending");
}

void RecordWriter::close() {
    if (handle_ && !GMD_CloseFile(handle_)) throw Error(label_ + ": close failed");
    handle_ = nullptr;
}

}  // namespace tool
