#include "json_codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "io.h"
#include "model/names.h"

namespace tool {

namespace {

using gmdk::Field;
using gmdk::Kind;
using gmdk::formatFloat;
using gmdk::kFloatTextSize;
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
    if (json.is_number_float() && json.get<double>() == 0) return 0;   // "-0"
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

// A JSON string needs at most this many characters per byte of text (a
// control character becomes \u00XX).
constexpr std::size_t kTextRoomPerByte = 6;

// The text as a JSON string. Plain ASCII needs no escapes; anything else goes
// through the JSON library, which also replaces bytes that are not UTF-8.
char* writeText(char* out, const std::string& text) {
    for (char c : text)
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') {
            const std::string json = Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
            return std::copy(json.begin(), json.end(), out);
        }
    *out++ = '"';
    out = std::copy(text.begin(), text.end(), out);
    *out++ = '"';
    return out;
}

template <std::size_t N>
char* writeLiteral(char* out, const char (&text)[N]) {
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

// The text of a float field value: a JSON number, or a string for what JSON
// has no number for.
char* writeFloat(char* out, float value) {
    if (std::isfinite(value)) return formatFloat(value, out);
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    *out++ = '"';
    if (bits == 0x7f800000u)
        out = writeLiteral(out, "inf");
    else if (bits == 0xff800000u)
        out = writeLiteral(out, "-inf");
    else if (bits == 0x7fc00000u)
        out = writeLiteral(out, "nan");
    else
        out += std::snprintf(out, 11, "0x%08x", bits);
    *out++ = '"';
    return out;
}

// An integer takes at most 20 characters, a float kFloatTextSize, either one
// a separator more.
constexpr std::size_t kValueRoom = kFloatTextSize + 1;

std::size_t fieldRoom(const Field& f) {
    const std::size_t name = kTextRoomPerByte * f.name.size() + 4;
    if (f.kind == Kind::Text) return name + kTextRoomPerByte * f.text.size() + 2;
    return name + f.size() * kValueRoom + 2;
}

char* writeValues(char* out, const Field& f) {
    if (f.kind == Kind::Text) return writeText(out, f.text);
    const std::size_t n = f.size();
    const bool list = !(f.scalar && n == 1);
    if (list) *out++ = '[';
    for (std::size_t i = 0; i < n; ++i) {
        if (i) *out++ = ',';
        if (f.kind == Kind::Float)
            out = writeFloat(out, f.floats[i]);
        else
            out = std::to_chars(out, out + 12, f.ints[i]).ptr;
    }
    if (list) *out++ = ']';
    return out;
}

template <typename Integer>
char* writeInteger(char* out, Integer value) {
    return std::to_chars(out, out + 24, value).ptr;
}

char* writeCount(char* out, std::uint64_t value) { return gmdk::formatCount(value, out); }

// The head's numbers and names besides the type text.
constexpr std::size_t kHeadRoom = 160;

}  // namespace

char* LineBuffer::grow(std::size_t n) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + n);
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (size_) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
    return data_.get() + size_;
}

void LineBuffer::append(const char* text, std::size_t n) {
    std::memcpy(reserve(n), text, n);
    size_ += n;
}

void LineBuffer::swap(LineBuffer& other) {
    data_.swap(other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
}

char* RecordLines::writeHead(char* out, const Record& r) {
    out = writeLiteral(out, "{\"record\":");
    out = writeCount(out, r.index);
    out = writeLiteral(out, ",\"offset\":");
    out = writeCount(out, r.frame.offset);
    out = std::copy(typeText_.begin(), typeText_.end(), out);
    out = writeLiteral(out, ",\"group\":");
    out = writeInteger(out, static_cast<int>(r.frame.group));
    out = writeLiteral(out, ",\"group2\":");
    return writeInteger(out, static_cast<int>(r.frame.group2));
}

void RecordLines::useType(const Record& r) {
    if (r.code == code_ && r.frame.letter == letter_ && !typeText_.empty()) return;
    code_ = r.code;
    letter_ = r.frame.letter;
    const std::string shown = letterText(letter_);
    const std::string type = typeName(code_, letter_);
    std::string text(kTextRoomPerByte * (shown.size() + type.size()) + 40, '\0');
    char* p = writeLiteral(&text[0], ",\"letter\":");
    p = shown.size() == 1 ? writeText(p, shown) : writeInteger(p, letter_);
    p = writeLiteral(p, ",\"type\":");
    p = writeText(p, type);
    text.resize(static_cast<std::size_t>(p - text.data()));
    typeText_ = text;
}

char* RecordLines::writeName(char* out, std::size_t index, const std::string& name) {
    if (index >= names_.size()) names_.resize(index + 1);
    Name& known = names_[index];
    if (known.name != name || known.text.empty()) {
        known.name = name;
        known.text.assign(kTextRoomPerByte * name.size() + 3, '\0');
        char* end = writeText(&known.text[0], name);
        *end++ = ':';
        known.text.resize(static_cast<std::size_t>(end - known.text.data()));
    }
    return std::copy(known.text.begin(), known.text.end(), out);
}

void RecordLines::appendRaw(LineBuffer& out, const Record& r) {
    useType(r);
    const std::size_t payload = r.frame.payload.size();
    char* p = writeHead(out.reserve(kHeadRoom + typeText_.size() + 2 * payload), r);
    p = writeLiteral(p, ",\"count\":");
    p = writeInteger(p, static_cast<int>(r.frame.countByte));
    p = writeLiteral(p, ",\"raw\":\"");
    static const char digits[] = "0123456789abcdef";
    for (std::uint8_t byte : r.frame.payload) {
        *p++ = digits[byte >> 4];
        *p++ = digits[byte & 15];
    }
    p = writeLiteral(p, "\"}");
    out.commit(p);
}

void RecordLines::append(LineBuffer& out, const Record& r) {
    if (!r.hasFields) return appendRaw(out, r);
    useType(r);
    std::size_t room = kHeadRoom + typeText_.size();
    for (const Field& f : r.fields) room += fieldRoom(f);
    char* p = writeHead(out.reserve(room), r);
    for (int derived = 0; derived < 2; ++derived) {
        bool first = true;
        for (std::size_t index = 0; index < r.fields.size(); ++index) {
            const Field& f = r.fields[index];
            if (f.derived != (derived == 1)) continue;
            if (first)
                p = derived ? writeLiteral(p, ",\"derived\":{") : writeLiteral(p, ",\"fields\":{");
            else
                *p++ = ',';
            first = false;
            p = writeName(p, index, f.name);
            p = writeValues(p, f);
        }
        if (!first)
            *p++ = '}';
        else if (!derived)
            p = writeLiteral(p, ",\"fields\":{}");
    }
    *p++ = '}';
    out.commit(p);
}

std::string recordLine(const Record& r) {
    LineBuffer out;
    RecordLines().append(out, r);
    return std::string(out.data(), out.size());
}

bool textSurvivesJson(const Record& r) {
    for (const Field& f : r.fields) {
        if (f.kind != Kind::Text) continue;
        try {
            (void)Json(f.text).dump();
        } catch (const Json::exception&) {
            return false;
        }
    }
    return true;
}

Json parseLine(const std::string& line) {
    // "-0" outside strings becomes "-0.0", which the parser keeps as a float.
    std::string text;
    bool inString = false;
    std::size_t copied = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '-' && i + 1 < line.size() && line[i + 1] == '0' &&
                   (i + 2 == line.size() || !std::strchr("0123456789.eE", line[i + 2]))) {
            text.append(line, copied, i + 2 - copied);
            text += ".0";
            copied = i + 2;
        }
    }
    if (copied == 0) return Json::parse(line);
    text.append(line, copied, std::string::npos);
    return Json::parse(text);
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
