#include "convert/tessellate.h"

#include "gmd.h"
#include "mesh_cells.h"
#include "model/names.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gmdk {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Adds points and cells for one record, with that record's tags.
class Builder {
public:
    Builder(Mesh& mesh, const Record& r) : mesh_(mesh), tag_() {
        tag_.record = r.index;
        tag_.code = r.code;
        tag_.group = r.frame.group;
        if (const Field* v = r.find("volume")) tag_.volume1 = v->ints[0];
        if (const Field* v = r.find("volumes")) {
            tag_.volume1 = v->ints[0];
            tag_.volume2 = v->ints[1];
        }
        if (const Field* t = r.find("thickness"))
            for (float layer : t->floats) tag_.thickness += layer;
    }

    std::uint32_t add(Vec3 p) {
        mesh_.points.push_back(p);
        return static_cast<std::uint32_t>(mesh_.points.size() - 1);
    }

    void cell(CellType type, std::vector<std::uint32_t> ids) {
        Cell c = tag_;
        c.type = type;
        c.ids = std::move(ids);
        mesh_.cells.push_back(std::move(c));
    }

    // A polyline through the given points, one line cell per step.
    void polyline(const std::vector<Vec3>& points) {
        if (points.size() == 1) return cell(CellVertex, {add(points[0])});
        std::uint32_t previous = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            std::uint32_t id = add(points[i]);
            if (i) cell(CellLine, {previous, id});
            previous = id;
        }
    }

private:
    Mesh& mesh_;
    Cell tag_;
};

// A right-handed frame around an axis; x follows the hint where it can.
void frameAround(Vec3 axis, Vec3 hint, Vec3& x, Vec3& y) {
    Vec3 z = normalized(axis);
    x = normalized(hint - dot(hint, z) * z);
    if (length(x) == 0) {
        Vec3 other = std::fabs(z.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        x = normalized(other - dot(other, z) * z);
    }
    y = cross(z, x);
}

// n points of the ellipse centre + a cos t x + b sin t y.
std::vector<std::uint32_t> ring(Builder& b, Vec3 centre, Vec3 x, Vec3 y, double ra, double rb, int n) {
    std::vector<std::uint32_t> ids;
    for (int k = 0; k < n; ++k) {
        const double t = 2 * kPi * k / n;
        ids.push_back(b.add(centre + (ra * std::cos(t)) * x + (rb * std::sin(t)) * y));
    }
    return ids;
}

void fan(Builder& b, Vec3 centre, const std::vector<std::uint32_t>& rim, bool reverse) {
    const std::uint32_t c = b.add(centre);
    const std::size_t n = rim.size();
    for (std::size_t k = 0; k < n; ++k) {
        std::uint32_t p = rim[k], q = rim[(k + 1) % n];
        b.cell(CellTriangle, reverse ? std::vector<std::uint32_t>{c, q, p} : std::vector<std::uint32_t>{c, p, q});
    }
}

// A closed tube of elliptic cross-section from lower to upper, capped at both
// ends: cylinders and cones alike.
void frustum(Builder& b, Vec3 lower, Vec3 upper, Vec3 xHint, double la, double lb, double ua, double ub, int n) {
    Vec3 x, y;
    frameAround(upper - lower, xHint, x, y);
    std::vector<std::uint32_t> bottom = ring(b, lower, x, y, la, lb, n);
    std::vector<std::uint32_t> top = ring(b, upper, x, y, ua, ub, n);
    for (int k = 0; k < n; ++k) {
        const std::size_t i = static_cast<std::size_t>(k), j = static_cast<std::size_t>((k + 1) % n);
        b.cell(CellQuad, {bottom[i], bottom[j], top[j], top[i]});
    }
    fan(b, lower, bottom, true);
    fan(b, upper, top, false);
}

void sphere(Builder& b, Vec3 centre, double radius, int n) {
    const int rings = std::max(2, n / 2);
    const std::uint32_t south = b.add(centre + Vec3{0, 0, -radius});
    const std::uint32_t north = b.add(centre + Vec3{0, 0, radius});
    std::vector<std::vector<std::uint32_t>> latitude;
    for (int i = 1; i < rings; ++i) {
        const double phi = -kPi / 2 + kPi * i / rings;
        latitude.push_back(ring(b, centre + Vec3{0, 0, radius * std::sin(phi)}, {1, 0, 0}, {0, 1, 0},
                                radius * std::cos(phi), radius * std::cos(phi), n));
    }
    for (int k = 0; k < n; ++k) {
        const std::size_t i = static_cast<std::size_t>(k), j = static_cast<std::size_t>((k + 1) % n);
        b.cell(CellTriangle, {south, latitude.front()[j], latitude.front()[i]});
        for (std::size_t r = 0; r + 1 < latitude.size(); ++r)
            b.cell(CellQuad, {latitude[r][i], latitude[r][j], latitude[r + 1][j], latitude[r + 1][i]});
        b.cell(CellTriangle, {north, latitude.back()[i], latitude.back()[j]});
    }
}

Vec3 vec(const Record& r, const char* name) { return point(r.floats(name, 3).floats, 0); }

void surface(Builder& b, Mesh& mesh, const Record& r, int n) {
    NurbsSurface s;
    std::string reason;
    if (!nurbsFromRecord(r, s, reason)) {
        mesh.warnings.push_back("record " + std::to_string(r.index) + ": NURBS surface not drawn: " + reason);
        return;
    }
    std::vector<std::uint32_t> grid;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            grid.push_back(b.add(evaluate(s, s.uMin() + (s.uMax() - s.uMin()) * i / n,
                                          s.vMin() + (s.vMax() - s.vMin()) * j / n)));
    const auto at = [&](int i, int j) { return grid[static_cast<std::size_t>(i * (n + 1) + j)]; };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) b.cell(CellQuad, {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    // Boundary curves are lists of (u, v) parameter points, curve after curve.
    const std::vector<std::int32_t>& dims = r.ints("boundaryDimensions").ints;
    const std::vector<float>& uv = r.floats("boundaryPoints").floats;
    std::size_t at2 = 0;
    for (std::int32_t d : dims) {
        std::vector<Vec3> curve;
        for (std::int32_t k = 0; k < d && at2 + 1 < uv.size(); ++k, at2 += 2) curve.push_back(evaluate(s, uv[at2], uv[at2 + 1]));
        if (!curve.empty()) b.polyline(curve);
    }
}

void addRecord(Mesh& mesh, const Record& r, int n) {
    Builder b(mesh, r);
    if (isPolygonCode(r.code)) {
        const std::vector<float>& v = r.floats("vertices").floats;
        std::vector<std::uint32_t> ids;
        for (std::size_t k = 0; k < v.size() / 3; ++k) ids.push_back(b.add(point(v, k)));
        return b.cell(ids.size() == 3 ? CellTriangle : CellQuad, ids);
    }
    switch (r.frame.letter) {
    case letter::kSegment: case letter::kVolumeSegment: {
        const std::vector<float>& v = r.floats("vertices").floats;
        return b.polyline({point(v, 0), point(v, 1)});
    }
    case letter::kWedge: case letter::kWedgeWithPolygons: case letter::kEdge: case letter::kJunction:
        return b.polyline({vec(r, "firstVertex"), vec(r, "secondVertex")});
    case letter::kScatteredVertex:
        return b.polyline({vec(r, "position")});
    case letter::kSphere: case letter::kScatterer:
        return sphere(b, vec(r, "center"), r.scalarFloat("radius"), n);
    case letter::kDisk: {
        Vec3 x, y;
        const Vec3 normal = vec(r, "normal");
        if (length(normal) == 0) break;
        frameAround(normal, {1, 0, 0}, x, y);
        const double radius = r.scalarFloat("radius");
        return fan(b, vec(r, "center"), ring(b, vec(r, "center"), x, y, radius, radius, n), false);
    }
    case letter::kCircularCylinder: {
        const double radius = r.scalarFloat("radius");
        return frustum(b, vec(r, "lowerCenter"), vec(r, "upperCenter"), {1, 0, 0}, radius, radius, radius, radius, n);
    }
    case letter::kEllipticalCylinder: {
        const double a = r.scalarFloat("xSemiAxis"), c = r.scalarFloat("ySemiAxis");
        return frustum(b, vec(r, "lowerCenter"), vec(r, "upperCenter"), vec(r, "xDirection"), a, c, a, c, n);
    }
    case letter::kCone:
        return frustum(b, vec(r, "lowerCenter"), vec(r, "upperCenter"), vec(r, "xDirection"),
                       r.scalarFloat("lowerXsemiAxis"), r.scalarFloat("lowerYsemiAxis"), r.scalarFloat("upperXsemiAxis"),
                       r.scalarFloat("upperYsemiAxis"), n);
    case letter::kNurbsSurface:
        return surface(b, mesh, r, n);
    default:
        return;
    }
    mesh.warnings.push_back("record " + std::to_string(r.index) + ": " + typeName(r.code, r.frame.letter) +
                            " without a direction, not drawn");
}

// Index of the knot span holding u, for degree p and n + 1 control points.
std::size_t findSpan(int n, int p, double u, const std::vector<double>& knots) {
    if (u >= knots[static_cast<std::size_t>(n + 1)]) {
        // The domain's upper end belongs to the last span with nonzero length.
        std::size_t span = static_cast<std::size_t>(n);
        while (span > static_cast<std::size_t>(p) && knots[span] == knots[span + 1]) --span;
        return span;
    }
    std::size_t low = static_cast<std::size_t>(p), high = static_cast<std::size_t>(n + 1);
    while (high - low > 1) {
        const std::size_t mid = (low + high) / 2;
        if (u < knots[mid])
            high = mid;
        else
            low = mid;
    }
    return low;
}

// The p + 1 nonzero B-spline basis values at u in the given span.
std::vector<double> basis(std::size_t span, double u, int p, const std::vector<double>& knots) {
    std::vector<double> values(static_cast<std::size_t>(p) + 1, 0.0), left(values.size()), right(values.size());
    values[0] = 1.0;
    for (std::size_t j = 1; j <= static_cast<std::size_t>(p); ++j) {
        left[j] = u - knots[span + 1 - j];
        right[j] = knots[span + j] - u;
        double saved = 0.0;
        for (std::size_t r = 0; r < j; ++r) {
            const double denominator = right[r + 1] + left[j - r];
            const double temp = denominator != 0 ? values[r] / denominator : 0.0;
            values[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        values[j] = saved;
    }
    return values;
}

}  // namespace

bool nurbsFromRecord(const Record& r, NurbsSurface& s, std::string& reason) {
    s.rows = r.scalarInt("numUcontrolPoints");
    s.columns = r.scalarInt("numVcontrolPoints");
    const std::vector<float>& u = r.floats("uKnots").floats;
    const std::vector<float>& v = r.floats("vKnots").floats;
    s.degreeU = static_cast<int>(u.size()) - s.rows - 1;
    s.degreeV = static_cast<int>(v.size()) - s.columns - 1;
    if (s.rows < 1 || s.columns < 1 || s.degreeU < 0 || s.degreeV < 0) {
        reason = "knot and control point counts give no surface";
        return false;
    }
    s.uKnots.assign(u.begin(), u.end());
    s.vKnots.assign(v.begin(), v.end());
    for (const std::vector<double>* k : {&s.uKnots, &s.vKnots})
        for (std::size_t i = 0; i < k->size(); ++i)
            if (!std::isfinite((*k)[i]) || (i && (*k)[i] < (*k)[i - 1])) {
                reason = "knots are not a non-decreasing list of numbers";
                return false;
            }
    if (!(s.uMax() > s.uMin()) || !(s.vMax() > s.vMin())) {
        reason = "empty knot domain";
        return false;
    }
    const std::vector<float>& cp = r.floats("controlPoints").floats;
    const std::vector<float>& w = r.floats("weights").floats;
    for (std::size_t k = 0; k < w.size(); ++k) {
        s.points.push_back(point(cp, k));
        s.weights.push_back(w[k]);
    }
    return true;
}

Vec3 evaluate(const NurbsSurface& s, double u, double v) {
    u = std::min(std::max(u, s.uMin()), s.uMax());
    v = std::min(std::max(v, s.vMin()), s.vMax());
    const std::size_t su = findSpan(s.rows - 1, s.degreeU, u, s.uKnots);
    const std::size_t sv = findSpan(s.columns - 1, s.degreeV, v, s.vKnots);
    const std::vector<double> nu = basis(su, u, s.degreeU, s.uKnots);
    const std::vector<double> nv = basis(sv, v, s.degreeV, s.vKnots);
    Vec3 sum;
    double weight = 0;
    for (std::size_t a = 0; a < nu.size(); ++a)
        for (std::size_t c = 0; c < nv.size(); ++c) {
            const std::size_t i = su - static_cast<std::size_t>(s.degreeU) + a;
            const std::size_t j = sv - static_cast<std::size_t>(s.degreeV) + c;
            const std::size_t k = i * static_cast<std::size_t>(s.columns) + j;
            const double f = nu[a] * nv[c] * s.weights[k];
            sum = sum + f * s.points[k];
            weight += f;
        }
    return weight != 0 ? (1.0 / weight) * sum : sum;
}

bool readPlainPolygon(GMD_File* h, const Record& r, PolygonCell& cell) {
    if (r.code != GMD_RECORD_TRIANGLE && r.code != GMD_RECORD_QUAD && r.code != GMD_RECORD_VOLUME_TRIANGLE &&
        r.code != GMD_RECORD_VOLUME_QUAD)
        return false;
    MeshCell read;
    if (!readCell(h, r.code, kCellVolume, read)) return false;
    cell.corners = cornersOf(read.shape);
    std::memcpy(cell.xyz, read.xyz, sizeof cell.xyz);
    cell.volume1 = read.volume[0];
    cell.volume2 = read.volume[1];
    cell.code = r.code;
    cell.group = r.frame.group;
    cell.record = r.index;
    return true;
}

void tessellate(const Record& r, int resolution, Mesh& mesh) {
    if (r.hasFields && r.code != GMD_RECORD_INVALID) addRecord(mesh, r, std::max(3, resolution));
}

}  // namespace gmdk
