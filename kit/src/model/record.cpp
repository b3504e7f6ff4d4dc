#include "model/record.h"

#include <cstring>

namespace gmdk {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::int32_t RecordFrame::intWord(std::size_t i) const {
    std::uint8_t word[4] = {0, 0, 0, 0};
    for (std::size_t b = 0; b < 4 && 4 * i + b < payload.size(); ++b) word[b] = payload[4 * i + b];
    return static_cast<std::int32_t>(le32(word));
}

float RecordFrame::floatWord(std::size_t i) const {
    const std::uint32_t bits = static_cast<std::uint32_t>(intWord(i));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::vector<std::uint8_t> RecordFrame::bytes() const {
    std::vector<std::uint8_t> out;
    const std::uint32_t length = static_cast<std::uint32_t>(payload.size() + 4);
    out.reserve(payload.size() + 12);
    put32(out, length);
    out.push_back(letter);
    out.push_back(countByte);
    out.push_back(static_cast<std::uint8_t>(group));
    out.push_back(static_cast<std::uint8_t>(group2));
    out.insert(out.end(), payload.begin(), payload.end());
    put32(out, length);
    return out;
}

Field floatField(const std::string& name, std::vector<float> values, bool scalar) {
    Field f;
    f.name = name;
    f.kind = Kind::Float;
    f.scalar = scalar;
    f.floats = std::move(values);
    return f;
}

Field intField(const std::string& name, std::vector<std::int32_t> values, bool scalar) {
    Field f;
    f.name = name;
    f.kind = Kind::Int;
    f.scalar = scalar;
    f.ints = std::move(values);
    return f;
}

Field textField(const std::string& name, std::string text) {
    Field f;
    f.name = name;
    f.kind = Kind::Text;
    f.scalar = true;
    f.text = std::move(text);
    return f;
}

const Field* Record::find(std::string_view name) const {
    for (const Field& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

const Field& Record::floats(const std::string& name, std::size_t count) const {
    const Field* f = find(name);
    if (!f || f->kind != Kind::Float) throw Error("missing number field '" + name + "'");
    if (count && f->floats.size() != count)
        throw Error("field '" + name + "' needs " + std::to_string(count) + " number(s)");
    return *f;
}

const Field& Record::ints(const std::string& name, std::size_t count) const {
    const Field* f = find(name);
    if (!f || f->kind != Kind::Int) throw Error("missing integer field '" + name + "'");
    if (count && f->ints.size() != count)
        throw Error("field '" + name + "' needs " + std::to_string(count) + " integer(s)");
    return *f;
}

const std::string& Record::text(const std::string& name) const {
    const Field* f = find(name);
    if (!f || f->kind != Kind::Text) throw Error("missing text field '" + name + "'");
    return f->text;
}

}  // namespace gmdk
