// Three-component double vectors for geometry work.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace gmdk {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
// The unit vector along a, or zero when a has no usable length.
inline Vec3 normalized(Vec3 a) {
    const double l = length(a);
    return l > 1e-30 && std::isfinite(l) ? (1.0 / l) * a : Vec3{};
}
// Point i of a flat x, y, z list.
inline Vec3 point(const std::vector<float>& values, std::size_t i) {
    return {values[3 * i], values[3 * i + 1], values[3 * i + 2]};
}

}  // namespace gmdk
