// One record of a GMD file as a client sees it: the frame it came from, the
// record type code the library gave it, and its fields by name as the
// library's getters report them. A record whose fields do not describe its
// bytes completely (invalid, unknown letter, or a form the setters cannot
// produce) keeps only its frame and is carried as raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

namespace gmdk {

// A frame as it lies on disk: length L, four header bytes, L - 4 payload
// bytes, the length again.
struct RecordFrame {
    std::uint64_t offset = 0;     // byte offset of the leading length
    std::uint8_t letter = 0;
    std::uint8_t countByte = 0;   // header byte 1, ignored by readers
    std::int8_t group = 0;
    std::int8_t group2 = 0;
    std::vector<std::uint8_t> payload;

    // Whole words; a payload whose size is not a multiple of 4 rounds up.
    std::size_t wordCount() const { return (payload.size() + 3) / 4; }
    // Word i, 0 past the end of the payload.
    std::int32_t intWord(std::size_t i) const;
    float floatWord(std::size_t i) const;
    // The frame exactly as it lies in the file.
    std::vector<std::uint8_t> bytes() const;
};

enum class Kind { Float, Int, Text };

struct Field {
    std::string name;
    Kind kind = Kind::Float;
    bool scalar = false;     // one value rather than a list
    bool derived = false;    // computed by the library; setters do not take it
    std::vector<float> floats;
    std::vector<std::int32_t> ints;
    std::string text;

    std::size_t size() const { return kind == Kind::Float ? floats.size() : ints.size(); }
};

Field floatField(const std::string& name, std::vector<float> values, bool scalar = false);
Field intField(const std::string& name, std::vector<std::int32_t> values, bool scalar = false);
Field textField(const std::string& name, std::string text);

struct Record {
    std::size_t index = 0;
    RecordFrame frame;
    std::int32_t code = 0;      // GMD_GetRecordType
    bool hasFields = false;     // fields describe the record; otherwise raw
    std::vector<Field> fields;

    const Field* find(std::string_view name) const;
    // Fetches a field that must be there with this many values (0: any);
    // throws Error naming the field otherwise.
    const Field& floats(const std::string& name, std::size_t count = 0) const;
    const Field& ints(const std::string& name, std::size_t count = 0) const;
    const std::string& text(const std::string& name) const;
    float scalarFloat(const std::string& name) const { return floats(name, 1).floats[0]; }
    std::int32_t scalarInt(const std::string& name) const { return ints(name, 1).ints[0]; }
};

}  // namespace gmdk
