// What every benchmark writes and reads: record i of a run is generated from
// i alone, so that a reader can recompute what the writer produced, and every
// value read is folded into a checksum compared with the writer's.
#pragma once

#include <cstdint>
#include <cstring>

namespace gmdbench {

// Fletcher-style: s1 is kept modulo 2^32 so that s2 cannot overflow before
// 2^31 words, which lets the Fortran peer compute the same sums with signed
// 64-bit integers.
struct Checksum {
    std::uint64_t s1 = 0;
    std::uint64_t s2 = 0;

    void add(const void* words, std::size_t n) {
        const auto* p = static_cast<const unsigned char*>(words);
        for (std::size_t k = 0; k < n; ++k) {
            std::uint32_t w;
            std::memcpy(&w, p + 4 * k, 4);
            s1 = (s1 + w) & 0xFFFFFFFFu;
            s2 += s1;
        }
    }
    bool operator==(const Checksum& o) const { return s1 == o.s1 && s2 == o.s2; }
    bool operator!=(const Checksum& o) const { return !(*this == o); }
};

// Vertex k of triangle i. Every step is exact in float32, so the Fortran
// peer's generator produces the same bits.
inline void triangle(std::int64_t i, float v[9]) {
    const float base = static_cast<float>(i % 1000003) * 0.25f;
    for (int k = 0; k < 9; ++k) v[k] = base + static_cast<float>(k);
}

inline constexpr std::uint32_t kTriangleHeader = 'P' | (9u << 8);  // letter, word count, two group bytes 0
inline constexpr std::uint32_t kTriangleLength = 40;               // 4 header bytes + 9 words

}  // namespace gmdbench
