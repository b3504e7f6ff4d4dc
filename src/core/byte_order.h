// The file is little-endian; words in memory are in host order.
#pragma once

#include <cstdint>
#include <cstring>

namespace gmd {

#if defined(__BYTE_ORDER__) && defined(__ORDER_BIG_ENDIAN__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr bool kHostIsLittleEndian = false;
#else
constexpr bool kHostIsLittleEndian = true;
#endif

inline std::uint32_t swapBytes(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

inline std::uint32_t loadLittle32(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

inline void storeLittle32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// Converts n words between host order and file order (a no-op on little-endian hosts).
inline void swapWordsIfBigEndian(std::uint32_t* words, std::size_t n) {
    if (kHostIsLittleEndian) return;
    for (std::size_t i = 0; i < n; ++i) words[i] = swapBytes(words[i]);
}

}  // namespace gmd
