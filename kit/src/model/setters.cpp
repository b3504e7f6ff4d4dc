#include "model/setters.h"

#include "gmd.h"
#include "model/names.h"

namespace gmdk {

namespace {

bool ok(int32_t result) { return result != 0; }

bool setPolygon(GMD_File* h, const Record& r, std::uint8_t form) {
    const Field* vertices = r.find("vertices");
    if (!vertices || (vertices->floats.size() != 9 && vertices->floats.size() != 12))
        throw Error("field 'vertices' needs 9 or 12 numbers");
    const bool triangle = vertices->floats.size() == 9;
    if (!ok(triangle ? GMD_SetTriangle(h, vertices->floats.data()) : GMD_SetQuad(h, vertices->floats.data())))
        return false;
    if (form == letter::kVolumePolygon) {
        const Field& v = r.ints("volumes", 2);
        return ok(GMD_SetPolygonVolumes(h, v.ints[0], v.ints[1]));
    }
    if (form != letter::kAttributedPolygon) return true;
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

bool setFields(GMD_File* h, const Record& r, std::uint8_t form) {
    switch (form) {
    case letter::kTolerance:
        return ok(GMD_SetTolerance(h, r.scalarFloat("tolerance")));
    case letter::kSegment:
    case letter::kVolumeSegment: {
        if (!ok(GMD_SetSegment(h, r.floats("vertices", 6).floats.data()))) return false;
        // The volume setter clears the radius, so it goes first.
        if (form == letter::kVolumeSegment && !ok(GMD_SetSegmentVolume(h, r.scalarInt("volume")))) return false;
        const Field* radius = r.find("radius");
        if (form == letter::kVolumeSegment && !radius) throw Error("a volume segment needs 'radius'");
        return !radius || ok(GMD_SetSegmentRadius(h, r.scalarFloat("radius")));
    }
    case letter::kPolygon:
    case letter::kVolumePolygon:
    case letter::kAttributedPolygon:
        return setPolygon(h, r, form);
    case letter::kWedge:
    case letter::kWedgeWithPolygons:
    case letter::kEdge: {
        std::vector<float> w = joined(r, {{"firstVertex", 3}, {"secondVertex", 3}, {"leftNormal", 3}, {"rightNormal", 3}});
        if (!ok(GMD_SetWedge(h, w.data()))) return false;
        if (form == letter::kEdge) return ok(GMD_SetEdgeAdjacentPolygon(h, r.scalarInt("polygon")));
        if (form == letter::kWedgeWithPolygons)
            return ok(GMD_SetWedgeLeftAdjacentPolygon(h, r.scalarInt("leftPolygon"))) &&
                   ok(GMD_SetWedgeRightAdjacentPolygon(h, r.scalarInt("rightPolygon")));
        return true;
    }
    case letter::kMacroGroup: {
        const Field& groups = r.ints("groups");
        if (!ok(GMD_SetMacroGroupGroups(h, static_cast<std::int32_t>(groups.ints.size()), groups.ints.data())))
            return false;
        return !r.find("name") || ok(GMD_SetMacroGroupName(h, r.text("name").c_str()));
    }
    case letter::kScatteredVertex: {
        const Field& adjacent = r.ints("adjacent");
        return ok(GMD_SetScattVertexPosition(h, r.floats("position", 3).floats.data())) &&
               ok(GMD_SetScattVertexAdjacent(h, static_cast<std::int32_t>(adjacent.ints.size()), adjacent.ints.data()));
    }
    case letter::kSphere:
        return ok(GMD_SetSphere(h, joined(r, {{"center", 3}, {"radius", 1}}).data()));
    case letter::kScatterer:
        return ok(GMD_SetScatter(h, joined(r, {{"center", 3}, {"radius", 1}, {"emRadius", 1}}).data()));
    case letter::kDisk:
        return ok(GMD_SetDisk(h, joined(r, {{"center", 3}, {"normal", 3}, {"radius", 1}}).data()));
    case letter::kCircularCylinder:
        return ok(GMD_SetCircularCylinder(h, joined(r, {{"lowerCenter", 3}, {"upperCenter", 3}, {"radius", 1}}).data()));
    case letter::kEllipticalCylinder:
        // The patching setters store centre, axis and upper extent as given,
        // where the full setter would recompute them from two end centres.
        return patch(h, r,
                     {{GMD_SetEllipticalCylinderLowerCenter, "center"}, {GMD_SetEllipticalCylinderZdirection, "zDirection"},
                      {GMD_SetEllipticalCylinderXdirection, "xDirection"}},
                     {{GMD_SetEllipticalCylinderXsemiAxis, "xSemiAxis"}, {GMD_SetEllipticalCylinderYsemiAxis, "ySemiAxis"},
                      {GMD_SetEllipticalCylinderHeight, "height"}, {GMD_SetEllipticalCylinderLowerTiltAngle, "lowerTiltAngle"},
                      {GMD_SetEllipticalCylinderUpperTiltAngle, "upperTiltAngle"}});
    case letter::kCone:
        return patch(h, r,
                     {{GMD_SetConeLowerCenter, "lowerCenter"}, {GMD_SetConeZdirection, "zDirection"},
                      {GMD_SetConeXdirection, "xDirection"}},
                     {{GMD_SetConeLowerXsemiAxis, "lowerXsemiAxis"}, {GMD_SetConeLowerYsemiAxis, "lowerYsemiAxis"},
                      {GMD_SetConeHeight, "height"}, {GMD_SetConeUpperXsemiAxis, "upperXsemiAxis"},
                      {GMD_SetConeUpperYsemiAxis, "upperYsemiAxis"}, {GMD_SetConeLowerTiltAngle, "lowerTiltAngle"},
                      {GMD_SetConeUpperTiltAngle, "upperTiltAngle"}});
    case letter::kNurbsSurface:
        return setNurbs(h, r);
    case letter::kJunction:
        return ok(GMD_SetJunction(h, joined(r, {{"firstVertex", 3}, {"secondVertex", 3}, {"normal", 3}}).data()));
    case letter::kHinge: {
        const Field& points = r.floats("points");
        const Field& groups = r.ints("groups");
        if (points.floats.size() % 10) throw Error("hinge 'points' needs ten numbers per point");
        return ok(GMD_SetHingeName(h, r.text("name").c_str())) && ok(GMD_SetHingeType(h, r.text("type").c_str())) &&
               ok(GMD_SetHingePointsData(h, static_cast<std::int32_t>(points.floats.size() / 10), points.floats.data())) &&
               ok(GMD_SetHingeGroups(h, static_cast<std::int32_t>(groups.ints.size()), groups.ints.data()));
    }
    case letter::kGroupMaterialName:
        return ok(GMD_SetGroupMaterialName(h, r.text("name").c_str()));
    case letter::kVolumeMaterialName:
        return ok(GMD_SetVolumeMaterialName(h, r.text("name").c_str()));
    case letter::kJunctionGroupName:
        return ok(GMD_SetJunctionGroupName(h, r.text("name").c_str()));
    default:
        throw Error("letter " + letterText(form) + " has no fields; give its bytes as 'raw'");
    }
}

}  // namespace

bool setRecord(GMD_File* handle, const Record& record) {
    if (!setFields(handle, record, record.frame.letter)) return false;
    return ok(GMD_SetGroup(handle, record.frame.group)) && ok(GMD_SetGroup2(handle, record.frame.group2));
}

}  // namespace gmdk
