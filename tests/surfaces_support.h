// Fixtures shared by the surfaces tests (NURBS, junctions, hinges, names).
#pragma once

#include <vector>

#include "test_support.h"

namespace gmdtest {

// A read handle on a file that holds `bytes`.
class ReadFile {
public:
    explicit ReadFile(const Bytes& bytes) : in_(open(file_, bytes)) { EXPECT_NE(in_.h, nullptr); }
    operator GMD_File*() const { return in_; }

private:
    static GMD_File* open(const TempFile& file, const Bytes& bytes) {
        file.write(bytes);
        return GMD_OpenReadFile(file.c_str());
    }
    TempFile file_;
    Handle in_;
};

// Bit patterns, so that comparisons see NaN payloads and the sign of zero.
inline std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
    std::vector<std::uint32_t> bits;
    for (float v : values) bits.push_back(floatBits(v));
    return bits;
}

// Words given as any mix of floats and raw 32-bit patterns.
inline std::vector<std::uint32_t> joinWords(std::initializer_list<std::vector<std::uint32_t>> parts) {
    std::vector<std::uint32_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace gmdtest
