// House rules for changing this tree: CONTRIBUTING.md at the top.
// Shared fixtures for the test suite: temporary files, crafted frames and
// the bytes a handle wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "gmd.h"

namespace gmdtest {

using Bytes = std::vector<std::uint8_t>;

// A file name unique to the running test, removed when the object dies.
class TempFile {
public:
    TempFile() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "gmd";
        for (auto& c : name)
            if (c == '/') c = '_';
        path_ = "gmdtest_" + name + "_" + std::to_string(counter()++) + ".gmd";
        std::remove(path_.c_str());
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const char* c_str() const { return path_.c_str(); }
    const std::string& path() const { return path_; }

    Bytes bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void write(const Bytes& content) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    }

private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::string path_;
};

inline std::uint32_t floatBits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

inline float bitsFloat(std::uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

inline void appendLE32(Bytes& b, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

// One frame, built by hand: L, the four header bytes, the words, L again.
// The word count byte is derived the way a correct writer derives it unless
// given explicitly.
inline Bytes frame(char letter, const std::vector<std::uint32_t>& words, std::int8_t group = 0,
                   std::int8_t group2 = 0, int countByte = -1) {
    Bytes b;
    std::uint32_t length = 4 + 4 * static_cast<std::uint32_t>(words.size());
    appendLE32(b, length);
    b.push_back(static_cast<std::uint8_t>(letter));
    b.push_back(static_cast<std::uint8_t>(countByte >= 0 ? countByte : (words.size() < 255 ? words.size() : 255)));
    b.push_back(static_cast<std::uint8_t>(group));
    b.push_back(static_cast<std::uint8_t>(group2));
    for (auto w : words) appendLE32(b, w);
    appendLE32(b, length);
    return b;
}

// Words of float values, as their bit patterns.
inline std::vector<std::uint32_t> floatWords(std::initializer_list<float> values) {
    std::vector<std::uint32_t> w;
    for (float f : values) w.push_back(floatBits(f));
    return w;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Closes a handle when the test leaves scope.
struct Handle {
    GMD_File* h = nullptr;
    explicit Handle(GMD_File* handle) : h(handle) {}
    ~Handle() {
        if (h) GMD_CloseFile(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    operator GMD_File*() const { return h; }
    void close() {
        if (h) GMD_CloseFile(h);
        h = nullptr;
    }
};

// Writes whatever `build` puts in records through a write handle and returns
// the file's bytes.
template <class Build>
Bytes writtenBytes(const TempFile& file, Build&& build) {
    {
        Handle out(GMD_OpenWriteFile(file.c_str()));
        EXPECT_NE(out.h, nullptr);
        build(out.h);
    }
    return file.bytes();
}

}  // namespace gmdtest
