// Records as JSON objects, one per line in .jsonl files and in dump --json.
//
//   {"record":0,"offset":0,"letter":"S","type":"sphere","group":3,"group2":0,
//    "fields":{"center":[1,2,3],"radius":4}}
//
// A record without fields carries its frame instead: "count" (the word count
// byte) and "raw" (the payload bytes in hexadecimal). Non-finite floats are
// the strings "nan", "inf" and "-inf", or "0x" and their bits when the NaN is
// not the usual one. "record", "offset" and "type" are informative: reading
// ignores them, as it ignores fields that the library derives ("derived").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/record.h"

namespace tool {

using gmdk::Record;

using Json = nlohmann::ordered_json;

// Text built a line at a time through a pointer: a line makes room for the
// longest text it can take once, so that its pieces need no checks of their own.
class LineBuffer {
public:
    // Room for n more characters after the text, where writing may begin.
    char* reserve(std::size_t n) { return capacity_ - size_ >= n ? data_.get() + size_ : grow(n); }
    // The text now ends at `end`, within the room last reserved.
    void commit(char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
    void append(const char* text, std::size_t n);
    void append(char c) {
        *reserve(1) = c;
        ++size_;
    }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }
    void swap(LineBuffer& other);

private:
    char* grow(std::size_t n);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Records as lines of JSON text. Records of one type usually come in runs;
// the text that depends on the type alone is kept from the record before.
class RecordLines {
public:
    // The record's line, without the line end: its fields, or its frame
    // when it has none.
    void append(LineBuffer& out, const Record& record);
    // The line that carries the record's frame, fields or not.
    void appendRaw(LineBuffer& out, const Record& record);

private:
    void useType(const Record& record);
    char* writeHead(char* out, const Record& record);
    char* writeName(char* out, std::size_t index, const std::string& name);

    // The text of the field names of the record before, by position.
    struct Name {
        std::string name;
        std::string text;   // "name":
    };
    std::vector<Name> names_;

    std::int32_t code_ = 0;
    std::uint8_t letter_ = 0;
    std::string typeText_;   // ,"letter":...,"type":...
};

// The record as one line of JSON text.
std::string recordLine(const Record& record);
// False when a text field is not UTF-8: its line would carry a replacement
// character instead of the bytes.
bool textSurvivesJson(const Record& record);
// One line of a .jsonl file as JSON. A number written "-0" stays a negative
// zero (JSON readers take it for the integer 0).
Json parseLine(const std::string& line);
Record recordFromJson(const Json& json);
// A line of the file after the last readable frame, kept so that a damaged
// file converts back to the same bytes.
Json tailToJson(std::uint64_t offset, const std::string& reason, const std::vector<std::uint8_t>& bytes);
bool isTail(const Json& json);
std::vector<std::uint8_t> tailBytes(const Json& json);

std::string jsonLine(const Json& json);

}  // namespace tool
