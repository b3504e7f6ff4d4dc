// The word form of a NURBS surface ('N') and the steps that move a NurbsModel
// in and out of it.
//
//   word 0      W, the number of words after word 0
//   words 1-6   numUknots, numVknots, numUcontrolPoints, numVcontrolPoints,
//               numBounds, holeOrigin
//   then        U knots | V knots | x, y, z, weight of each control point,
//               row after row | boundary dimensions | boundary point values
//
// Every word is a float32: counts and dimensions are converted to float (not
// bit-copied) on writing and truncated toward zero on reading.
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "../core/record_file.h"
#include "surfaces_steps.h"

namespace gmd {
namespace {

constexpr std::int32_t kCountWords = 6;  // words 1 to 6

// An integer word truncated toward zero; false for NaN and for values that
// an int32 cannot hold. -2^31 and 2^31 are exact float32 values.
bool wordToInt(float value, std::int32_t& out) {
    if (!(value >= -2147483648.0f && value < 2147483648.0f)) return false;
    out = static_cast<std::int32_t>(value);
    return true;
}

// Walks the words of a record read from a file. A section is only sized
// after has() confirmed that its words are present, so no count found in a
// file can ask for more memory than the record itself occupies.
class WordReader {
public:
    WordReader(const RecordBuffer& record, std::int32_t first) : record_(record), next_(first) {}

    std::int64_t remaining() const { return std::int64_t{record_.wordCount()} - next_; }
    bool has(std::int64_t words) const { return words <= remaining(); }

    float nextFloat() { return record_.getFloat(next_++); }
    bool nextInt(std::int32_t& out) { return wordToInt(nextFloat(), out); }
    bool nextCount(std::int32_t& out) { return nextInt(out) && out >= 0; }

    // Fills `values` with the next n words; the caller has checked has(n).
    void nextFloats(std::vector<float>& values, std::int64_t n) {
        values.resize(static_cast<std::size_t>(n));
        for (float& v : values) v = nextFloat();
    }

private:
    const RecordBuffer& record_;
    std::int32_t next_;
};

class WordWriter {
public:
    explicit WordWriter(RecordBuffer& record) : record_(record) {}
    void put(float value) { record_.setFloat(next_++, value); }
    void putInt(std::int32_t value) { put(static_cast<float>(value)); }
    void putAll(const std::vector<float>& values) {
        for (float v : values) put(v);
    }

private:
    RecordBuffer& record_;
    std::int32_t next_ = 0;
};

}  // namespace

bool readNurbsRecord(RecordFile& file) {
    const RecordBuffer& record = file.record;
    if (record.wordCount() < 1 + kCountWords) return false;
    // Compared as numbers, so a NaN in word 0 never matches.
    if (record.getFloat(0) != static_cast<float>(record.wordCount() - 1)) return false;

    // Decoded aside: the handle's surface changes only once the whole record
    // has been found sound.
    NurbsModel surface;
    WordReader words(record, 1);
    if (!words.nextCount(surface.numUknots) || !words.nextCount(surface.numVknots) ||
        !words.nextCount(surface.numUcontrolPoints) || !words.nextCount(surface.numVcontrolPoints) ||
        !words.nextCount(surface.numBounds) || !words.nextInt(surface.holeOrigin))
        return false;

    if (!words.has(surface.numUknots)) return false;
    words.nextFloats(surface.uKnots, surface.numUknots);
    if (!words.has(surface.numVknots)) return false;
    words.nextFloats(surface.vKnots, surface.numVknots);

    // Below 2^62, but four words a cell could overflow: divide instead.
    const std::int64_t cells = std::int64_t{surface.numUcontrolPoints} * surface.numVcontrolPoints;
    if (cells > words.remaining() / 4) return false;
    surface.reshapeGrid(surface.numUcontrolPoints, surface.numVcontrolPoints);
    for (std::int32_t i = 0; i < surface.numUcontrolPoints; ++i) {
        for (std::int32_t j = 0; j < surface.numVcontrolPoints; ++j) {
            for (double& coordinate : surface.controlPoints.at(i, j)) coordinate = words.nextFloat();
            surface.weights.at(i, j) = words.nextFloat();
        }
    }

    if (!words.has(surface.numBounds)) return false;
    surface.boundaryDimensions.resize(static_cast<std::size_t>(surface.numBounds));
    std::int64_t points = 0;  // at most numBounds x (2^31 - 1): no overflow
    for (std::int32_t& dimension : surface.boundaryDimensions) {
        if (!words.nextCount(dimension)) return false;
        points += dimension;
    }
    // numPoints is not on file: the dimensions define it.
    if (!words.has(2 * points)) return false;
    surface.numPoints = static_cast<std::int32_t>(points);
    words.nextFloats(surface.boundaryPoints, 2 * points);

    file.nurbs = std::move(surface);
    return true;
}

void writeNurbsRecord(RecordFile& file) {
    const NurbsModel& surface = file.nurbs;
    const std::int64_t cells = std::int64_t{surface.numUcontrolPoints} * surface.numVcontrolPoints;
    const std::int64_t following = std::int64_t{surface.numUknots} + surface.numVknots + 4 * cells +
                                   surface.numBounds + 2 * std::int64_t{surface.numPoints} + kCountWords;
    // Thrown exceptions make the record cycle skip the frame and report 0.
    if (!fitsFrame(following + 1)) throw std::length_error("surface exceeds one record");

    RecordBuffer& record = file.record;
    record.resize(static_cast<std::int32_t>(following + 1));
    WordWriter words(record);
    words.putInt(static_cast<std::int32_t>(following));
    for (std::int32_t value : {surface.numUknots, surface.numVknots, surface.numUcontrolPoints,
                               surface.numVcontrolPoints, surface.numBounds, surface.holeOrigin})
        words.putInt(value);
    words.putAll(surface.uKnots);
    words.putAll(surface.vKnots);
    for (std::int32_t i = 0; i < surface.numUcontrolPoints; ++i) {
        for (std::int32_t j = 0; j < surface.numVcontrolPoints; ++j) {
            for (double coordinate : surface.controlPoints.at(i, j)) words.put(static_cast<float>(coordinate));
            words.put(surface.weights.at(i, j));
        }
    }
    for (std::int32_t dimension : surface.boundaryDimensions) words.putInt(dimension);
    words.putAll(surface.boundaryPoints);
}

}  // namespace gmd
