// The per-letter steps that the record cycle hands a record to.
//
// Each family lists its rows in its own steps header (mesh, solids,
// surfaces); the core merges them into one table indexed by the letter byte.
// Adding a letter touches one family and one row, never the cycle itself.
#pragma once

#include <cstdint>

namespace gmd {

class RecordFile;

struct LetterSteps {
    std::uint8_t letter = 0;
    // Checks (and decodes) a record just read; false marks it invalid, in
    // which case the step must have left flags and decoded members alone.
    bool (*read)(RecordFile&) = nullptr;
    // Encodes the record just before its frame is written.
    void (*write)(RecordFile&) = nullptr;
    // The record type codes of a polygon letter, as a triangle and as a quad;
    // 0 for every other letter, whose code is its byte.
    std::int8_t triangleCode = 0;
    std::int8_t quadCode = 0;
};

}  // namespace gmd
