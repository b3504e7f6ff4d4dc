// Record letters and type codes by name, and how they read in text.
//
// libgmd names the six polygon forms (GMD_RECORD_*); every other record type
// code is its letter byte. The letters get names here so that no code has to
// spell 'S' or 83 to mean a sphere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gmd.h"

namespace gmdk {

namespace letter {
constexpr std::uint8_t kTolerance = 'G';
constexpr std::uint8_t kSegment = 'L';
constexpr std::uint8_t kVolumeSegment = 'l';
constexpr std::uint8_t kPolygon = 'P';
constexpr std::uint8_t kVolumePolygon = 'p';
constexpr std::uint8_t kAttributedPolygon = 'A';
constexpr std::uint8_t kWedge = 'W';
constexpr std::uint8_t kWedgeWithPolygons = 'w';
constexpr std::uint8_t kEdge = 'e';
constexpr std::uint8_t kMacroGroup = 'U';
constexpr std::uint8_t kScatteredVertex = 'v';
constexpr std::uint8_t kSphere = 'S';
constexpr std::uint8_t kScatterer = 'R';
constexpr std::uint8_t kDisk = 'D';
constexpr std::uint8_t kCircularCylinder = 'C';
constexpr std::uint8_t kEllipticalCylinder = 'E';
constexpr std::uint8_t kCone = 'F';
constexpr std::uint8_t kNurbsSurface = 'N';
constexpr std::uint8_t kJunction = 'O';
constexpr std::uint8_t kHinge = 'H';
constexpr std::uint8_t kGroupMaterialName = 'M';
constexpr std::uint8_t kVolumeMaterialName = 'm';
constexpr std::uint8_t kJunctionGroupName = 'Z';
}  // namespace letter

inline bool isPolygonCode(std::int32_t code) {
    return code >= GMD_RECORD_VOLUME_TRIANGLE && code <= GMD_RECORD_ATTRIBUTED_QUAD;
}
inline bool isTriangleCode(std::int32_t code) {
    return code == GMD_RECORD_VOLUME_TRIANGLE || code == GMD_RECORD_TRIANGLE || code == GMD_RECORD_ATTRIBUTED_TRIANGLE;
}
// The letter a record of this type code carries in its frame.
std::uint8_t letterForCode(std::int32_t code);

// Name of a record type code ("triangle", "NURBS surface", "unknown 'Q'").
std::string typeName(std::int32_t code, std::uint8_t letter);
// The letter as text: the character when printable, else 0xNN.
std::string letterText(std::uint8_t letter);
// Shortest decimal text that reads back to the same float32 bits, both as a
// float and through a double (as JSON readers take it): std::to_chars's
// shortest form ("0.25", "1e+06", "-0"), or "nan", "inf", "-inf".
std::string formatFloat(float value);
// The same text written to `out`, which has room for kFloatTextSize
// characters; returns the end of the text.
constexpr std::size_t kFloatTextSize = 32;
char* formatFloat(float value, char* out);
// A count or offset in decimal, written to `out`, which has room for
// kFloatTextSize characters; returns the end of the text.
char* formatCount(std::uint64_t value, char* out);

}  // namespace gmdk
