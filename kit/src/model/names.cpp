#include "model/names.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

// Writes n characters of text: the digits of `digits` (n of them) laid out
// in the shorter of printf's %f and %e styles, %f on a tie, as
// std::to_chars writes a shortest float. `last` is the decimal exponent of
// the last digit.
char* layOutDigits(const char* digits, int n, int last, char* out) {
    const int exponent = n - 1 + last;   // of the first digit
    const int scientificSize = n + (n > 1 ? 1 : 0) + 2 + (exponent <= -100 || exponent >= 100 ? 3 : 2);
    const int fixedSize = last >= 0 ? n + last : exponent >= 0 ? n + 1 : n + 1 - exponent;
    if (fixedSize <= scientificSize) {
        if (last >= 0) {
            std::memcpy(out, digits, static_cast<std::size_t>(n));
            std::memset(out + n, '0', static_cast<std::size_t>(last));
            return out + n + last;
        }
        if (exponent >= 0) {
            std::memcpy(out, digits, static_cast<std::size_t>(exponent + 1));
            out[exponent + 1] = '.';
            std::memcpy(out + exponent + 2, digits + exponent + 1, static_cast<std::size_t>(n - exponent - 1));
            return out + n + 1;
        }
        out[0] = '0';
        out[1] = '.';
        std::memset(out + 2, '0', static_cast<std::size_t>(-exponent - 1));
        std::memcpy(out + 1 - exponent, digits, static_cast<std::size_t>(n));
        return out + n + 1 - exponent;
    }
    *out++ = digits[0];
    if (n > 1) {
        *out++ = '.';
        std::memcpy(out, digits + 1, static_cast<std::size_t>(n - 1));
        out += n - 1;
    }
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int e = exponent < 0 ? -exponent : exponent;
    if (e >= 100) *out++ = static_cast<char>('0' + e / 100);
    *out++ = static_cast<char>('0' + e / 10 % 10);
    *out++ = static_cast<char>('0' + e % 10);
    return out;
}

// The text of a float whose exact decimal value is itself the shortest text
// that reads back: integers below 2^24, and binary fractions m / 2^j whose
// last decimal place, 10^-j, is wider than half the spacing of floats there,
// so that no decimal with fewer digits lies within the value's rounding
// interval. The text is the exact value, so it reads back through a double
// too. Zeros are written here as well; null for every other value.
char* writeExactDecimal(float value, char* out) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>(bits >> 23 & 0xff);
    std::uint32_t fraction = bits & 0x7fffff;
    if (bits >> 31) *out++ = '-';
    if (biased == 0) {
        if (fraction != 0) return nullptr;   // subnormal
        *out++ = '0';
        return out;
    }
    const int binaryExponent = biased - 127;   // 2^e <= |value| < 2^(e+1)
    if (binaryExponent >= 24) return nullptr;
    std::uint64_t mantissa = fraction | 0x800000u;
    int shift = biased - 150;                  // value = mantissa * 2^shift
    while (!(mantissa & 1)) {
        mantissa >>= 1;
        ++shift;
    }
    static constexpr std::uint64_t kPowersOf10[14] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                                      100000000, 1000000000, 10000000000, 100000000000,
                                                      1000000000000, 10000000000000};
    int last = 0;
    std::uint64_t digitsValue = mantissa << (shift > 0 ? shift : 0);
    if (shift < 0) {
        const int places = -shift;
        // Half the float spacing is 2^(e - 24); the last place must exceed it.
        const int spacingBits = 24 - binaryExponent;
        if (places > 13 || (spacingBits < 64 && (std::uint64_t(1) << spacingBits) <= kPowersOf10[places]))
            return nullptr;
        for (int i = 0; i < places; ++i) digitsValue *= 5;   // m / 2^j = m 5^j / 10^j
        last = -places;
    } else {
        while (digitsValue % 10 == 0) {
            digitsValue /= 10;
            ++last;
        }
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, digitsValue).ptr;
    return layOutDigits(digits, static_cast<int>(end - digits), last, out);
}

}  // namespace

char* formatFloat(float value, char* out) {
    if (std::isnan(value)) return std::copy_n("nan", 3, out);
    if (std::isinf(value)) return value < 0 ? std::copy_n("-inf", 4, out) : std::copy_n("inf", 3, out);
    if (char* end = writeExactDecimal(value, out)) return end;
    // The shortest text that reads back as the float is almost always also
    // right through a double; the slow search covers the rare other case.
    const auto shortest = std::to_chars(out, out + kFloatTextSize - 1, value);
    double back = 0;
    std::from_chars(out, shortest.ptr, back);
    if (static_cast<float>(back) == value) return shortest.ptr;
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(out, kFloatTextSize, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(out, nullptr) == value && static_cast<float>(std::strtod(out, nullptr)) == value) break;
    }
    return out + std::strlen(out);
}

std::string formatFloat(float value) {
    char text[kFloatTextSize];
    return std::string(text, formatFloat(value, text));
}

}  // namespace gmdk
