// Float text: the shortest form std::to_chars gives, which must read back to
// the same bits both as a float and through a double. Exact short values are
// written without std::to_chars; a sweep over the bit patterns holds them to
// the same text.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "model/names.h"

namespace {

float fromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text as std::to_chars writes it, or the shortest %g text that also
// reads back through a double when that one does not.
std::string expectedText(float value) {
    char text[40];
    const std::string shortest(text, std::to_chars(text, text + sizeof text, value).ptr);
    if (static_cast<float>(std::strtod(shortest.c_str(), nullptr)) == value) return shortest;
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value && static_cast<float>(std::strtod(text, nullptr)) == value) break;
    }
    return text;
}

TEST(FloatText, KnownValues) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.0f, "0"}, {-0.0f, "-0"}, {1.0f, "1"}, {0.25f, "0.25"}, {-250000.75f, "-250000.75"},
        {100000.0f, "1e+05"}, {10000.0f, "10000"}, {16777215.0f, "16777215"}, {16777216.0f, "16777216"},
        {0.1f, "0.1"}, {0.001953125f, "0.001953125"}, {0.0001220703125f, "0.00012207031"},
        {3.4028235e38f, "3.4028235e+38"}, {1e-45f, "1e-45"}, {1.1754944e-38f, "1.1754944e-38"},
        {fromBits(0x7fc00000u), "nan"}, {-INFINITY, "-inf"}, {INFINITY, "inf"},
    };
    for (const auto& c : cases) EXPECT_EQ(gmdk::formatFloat(c.value), c.text) << c.text;
}

// Every 1021st bit pattern of the exponents where exact short decimals occur
// (the whole range is checked the same way, slowly, when the formatting changes).
TEST(FloatText, SweepMatchesShortestText) {
    for (std::uint32_t bits = 0x30000000u; bits < 0x4c800000u; bits += 1021) {
        for (std::uint32_t sign : {0u, 0x80000000u}) {
            const float value = fromBits(bits | sign);
            const std::string text = gmdk::formatFloat(value);
            ASSERT_EQ(text, expectedText(value)) << std::hex << (bits | sign);
            ASSERT_EQ(static_cast<float>(std::strtod(text.c_str(), nullptr)), value) << text;
        }
    }
}

TEST(FloatText, Counts) {
    for (std::uint64_t value : {0ull, 7ull, 10ull, 99999999ull, 100000000ull, 1234567890123ull, 18446744073709551615ull}) {
        char text[gmdk::kFloatTextSize];
        EXPECT_EQ(std::string(text, gmdk::formatCount(value, text)), std::to_string(value));
    }
}

}  // namespace
