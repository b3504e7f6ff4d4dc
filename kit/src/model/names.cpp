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

constexpr std::uint64_t kPowersOf10[14] = {1ull,          10ull,          100ull,          1000ull,
                                           10000ull,      100000ull,      1000000ull,      10000000ull,
                                           100000000ull,  1000000000ull,  10000000000ull,  100000000000ull,
                                           1000000000000ull, 10000000000000ull};

const char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The significant digits `digits` (at most 16 of them, no trailing zeros)
// times 10^last, laid out in the shorter of printf's %f and %e styles, %f on a
// tie, as std::to_chars writes a shortest float. The digits are made once,
// then moved into place in blocks of 16 bytes: `out` must have room for
// kFloatTextSize characters, whatever the length of the text.
char* layOutDigits(std::uint64_t digits, int last, char* out) {
    char text[40];
    char* const end = text + 24;
    std::memset(end, 0, 16);   // read, never shown, by the block moves
    char* first = end;
    while (digits >= 100) {
        const std::uint64_t rest = digits / 100;
        first -= 2;
        std::memcpy(first, kDigitPairs + 2 * (digits - 100 * rest), 2);
        digits = rest;
    }
    if (digits >= 10) {
        first -= 2;
        std::memcpy(first, kDigitPairs + 2 * digits, 2);
    } else {
        *--first = static_cast<char>('0' + digits);
    }
    const int n = static_cast<int>(end - first);
    const int exponent = n - 1 + last;   // of the first digit
    const int scientificSize = n + (n > 1 ? 1 : 0) + 2 + (exponent <= -100 || exponent >= 100 ? 3 : 2);
    const int fixedSize = last >= 0 ? n + last : exponent >= 0 ? n + 1 : n + 1 - exponent;
    if (fixedSize <= scientificSize) {
        if (last >= 0) {   // an integer: the digits, then up to 7 zeros
            std::memcpy(out, first, 16);
            std::memset(out + n, '0', 8);
        } else if (exponent >= 0) {   // up to 8 digits before the point
            std::memcpy(out, first, 16);
            out[exponent + 1] = '.';
            std::memcpy(out + exponent + 2, first + exponent + 1, 16);
        } else {   // 0. and up to 3 zeros
            std::memcpy(out, "0.000", 6);
            std::memcpy(out + 1 - exponent, first, 16);
        }
        return out + fixedSize;
    }
    out[0] = first[0];
    char* p = out + 1;
    if (n > 1) {
        out[1] = '.';
        std::memcpy(out + 2, first + 1, 16);
        p = out + n + 1;
    }
    *p++ = 'e';
    *p++ = exponent < 0 ? '-' : '+';
    const int e = exponent < 0 ? -exponent : exponent;
    if (e >= 100) *p++ = static_cast<char>('0' + e / 100);
    std::memcpy(p, kDigitPairs + 2 * (e % 100), 2);
    return p + 2;
}

// The n digits of value < 10^n, zeros in front included, ending before `end`.
template <typename Unsigned>
void writeDigits(char* end, Unsigned value, int n) {
    for (; n >= 2; n -= 2) {
        const Unsigned rest = value / 100;
        end -= 2;
        std::memcpy(end, kDigitPairs + 2 * (value - 100 * rest), 2);
        value = rest;
    }
    if (n) end[-1] = static_cast<char>('0' + value);
}

// Writes the last n (1 to 8) of the eight digits of value < 10^8, zeros in
// front included, at `out`, which has room for eight characters; returns the
// end of the n digits.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#  define GMDK_DIGITS_IN_A_WORD 1
// The eight digits of value < 10^8 as the characters of one word, byte 0 (in
// memory) the first digit. They are made side by side, two 4-digit halves
// split into 2-digit and then 1-digit lanes, without a loop or a table.
std::uint64_t eightDigits(std::uint32_t value) {
    const std::uint64_t merged = (value / 10000) | (std::uint64_t(value % 10000) << 32);
    const std::uint64_t hundreds = ((merged * 10486) >> 20) & 0x0000007f0000007full;   // each half / 100
    const std::uint64_t pairs = ((merged - 100 * hundreds) << 16) + hundreds;
    std::uint64_t digits = ((pairs * 103) >> 10) & 0x000f000f000f000full;                // each pair / 10
    digits += (pairs - 10 * digits) << 8;
    return digits | 0x3030303030303030ull;
}

char* writeLastDigits(char* out, std::uint32_t value, int n) {
    const std::uint64_t digits = eightDigits(value) >> (8 * (8 - n));
    std::memcpy(out, &digits, 8);
    return out + n;
}
#else
char* writeLastDigits(char* out, std::uint32_t value, int n) {
    writeDigits(out + n, value, n);
    return out + n;
}
#endif

// Decimal digits of 0 < value < 10^9.
int digitCount(std::uint32_t value) {
#if defined(__GNUC__) || defined(__clang__)
    const int guess = (32 - __builtin_clz(value)) * 1233 >> 12;   // bits * log10(2): the count or one less
    return guess + (value >= kPowersOf10[guess] ? 1 : 0);
#else
    int n = 1;
    while (n < 9 && value >= kPowersOf10[n]) ++n;
    return n;
#endif
}

int trailingZeroBits(std::uint32_t value) {   // value != 0
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_ctz(value);
#else
    int n = 0;
    while (!(value & 1)) {
        value >>= 1;
        ++n;
    }
    return n;
#endif
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
    const std::uint32_t fraction = bits & 0x7fffff;
    if (bits >> 31) *out++ = '-';
    if (biased == 0) {
        if (fraction != 0) return nullptr;   // subnormal
        *out++ = '0';
        return out;
    }
    const int binaryExponent = biased - 127;   // 2^e <= |value| < 2^(e+1)
    if (binaryExponent >= 24) return nullptr;
    std::uint32_t mantissa = fraction | 0x800000u;
    const int zeros = trailingZeroBits(mantissa);
    mantissa >>= zeros;
    const int shift = biased - 150 + zeros;    // value = mantissa * 2^shift
    if (shift >= 0) {
        std::uint32_t integer = mantissa << shift;   // below 2^24
        // With at most four zeros at its end an integer is shortest written
        // out in full.
        if (integer % 100000 != 0) return writeLastDigits(out, integer, digitCount(integer));
        int last = 0;
        while (integer % 10 == 0) {
            integer /= 10;
            ++last;
        }
        return layOutDigits(integer, last, out);
    }
    const int places = -shift;
    // Half the float spacing is 2^(e - 24); the last place must exceed it:
    // 2^(24 - e) > 10^j, which takes at least this many bits for each j.
    static constexpr int kBitsAbove[13] = {1, 4, 7, 10, 14, 17, 20, 24, 27, 30, 34, 37, 40};
    if (places > 12 || 24 - binaryExponent < kBitsAbove[places]) return nullptr;
    // With m < 2^24 and j <= 12 the digits number at most 16.
    static constexpr std::uint32_t kPowersOf5[13] = {1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125,
                                                     9765625, 48828125, 244140625};
    // m / 2^j = m 5^j / 10^j; with m odd the last digit is a 5, never a zero.
    const std::uint32_t whole = mantissa >> places;
    if (whole == 0) return layOutDigits(std::uint64_t(mantissa) * kPowersOf5[places], -places, out);
    // At 1 and above, "whole.fraction" is always shorter than the exponent form.
    const int wholeDigits = digitCount(whole);
    const std::uint64_t below = std::uint64_t(mantissa & ((1u << places) - 1)) * kPowersOf5[places];
#if defined(GMDK_DIGITS_IN_A_WORD)
    if (wholeDigits + places <= 8) {
        // One word holds all the digits; the point goes in between.
        const std::uint32_t all =
            whole * static_cast<std::uint32_t>(kPowersOf10[places]) + static_cast<std::uint32_t>(below);
        const std::uint64_t digits = eightDigits(all) >> (8 * (8 - wholeDigits - places));
        std::memcpy(out, &digits, 8);
        out[wholeDigits] = '.';
        const std::uint64_t fractionDigits = digits >> (8 * wholeDigits);
        std::memcpy(out + wholeDigits + 1, &fractionDigits, 8);
        return out + wholeDigits + 1 + places;
    }
#endif
    out = writeLastDigits(out, whole, wholeDigits);
    *out++ = '.';
    if (places <= 8) return writeLastDigits(out, static_cast<std::uint32_t>(below), places);
    writeDigits(out + places, below, places);
    return out + places;
}

// Every other float: std::to_chars's shortest text, checked through a double.
char* writeShortest(float value, char* out) {
    if (std::isnan(value)) return std::copy_n("nan", 3, out);
    if (std::isinf(value)) return value < 0 ? std::copy_n("-inf", 4, out) : std::copy_n("inf", 3, out);
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

}  // namespace

char* formatFloat(float value, char* out) {
    if (char* end = writeExactDecimal(value, out)) return end;
    return writeShortest(value, out);
}

char* formatCount(std::uint64_t value, char* out) {
    constexpr std::uint64_t kEightDigits = 100000000u;
    if (value < kEightDigits) {
        const std::uint32_t v = static_cast<std::uint32_t>(value);
        return writeLastDigits(out, v, v ? digitCount(v) : 1);
    }
    const std::uint64_t high = value / kEightDigits;
    if (high < kEightDigits)
        out = writeLastDigits(out, static_cast<std::uint32_t>(high), digitCount(static_cast<std::uint32_t>(high)));
    else
        out = std::to_chars(out, out + 12, high).ptr;
    return writeLastDigits(out, static_cast<std::uint32_t>(value - high * kEightDigits), 8);
}

std::string formatFloat(float value) {
    char text[kFloatTextSize];
    return std::string(text, formatFloat(value, text));
}

}  // namespace gmdk
