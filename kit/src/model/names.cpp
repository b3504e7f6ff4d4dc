#include "model/names.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gmdk {

std::uint8_t letterForCode(std::int32_t code) {
    switch (code) {
    case GMD_RECORD_VOLUME_TRIANGLE: case GMD_RECORD_VOLUME_QUAD: return letter::kVolumePolygon;
    case GMD_RECORD_TRIANGLE: case GMD_RECORD_QUAD: return letter::kPolygon;
    case GMD_RECORD_ATTRIBUTED_TRIANGLE: case GMD_RECORD_ATTRIBUTED_QUAD: return letter::kAttributedPolygon;
    default: return static_cast<std::uint8_t>(code);
    }
}

std::string letterText(std::uint8_t letter) {
    if (letter >= 0x21 && letter < 0x7f) return std::string(1, static_cast<char>(letter));
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02x", letter);
    return buffer;
}

std::string typeName(std::int32_t code, std::uint8_t letter) {
    switch (code) {
    case GMD_RECORD_INVALID: return "invalid";
    case GMD_RECORD_VOLUME_TRIANGLE: return "volume triangle";
    case GMD_RECORD_VOLUME_QUAD: return "volume quad";
    case GMD_RECORD_TRIANGLE: return "triangle";
    case GMD_RECORD_QUAD: return "quad";
    case GMD_RECORD_ATTRIBUTED_TRIANGLE: return "attributed triangle";
    case GMD_RECORD_ATTRIBUTED_QUAD: return "attributed quad";
    default: break;
    }
    switch (static_cast<std::uint8_t>(code)) {
    case letter::kTolerance: return "tolerance";
    case letter::kSegment: return "segment";
    case letter::kVolumeSegment: return "volume segment";
    case letter::kWedge: return "wedge";
    case letter::kWedgeWithPolygons: return "wedge with polygons";
    case letter::kEdge: return "edge";
    case letter::kMacroGroup: return "macro group";
    case letter::kScatteredVertex: return "scattered vertex";
    case letter::kSphere: return "sphere";
    case letter::kScatterer: return "scatterer";
    case letter::kDisk: return "disk";
    case letter::kCircularCylinder: return "circular cylinder";
    case letter::kEllipticalCylinder: return "elliptical cylinder";
    case letter::kCone: return "cone";
    case letter::kNurbsSurface: return "NURBS surface";
    case letter::kJunction: return "junction";
    case letter::kHinge: return "hinge";
    case letter::kGroupMaterialName: return "group material name";
    case letter::kVolumeMaterialName: return "volume material name";
    case letter::kJunctionGroupName: return "junction group name";
    default: return "unknown '" + letterText(letter) + "'";
    }
}

std::string formatFloat(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // The shortest text that reads back as the float is almost always also
    // right through a double; the slow search covers the rare other case.
    char buffer[32];
    const auto shortest = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    double back = 0;
    std::from_chars(buffer, shortest.ptr, back);
    if (static_cast<float>(back) == value) return std::string(buffer, shortest.ptr);
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value && static_cast<float>(std::strtod(buffer, nullptr)) == value) break;
    }
    return buffer;
}

}  // namespace gmdk
