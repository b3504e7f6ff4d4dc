// Crafted frames and scratch files for the gmdkit tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kittest {

using Bytes = std::vector<std::uint8_t>;

inline void put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// One frame: length, header, `payload` bytes of value 0x11, trailer.
inline Bytes frame(char letter, std::size_t payload, std::int32_t trailerDelta = 0) {
    Bytes out;
    const auto length = static_cast<std::uint32_t>(payload + 4);
    put32(out, length);
    out.insert(out.end(), {static_cast<std::uint8_t>(letter), static_cast<std::uint8_t>(payload / 4), 0, 0});
    out.insert(out.end(), payload, 0x11);
    put32(out, length + static_cast<std::uint32_t>(trailerDelta));
    return out;
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes cut(Bytes a, std::size_t drop) {
    a.resize(a.size() - drop);
    return a;
}

// A scratch file named after the running test, removed with the object.
class TempFile {
public:
    TempFile() : path_("kittest_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".gmd") {}
    ~TempFile() { std::remove(path_.c_str()); }
    const char* c_str() const { return path_.c_str(); }

    void write(const Bytes& content) const {
        std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(content.data()),
                                                      static_cast<std::streamsize>(content.size()));
    }
    Bytes bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string path_;
};

}  // namespace kittest
