// Fixtures shared by the surfaces tests (NURBS, junctions, hinges, names).
#pragma once

#include <functional>
#include <limits>
#include <string>
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

// A write handle whose file nobody reads: a place to build records.
struct Scratch {
    TempFile file;
    Handle h{GMD_OpenWriteFile(file.c_str())};
    operator GMD_File*() const { return h; }
};

// Bit patterns, so that comparisons see NaN payloads and the sign of zero.
inline std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
    std::vector<std::uint32_t> bits;
    for (float v : values) bits.push_back(floatBits(v));
    return bits;
}

inline std::vector<std::uint32_t> joinWords(std::initializer_list<std::vector<std::uint32_t>> parts) {
    std::vector<std::uint32_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Four characters as the word that holds them, the first in the low byte.
inline std::uint32_t textWord(const char (&four)[5]) {
    std::uint32_t w = 0;
    for (int k = 3; k >= 0; --k) w = w << 8 | static_cast<std::uint8_t>(four[k]);
    return w;
}

inline std::vector<std::int32_t> nurbsSizes(GMD_File* h) {
    std::vector<std::int32_t> sizes(7, -99);
    EXPECT_EQ(GMD_GetNurbsSizes(h, sizes.data()), 1);
    return sizes;
}

// A text getter's answer, through a buffer of exactly `room` bytes so that
// the sanitizers catch a getter writing one byte too many.
inline std::string textOf(GMD_File* h, std::int32_t (*get)(GMD_File*, char*), std::size_t room = 64) {
    std::vector<char> buffer(room, '#');
    EXPECT_EQ(get(h, buffer.data()), 1);
    return std::string(buffer.data());
}

// The bytes of a file written by `build`.
inline Bytes written(const std::function<void(GMD_File*)>& build) {
    TempFile file;
    return writtenBytes(file, build);
}

}  // namespace gmdtest
