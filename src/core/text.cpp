#include "text.h"

#include <cstring>

namespace gmd {
namespace {

// A longer text fills no record, and L then still fits an int32.
constexpr std::size_t kLongestText = 4 * std::size_t{kMaxRecordWords};

void writePadded(RecordBuffer& record, std::int32_t firstWord, const char* text, std::size_t m, std::int32_t padded) {
    const std::int64_t base = std::int64_t{firstWord} * 4;
    for (std::int32_t b = 0; b < padded; ++b) {
        const char c = static_cast<std::size_t>(b) < m ? text[b] : static_cast<char>(kSpace);
        record.setByte(base + b, static_cast<std::uint8_t>(c));
    }
}

}  // namespace

std::int32_t paddedLength(const char* text) {
    if (text == nullptr) return -1;
    std::size_t m = std::strlen(text);
    if (m > kLongestText) return -1;
    return static_cast<std::int32_t>((m + 3) & ~std::size_t{3});
}

bool assignPadded(RecordBuffer& record, const char* text) {
    std::int32_t padded = paddedLength(text);
    if (padded < 0) return false;
    record.resize(padded / 4);
    writePadded(record, 0, text, std::strlen(text), padded);
    return true;
}

bool appendCounted(RecordBuffer& record, const char* text) {
    const std::int32_t padded = paddedLength(text);
    const std::int32_t first = padded < 0 ? -1 : appendCountedBlock(record, padded, kTextBytes);
    if (first < 0) return false;
    writePadded(record, first, text, std::strlen(text), padded);
    return true;
}

void copyText(const RecordBuffer& record, std::int32_t firstWord, std::int32_t bytes, char* out) {
    const std::int64_t base = std::int64_t{firstWord} * 4;
    for (std::int32_t b = 0; b < bytes; ++b) {
        out[b] = static_cast<char>(record.byte(base + b));
        if (out[b] == '\0') return;
    }
    out[bytes < 0 ? 0 : bytes] = '\0';
}

void copyText(const std::string& text, char* out) {
    // c_str() supplies the terminator when the text holds no NUL of its own.
    std::strcpy(out, text.c_str());
}

std::int32_t countedLength(const RecordBuffer& record, std::int64_t word) {
    std::int32_t bytes = -1;
    return countedBlock(record, word, kTextBytes, bytes) && bytes >= 0 ? bytes : -1;
}

std::string storedText(const RecordBuffer& record, std::int32_t firstWord, std::int32_t bytes) {
    std::string text(static_cast<std::size_t>(bytes < 0 ? 0 : bytes), '\0');
    const std::int64_t base = std::int64_t{firstWord} * 4;
    for (std::int32_t b = 0; b < bytes; ++b) text[static_cast<std::size_t>(b)] = static_cast<char>(record.byte(base + b));
    return text;
}

}  // namespace gmd
