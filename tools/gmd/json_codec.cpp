#include "json_codec.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "io.h"
#include "model/names.h"

namespace tool {

namespace {

using gmdk::Field;
using gmdk::Kind;
using gmdk::formatFloat;
using gmdk::letterText;
using gmdk::typeName;

const std::set<std::string>& integerFields() {
    static const std::set<std::string> names = {"volume", "volumes", "polygon", "leftPolygon", "rightPolygon",
                                                "groups", "adjacent", "holeOrigin", "numUcontrolPoints",
                                                "numVcontrolPoints", "boundaryDimensions"};
    return names;
}

const std::set<std::string>& textFields() {
    static const std::set<std::string> names = {"name", "type"};
    return names;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

Json floatToJson(float value) {
    if (std::isfinite(value)) return std::strtod(formatFloat(value).c_str(), nullptr);
    const std::uint32_t bits = bitsOf(value);
    if (bits == 0x7f800000u) return "inf";
    if (bits == 0xff800000u) return "-inf";
    if (bits == 0x7fc00000u) return "nan";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", bits);
    return buffer;
}

float floatFromJson(const Json& json, const std::string& name) {
    if (json.is_number()) return static_cast<float>(json.get<double>());
    if (json.is_string()) {
        const std::string text = json.get<std::string>();
        if (text == "inf") return std::numeric_limits<float>::infinity();
        if (text == "-inf") return -std::numeric_limits<float>::infinity();
        if (text == "nan") return std::numeric_limits<float>::quiet_NaN();
        if (text.size() == 10 && text.compare(0, 2, "0x") == 0) {
            std::vector<std::uint8_t> bytes = bytesFromHex(text.substr(2));
            std::uint32_t bits = static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
                                 static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
    }
    throw Error("field '" + name + "' holds something that is not a number");
}

std::int32_t intFromJson(const Json& json, const std::string& name) {
    if (json.is_number_integer()) {
        const auto value = json.get<std::int64_t>();
        if (value >= INT32_MIN && value <= INT32_MAX) return static_cast<std::int32_t>(value);
    }
    throw Error("field '" + name + "' needs 32-bit integers");
}

std::int8_t byteFromJson(const Json& json, const char* name) {
    if (!json.is_number_integer() || json.get<std::int64_t>() < -128 || json.get<std::int64_t>() > 127)
        throw Error(std::string("'") + name + "' must be an integer from -128 to 127");
    return static_cast<std::int8_t>(json.get<int>());
}

Field fieldFromJson(const std::string& name, const Json& json) {
    Field f;
    f.name = name;
    if (textFields().count(name)) {
        if (!json.is_string()) throw Error("field '" + name + "' must be text");
        f.kind = Kind::Text;
        f.scalar = true;
        f.text = json.get<std::string>();
        return f;
    }
    f.kind = integerFields().count(name) ? Kind::Int : Kind::Float;
    f.scalar = !json.is_array();
    const Json list = json.is_array() ? json : Json::array({json});
    for (const Json& item : list) {
        if (f.kind == Kind::Int)
            f.ints.push_back(intFromJson(item, name));
        else
            f.floats.push_back(floatFromJson(item, name));
    }
    return f;
}

void appendText(std::string& out, const std::string& text) {
    // Plain ASCII needs no escapes; anything else goes through the JSON
    // library, which also replaces bytes that are not UTF-8.
    for (char c : text)
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') {
            out += Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
            return;
        }
    out += '"';
    out += text;
    out += '"';
}

void appendFloat(std::string& out, float value) {
    if (std::isfinite(value)) {
        out += formatFloat(value);
        return;
    }
    out += floatToJson(value).dump();
}

void appendField(std::string& out, const Field& f) {
    if (f.kind == Kind::Text) return appendText(out, f.text);
    const std::size_t n = f.size();
    const bool list = !(f.scalar && n == 1);
    if (list) out += '[';
    for (std::size_t i = 0; i < n; ++i) {
        if (i) out += ',';
        if (f.kind == Kind::Float)
            appendFloat(out, f.floats[i]);
        else
            out += std::to_string(f.ints[i]);
    }
    if (list) out += ']';
}

}  // namespace

std::string recordLine(const Record& r) {
    std::string out = "{\"record\":" + std::to_string(r.index) + ",\"offset\":" + std::to_string(r.frame.offset) +
                      ",\"letter\":";
    const std::uint8_t letter = r.frame.letter;
    const std::string shown = letterText(letter);
    if (shown.size() == 1)
        appendText(out, shown);
    else
        out += std::to_string(letter);
    out += ",\"type\":";
    appendText(out, typeName(r.code, letter));
    out += ",\"group\":" + std::to_string(r.frame.group) + ",\"group2\":" + std::to_string(r.frame.group2);
    if (!r.hasFields) {
        out += ",\"count\":" + std::to_string(r.frame.countByte) + ",\"raw\":\"" +
               hexBytes(r.frame.payload.data(), r.frame.payload.size()) + "\"}";
        return out;
    }
    for (int derived = 0; derived < 2; ++derived) {
        bool first = true;
        for (const Field& f : r.fields) {
            if (f.derived != (derived == 1)) continue;
            out += first ? (derived ? ",\"derived\":{" : ",\"fields\":{") : ",";
            first = false;
            appendText(out, f.name);
            out += ':';
            appendField(out, f);
        }
        if (!first)
            out += '}';
        else if (!derived)
            out += ",\"fields\":{}";
    }
    out += '}';
    return out;
}

Record recordFromJson(const Json& json) {
    if (!json.is_object()) throw Error("a record must be a JSON object");
    Record r;
    const Json& letter = json.contains("letter") ? json["letter"] : Json();
    if (letter.is_string() && letter.get<std::string>().size() == 1)
        r.frame.letter = static_cast<std::uint8_t>(letter.get<std::string>()[0]);
    else if (letter.is_number_integer() && letter.get<int>() >= 0 && letter.get<int>() <= 255)
        r.frame.letter = static_cast<std::uint8_t>(letter.get<int>());
    else
        throw Error("'letter' must be one character or a byte value");
    r.frame.group = json.contains("group") ? byteFromJson(json["group"], "group") : 0;
    r.frame.group2 = json.contains("group2") ? byteFromJson(json["group2"], "group2") : 0;
    if (json.contains("raw")) {
        if (!json["raw"].is_string()) throw Error("'raw' must be hexadecimal text");
        r.frame.payload = bytesFromHex(json["raw"].get<std::string>());
        const std::size_t words = r.frame.wordCount();
        r.frame.countByte = static_cast<std::uint8_t>(words < 255 ? words : 255);
        if (json.contains("count")) {
            const Json& count = json["count"];
            if (!count.is_number_integer() || count.get<int>() < 0 || count.get<int>() > 255)
                throw Error("'count' must be a byte value");
            r.frame.countByte = static_cast<std::uint8_t>(count.get<int>());
        }
        return r;
    }
    if (!json.contains("fields") || !json["fields"].is_object()) throw Error("a record needs 'fields' or 'raw'");
    for (const auto& item : json["fields"].items()) r.fields.push_back(fieldFromJson(item.key(), item.value()));
    r.hasFields = true;
    return r;
}

Json tailToJson(std::uint64_t offset, const std::string& reason, const std::vector<std::uint8_t>& bytes) {
    Json json;
    json["offset"] = offset;
    json["damage"] = reason;
    json["tail"] = hexBytes(bytes.data(), bytes.size());
    return json;
}

bool isTail(const Json& json) { return json.is_object() && json.contains("tail"); }

std::vector<std::uint8_t> tailBytes(const Json& json) {
    if (!json["tail"].is_string()) throw Error("'tail' must be hexadecimal text");
    return bytesFromHex(json["tail"].get<std::string>());
}

std::string jsonLine(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace tool
