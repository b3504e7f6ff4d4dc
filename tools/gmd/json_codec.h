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

#include <nlohmann/json.hpp>

#include "model/record.h"

namespace tool {

using gmdk::Record;

using Json = nlohmann::ordered_json;

// The record as one line of JSON text.
std::string recordLine(const Record& record);
Record recordFromJson(const Json& json);
// A line of the file after the last readable frame, kept so that a damaged
// file converts back to the same bytes.
Json tailToJson(std::uint64_t offset, const std::string& reason, const std::vector<std::uint8_t>& bytes);
bool isTail(const Json& json);
std::vector<std::uint8_t> tailBytes(const Json& json);

std::string jsonLine(const Json& json);

}  // namespace tool
