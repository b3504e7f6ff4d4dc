// Fixtures of the mesh record tests: words of mixed floats and integers,
// read handles over crafted frames, and a look at the record in hand.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "test_support.h"

namespace gmdtest {

using Words = std::vector<std::uint32_t>;

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

// Text packed four bytes a word, in byte order; `text` has a multiple of 4 bytes.
inline Words textWords(const std::string& text) {
    Words w;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= std::uint32_t{static_cast<std::uint8_t>(text[i + k])} << (8 * k);
        w.push_back(v);
    }
    return w;
}

inline Words join(std::initializer_list<Words> parts) {
    Words all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A read handle over a file made of the given bytes.
struct CraftedFile {
    TempFile file;
    Handle in;
    explicit CraftedFile(const Bytes& bytes) : in((file.write(bytes), GMD_OpenReadFile(file.c_str()))) {}
};

// The record in hand, as the library holds it.
inline const gmd::RecordFile& inHand(GMD_File* handle) { return *gmd::fileOf(handle); }

inline Words wordsInHand(GMD_File* handle) {
    const gmd::RecordBuffer& record = inHand(handle).record;
    return Words(record.payload(), record.payload() + record.wordCount());
}

// The frame a write handle produces for the record `build` leaves in hand.
template <class Build>
Bytes frameOf(Build&& build) {
    TempFile file;
    return writtenBytes(file, [&](GMD_File* out) {
        build(out);
        EXPECT_EQ(GMD_WriteRecord(out), 1);
    });
}

}  // namespace gmdtest
