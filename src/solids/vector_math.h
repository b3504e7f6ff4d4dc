// Double-precision vector arithmetic for the solids that derive directions
// and lengths from their words. Inputs are float32 words widened exactly to
// double; a result is rounded to float32 only once, where it is stored.
#pragma once

#include <array>
#include <cmath>

namespace gmd {

using Vec3 = std::array<double, 3>;

inline Vec3 difference(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

inline double length(const Vec3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// v scaled to unit length, given its length. One reciprocal and three
// products, never three divisions: the two differ in the last bit often
// enough to change the float32 that is stored. A length of 1e-16 or less,
// or NaN (the comparison is false for it), gives the zero vector.
inline Vec3 unitVector(const Vec3& v, double len) {
    if (!(len > 1e-16)) return {0.0, 0.0, 0.0};
    double r = 1.0 / len;
    return {v[0] * r, v[1] * r, v[2] * r};
}

inline Vec3 unitVector(const Vec3& v) { return unitVector(v, length(v)); }

// The point at distance t along `direction` from `origin`, per component.
inline Vec3 along(const Vec3& origin, const Vec3& direction, double t) {
    return {origin[0] + t * direction[0], origin[1] + t * direction[1], origin[2] + t * direction[2]};
}

}  // namespace gmd
