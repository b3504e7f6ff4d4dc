// RecordBuffer: the current record of a handle.
//
// Words are kept as 32-bit values in host order; the frame layer converts
// them to and from the file's little-endian order, so accessors never think
// about byte order. The word array only ever grows its capacity: reading or
// building a run of records allocates only when a record needs more words
// than any before it.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace gmd {

using RecordWord = std::uint32_t;

// The longest record: the frame's length field L = 4 + 4n is a signed 32-bit
// value. resize and reserve refuse anything longer, so no setter can build a
// record that the frame writer then refuses. Only reading meets one word
// more: a frame of the largest L whose last word is partial.
constexpr std::int32_t kMaxRecordWords = (0x7FFFFFFF - 4) / 4;

// Growing setters test the size first, so that a refusal changes nothing.
inline bool fitsFrame(std::int64_t words) { return words >= 0 && words <= kMaxRecordWords; }

class RecordBuffer {
public:
    std::uint8_t letter = 0;  // record type letter; 0 is the empty record
    std::int8_t group = 0;    // header byte 6
    std::int8_t group2 = 0;   // header byte 7, the second header byte

    std::int32_t wordCount() const { return size_; }
    RecordWord* payload() { return words_.get(); }
    const RecordWord* payload() const { return words_.get(); }

    // True when words [first, first + count) all exist; the one bounds test
    // every accessor of a record read from a file goes through.
    bool holds(std::int64_t first, std::int64_t count) const {
        return first >= 0 && count >= 0 && first + count <= size_;
    }

    RecordWord raw(std::int32_t i) const { return words_[static_cast<std::size_t>(i)]; }
    void setRaw(std::int32_t i, RecordWord w) { words_[static_cast<std::size_t>(i)] = w; }

    float getFloat(std::int32_t i) const {
        float f;
        RecordWord w = raw(i);
        std::memcpy(&f, &w, sizeof f);
        return f;
    }
    void setFloat(std::int32_t i, float f) {
        RecordWord w;
        std::memcpy(&w, &f, sizeof w);
        setRaw(i, w);
    }
    std::int32_t getInt(std::int32_t i) const { return static_cast<std::int32_t>(raw(i)); }
    void setInt(std::int32_t i, std::int32_t v) { setRaw(i, static_cast<RecordWord>(v)); }

    // Byte b of the payload in file order: byte 4i is the first byte of word i.
    std::uint8_t byte(std::int64_t b) const {
        return static_cast<std::uint8_t>(raw(static_cast<std::int32_t>(b / 4)) >> (8 * (b % 4)));
    }
    void setByte(std::int64_t b, std::uint8_t value) {
        auto i = static_cast<std::int32_t>(b / 4);
        unsigned shift = static_cast<unsigned>(8 * (b % 4));
        setRaw(i, (raw(i) & ~(RecordWord{0xFF} << shift)) | (RecordWord{value} << shift));
    }

    // Three words widened exactly to double.
    void readVector(std::int32_t i, double v[3]) const {
        for (int k = 0; k < 3; ++k) v[k] = getFloat(i + k);
    }
    // Three doubles rounded to the nearest float32.
    void writeVector(std::int32_t i, const double v[3]) {
        for (int k = 0; k < 3; ++k) setFloat(i + k, static_cast<float>(v[k]));
    }

    // Keeps the first min(n, old) words; new words are all-bits-zero. A size
    // no frame can carry throws before anything changes, so a setter that
    // would grow a record past it is refused with the record intact.
    void resize(std::int64_t n) {
        if (!fitsFrame(n)) throw std::length_error("record too long for a frame");
        const auto words = static_cast<std::int32_t>(n);
        // Read once, so that a caller's known size folds into the zeroing.
        const std::int32_t old = size_;
        if (words > old) {
            if (words > capacity_) grow(words);
            std::memset(words_.get() + old, 0, static_cast<std::size_t>(words - old) * 4);
        }
        size_ = words;
    }

    void clear() { size_ = 0; }
    // True when n words fit without allocating.
    bool hasRoomFor(std::int64_t n) const { return n <= capacity_; }

    // Like resize, but the new words are left as they are, for a caller that
    // overwrites them at once; the frame reader, whose n comes from a length
    // field, may pass one word more than resize takes.
    void resizeForOverwrite(std::int32_t n) {
        if (n > capacity_) grow(n);
        size_ = n;
    }

    // Makes room for n words without changing the record, so that a setter
    // can take its one possible allocation failure before it changes anything.
    void reserve(std::int64_t n) {
        if (!fitsFrame(n)) throw std::length_error("record too long for a frame");
        if (n > capacity_) grow(static_cast<std::int32_t>(n));
    }

    // Copies count raw words to or from caller memory (float or int32 alike).
    void copyOut(std::int32_t first, std::int32_t count, void* out) const {
        if (count > 0) std::memcpy(out, words_.get() + first, static_cast<std::size_t>(count) * 4);
    }
    void copyIn(std::int32_t first, std::int32_t count, const void* in) {
        if (count > 0) std::memcpy(words_.get() + first, in, static_cast<std::size_t>(count) * 4);
    }

private:
    // Grows the capacity to at least n words, at least doubling it, keeping
    // the record's words. Throws std::bad_alloc with the record intact.
    void grow(std::int32_t n);

    // Words [0, size_) are the record; [size_, capacity_) hold no meaning.
    std::unique_ptr<RecordWord[]> words_;
    std::int32_t size_ = 0;
    std::int32_t capacity_ = 0;
};

}  // namespace gmd
