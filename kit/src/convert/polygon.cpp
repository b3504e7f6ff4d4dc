#include "convert/polygon.h"

#include <cmath>

#include "model/error.h"

namespace gmdk {

namespace {

struct P2 {
    double x, y;
};

double cross2(P2 o, P2 a, P2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Proper or touching intersection of segments ab and cd.
bool segmentsMeet(P2 a, P2 b, P2 c, P2 d) {
    const double d1 = cross2(c, d, a), d2 = cross2(c, d, b), d3 = cross2(a, b, c), d4 = cross2(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    auto on = [](P2 p, P2 q, P2 r, double c) {
        return c == 0 && std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return on(c, d, a, d1) || on(c, d, b, d2) || on(a, b, c, d3) || on(a, b, d, d4);
}

bool inside(P2 p, P2 a, P2 b, P2 c) {
    return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
}

}  // namespace

std::vector<std::array<std::size_t, 3>> triangulate(const std::vector<Vec3>& corners) {
    const std::size_t n = corners.size();
    if (n < 3) throw Error("a face needs three corners");
    // Newell's normal is the best-fit plane's normal, also for concave and
    // slightly warped polygons.
    Vec3 normal;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3 a = corners[i], b = corners[(i + 1) % n];
        normal = normal + Vec3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
    if (!(length(normal) > 0) || !std::isfinite(length(normal)))
        throw Error("a face of " + std::to_string(n) + " corners encloses no area");
    // Drop the normal's largest axis; the projection then keeps the winding
    // when that component is positive.
    const double ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
    const int drop = ax >= ay && ax >= az ? 0 : ay >= az ? 1 : 2;
    const double sign = (drop == 0 ? normal.x : drop == 1 ? normal.y : normal.z) > 0 ? 1 : -1;
    std::vector<P2> p(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3& c = corners[i];
        p[i] = drop == 0 ? P2{c.y, c.z} : drop == 1 ? P2{c.z, c.x} : P2{c.x, c.y};
        p[i].y *= sign;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (p[i].x == p[(i + 1) % n].x && p[i].y == p[(i + 1) % n].y)
            throw Error("a face of " + std::to_string(n) + " corners repeats corner " + std::to_string(i + 1));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;
            if (segmentsMeet(p[i], p[i + 1], p[j], p[(j + 1) % n]))
                throw Error("a face of " + std::to_string(n) + " corners crosses itself (edges " + std::to_string(i + 1) +
                            " and " + std::to_string(j + 1) + ")");
        }
    std::vector<std::size_t> left(n);
    for (std::size_t i = 0; i < n; ++i) left[i] = i;
    std::vector<std::array<std::size_t, 3>> out;
    while (left.size() > 3) {
        const std::size_t m = left.size();
        bool clipped = false;
        for (std::size_t k = 0; k < m && !clipped; ++k) {
            const std::size_t a = left[(k + m - 1) % m], b = left[k], c = left[(k + 1) % m];
            if (cross2(p[a], p[b], p[c]) <= 0) continue;  // reflex or straight
            bool empty = true;
            for (std::size_t q : left)
                if (q != a && q != b && q != c && inside(p[q], p[a], p[b], p[c])) {
                    empty = false;
                    break;
                }
            if (!empty) continue;
            out.push_back({a, b, c});
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
            clipped = true;
        }
        if (!clipped) throw Error("a face of " + std::to_string(n) + " corners has no ear to cut (degenerate)");
    }
    out.push_back({left[0], left[1], left[2]});
    return out;
}

}  // namespace gmdk
