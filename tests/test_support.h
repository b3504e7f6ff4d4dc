// House rules for changing this tree: CONTRIBUTING.md at the top.
// Shared fixtures for the test suite: temporary files, crafted frames and
// the bytes a handle wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "gmd.h"

namespace gmdtest {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint32_t>;

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

inline Words intWords(std::initializer_list<std::int32_t> values) {
    Words w;
    for (std::int32_t v : values) w.push_back(static_cast<std::uint32_t>(v));
    return w;
}

inline Words zeroWords(std::size_t n) { return Words(n, 0u); }

// Words 1.0, 2.0, ... n.0: distinct values that show which words survived.
inline Words countingWords(std::size_t n) {
    Words w;
    for (std::size_t i = 0; i < n; ++i) w.push_back(floatBits(static_cast<float>(i + 1)));
    return w;
}

// Bit patterns, so that comparisons see NaN payloads and the sign of zero.
inline Words bitsOf(const std::vector<float>& values) {
    Words w;
    for (float f : values) w.push_back(floatBits(f));
    return w;
}

// Text packed four bytes a word, the first in the low byte; `text` has a
// multiple of 4 bytes.
inline Words textWords(const std::string& text) {
    Words w;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= std::uint32_t{static_cast<std::uint8_t>(text[i + k])} << (8 * k);
        w.push_back(v);
    }
    return w;
}

inline std::uint32_t textWord(const char (&four)[5]) { return textWords(four)[0]; }

inline Words join(std::initializer_list<Words> parts) {
    Words all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A read handle on a file that holds `bytes`.
class ReadFile {
public:
    explicit ReadFile(const Bytes& bytes) : in_((file_.write(bytes), GMD_OpenReadFile(file_.c_str()))) {
        EXPECT_NE(in_.h, nullptr);
    }
    operator GMD_File*() const { return in_; }

private:
    TempFile file_;
    Handle in_;
};

// A write handle whose file nobody reads: a place to build records.
struct Scratch {
    TempFile file;
    Handle h{GMD_OpenWriteFile(file.c_str())};
    operator GMD_File*() const { return h; }
};

// The bytes of a file written by `build`.
template <class Build>
Bytes written(Build&& build) {
    TempFile file;
    return writtenBytes(file, build);
}

// The frame a write handle produces for the record `build` leaves in hand.
template <class Build>
Bytes frameOf(Build&& build) {
    return written([&](GMD_File* out) {
        build(out);
        EXPECT_EQ(GMD_WriteRecord(out), 1);
    });
}

// Setter sequences written as scripts: each letter names a call of `calls`,
// which must succeed, or be refused when the letter follows a '!'. Spaces
// are ignored.
using Calls = std::map<char, std::function<std::int32_t(GMD_File*)>>;

inline void runScript(GMD_File* h, const Calls& calls, const std::string& script) {
    bool refuse = false;
    for (char c : script) {
        if (c == ' ' || (c == '!' && (refuse = true))) continue;
        auto call = calls.find(c);
        ASSERT_NE(call, calls.end()) << "no call '" << c << "'";
        EXPECT_EQ(call->second(h), refuse ? 0 : 1) << "call '" << c << "' of \"" << script << "\"";
        refuse = false;
    }
}

inline Bytes scriptFrame(const Calls& calls, const std::string& script) {
    return frameOf([&](GMD_File* h) { runScript(h, calls, script); });
}

struct ScriptCase {
    const char* script;
    Bytes expected;
};

// Each script builds its expected frame.
inline void expectScripts(const Calls& calls, const std::vector<ScriptCase>& cases) {
    for (const auto& c : cases) EXPECT_EQ(scriptFrame(calls, c.script), c.expected) << "script \"" << c.script << "\"";
}

// Each call refused after its build script leaves the record as the build made it.
inline void expectRefusals(const Calls& calls, const std::vector<std::pair<const char*, char>>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(scriptFrame(calls, std::string(c.first) + "!" + c.second), scriptFrame(calls, c.first))
            << "'" << c.second << "' after \"" << c.first << "\"";
}

// The record in hand, as the library holds it.
inline const gmd::RecordFile& inHand(GMD_File* handle) { return *gmd::fileOf(handle); }

inline Words wordsInHand(GMD_File* handle) {
    const gmd::RecordBuffer& record = inHand(handle).record;
    return Words(record.payload(), record.payload() + record.wordCount());
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

}  // namespace gmdtest
