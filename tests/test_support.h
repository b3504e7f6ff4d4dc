// House rules for changing this tree: CONTRIBUTING.md at the top.
// Shared fixtures of the library tests: temporary files, frames built by
// hand, the bytes a write handle produced and the values a getter copied out.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gmd.h"

namespace gmdtest {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint32_t>;

// A file name unique to the running test, removed when the object dies.
class TempFile {
public:
    TempFile() {
        static int serial = 0;
        path_ = std::string("gmdtest_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                std::to_string(serial++) + ".gmd";
        std::remove(path_.c_str());
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const char* c_str() const { return path_.c_str(); }
    Bytes bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void write(const Bytes& content) const {
        std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(content.data()),
                                                     static_cast<std::streamsize>(content.size()));
    }

private:
    std::string path_;
};

// Closes its handle when the test leaves scope.
struct Handle {
    GMD_File* h;
    explicit Handle(GMD_File* handle) : h(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    operator GMD_File*() const { return h; }
    void close() {
        if (h) GMD_CloseFile(h);
        h = nullptr;
    }
};

// A write handle whose file nobody reads: a place to build records.
struct Scratch {
    TempFile file;
    Handle h{GMD_OpenWriteFile(file.c_str())};
    operator GMD_File*() const { return h; }
};

// The same bytes as another type of their size.
template <class To, class From>
To bitCast(const From& from) {
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// Words handed to a setter that takes float values.
inline const float* asFloats(const Words& words) { return reinterpret_cast<const float*>(words.data()); }

inline Words floats(const std::vector<float>& values) {
    Words w;
    for (float f : values) w.push_back(bitCast<std::uint32_t>(f));
    return w;
}

inline Words ints(const std::vector<std::int32_t>& values) { return Words(values.begin(), values.end()); }
inline Words zeros(std::size_t n) { return Words(n, 0u); }

// Words first, first + 1, ... as floats: distinct values that show which words went where.
inline Words counting(std::size_t n, float first = 1.0f) {
    Words w;
    for (std::size_t i = 0; i < n; ++i) w.push_back(bitCast<std::uint32_t>(first + static_cast<float>(i)));
    return w;
}

// Text packed four bytes a word, the first in the low byte; a multiple of 4 bytes.
inline Words text(const std::string& s) {
    Words w(s.size() / 4, 0u);
    for (std::size_t b = 0; b < 4 * w.size(); ++b) w[b / 4] |= std::uint32_t{std::uint8_t(s[b])} << (8 * (b % 4));
    return w;
}

template <class T>
std::vector<T> join(std::initializer_list<std::vector<T>> parts) {
    std::vector<T> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}
inline Words join(std::initializer_list<Words> parts) { return join<std::uint32_t>(parts); }
inline Bytes concat(std::initializer_list<Bytes> parts) { return join<std::uint8_t>(parts); }

inline void appendLE32(Bytes& b, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

// One frame as a correct writer lays it out: L, letter, word count byte
// (saturated at 255), group byte, second header byte, the words, L again.
inline Bytes frame(char letter, const Words& words, int group = 0, int group2 = 0) {
    Bytes b;
    const auto length = static_cast<std::uint32_t>(4 + 4 * words.size());
    appendLE32(b, length);
    for (int v : {int(std::uint8_t(letter)), int(words.size() < 255 ? words.size() : 255), group, group2})
        b.push_back(static_cast<std::uint8_t>(v));
    for (auto w : words) appendLE32(b, w);
    appendLE32(b, length);
    return b;
}

// A read handle on a file that holds `bytes`, with the first `records` read.
struct ReadFile {
    TempFile file;
    Handle in;
    explicit ReadFile(const Bytes& bytes, int records = 0) : in((file.write(bytes), GMD_OpenReadFile(file.c_str()))) {
        EXPECT_NE(in.h, nullptr);
        for (int k = 0; k < records; ++k) EXPECT_EQ(GMD_GetRecord(in), 1) << "record " << k;
    }
    operator GMD_File*() const { return in; }
};

// The type code of the next record read, or -1000 when there is none.
inline std::int32_t nextType(GMD_File* h) { return GMD_GetRecord(h) == 1 ? GMD_GetRecordType(h) : -1000; }

// The bytes of a file written by `build` through a write handle.
template <class Build>
Bytes written(Build&& build) {
    Scratch out;
    build(out.h.h);
    out.h.close();
    return out.file.bytes();
}

// The frame written for the record that `build` leaves in hand.
template <class Build>
Bytes frameOf(Build&& build) {
    return written([&](GMD_File* h) {
        build(h);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
}

constexpr std::uint32_t kGuard = 0xDEADBEEFu;

// What `call` copies out through its pointer, as bit patterns, into room
// for n values followed by a guard value; nullopt when it refuses, which
// must leave the room alone.
template <class T, class Call>
std::optional<Words> gotFrom(std::size_t n, Call&& call) {
    Words out(n + 1, kGuard);
    const std::int32_t result = call(reinterpret_cast<T*>(out.data()));
    EXPECT_EQ(out[n], kGuard) << "wrote past its " << n << " values";
    EXPECT_TRUE(result == 1 || out == Words(n + 1, kGuard)) << "a refusing getter wrote";
    if (result != 1) return std::nullopt;
    out.pop_back();
    return out;
}

template <class T>
std::optional<Words> got(GMD_File* h, std::int32_t (*get)(GMD_File*, T*), std::size_t n) {
    return gotFrom<T>(n, [&](T* out) { return get(h, out); });
}

// Getter calls as table rows: {G(GMD_GetSphere, 4), words}, nullopt for a refusal.
using Read = std::function<std::optional<Words>(GMD_File*)>;

template <class T>
Read G(std::int32_t (*get)(GMD_File*, T*), std::size_t n) {
    return [=](GMD_File* h) { return got(h, get, n); };
}

// A getter that takes arguments: GMD_GET(float, 3, GMD_GetNurbsControlPoint(h, 1, 2, out)).
#define GMD_GET(T, n, call) Read([=](GMD_File * h) { return gotFrom<T>(n, [&](T * out) { return call; }); })

// A getter and what it must copy out.
using Expect = std::pair<Read, std::optional<Words>>;

inline void expectReads(GMD_File* h, const std::vector<Expect>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].first(h), rows[i].second) << "getter " << i;
}

// A text getter's answer through a buffer of exactly `room` bytes, so that
// the sanitizers catch a getter writing one byte too many; nullopt when refused.
inline std::optional<std::string> textOf(GMD_File* h, std::int32_t (*get)(GMD_File*, char*), std::size_t room = 64) {
    std::vector<char> buffer(room, '#');
    if (get(h, buffer.data()) != 1) return std::nullopt;
    return std::string(buffer.data());
}

// Setter sequences written as scripts: each character names a call of
// `calls`, which must succeed, or be refused when it follows a '!'.
using Calls = std::map<char, std::function<std::int32_t(GMD_File*)>>;

// An entry of a Calls table: the character and the call it stands for, on handle h.
#define GMD_CALL(c, call) \
    { c, [](GMD_File * h) { return call; } }

inline void runScript(GMD_File* h, const Calls& calls, const std::string& script) {
    for (std::size_t i = 0; i < script.size(); ++i) {
        const bool refused = script[i] == '!';
        const auto call = calls.find(script[i += refused]);
        ASSERT_NE(call, calls.end()) << "no call '" << script[i] << "'";
        EXPECT_EQ(call->second(h), refused ? 0 : 1) << "call '" << script[i] << "' of \"" << script << "\"";
    }
}

// Each script builds its record, written as the frame expected.
inline void expectScripts(const Calls& calls, const std::vector<std::pair<const char*, Bytes>>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(frameOf([&](GMD_File* h) { runScript(h, calls, c.first); }), c.second) << "\"" << c.first << "\"";
}

}  // namespace gmdtest
