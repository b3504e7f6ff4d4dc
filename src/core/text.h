// Text in record words.
//
// A padded string is the text up to its NUL (m bytes, NUL not stored) followed
// by spaces up to L = the smallest multiple of 4 not below m, packed four
// bytes a word in byte order. A counted string is an int32 word holding L
// followed by the padded string.
#pragma once

#include <cstdint>
#include <string>

#include "access.h"
#include "record_buffer.h"

namespace gmd {

// The space that pads text to whole words. Junction records and junction
// group name records carry it as their second header byte too.
constexpr std::int8_t kSpace = 0x20;

// L for a text, or -1 when the text is too long for a record.
std::int32_t paddedLength(const char* text);

// Replaces all words of the record with the padded text.
bool assignPadded(RecordBuffer& record, const char* text);

// Appends L and the padded text behind the last word.
bool appendCounted(RecordBuffer& record, const char* text);

// Copies `bytes` bytes starting at word `firstWord` into out, stopping after
// the first NUL, and always terminates out. The caller has checked that the
// record holds the bytes.
void copyText(const RecordBuffer& record, std::int32_t firstWord, std::int32_t bytes, char* out);

// The same for text already taken out of a record.
void copyText(const std::string& text, char* out);

// L of the counted string whose length word is `word`, or -1 when that word
// is missing, L is negative or the L bytes run past the last word.
std::int32_t countedLength(const RecordBuffer& record, std::int64_t word);

// The `bytes` bytes from word `firstWord` on, as stored (padding and any NUL
// included). The caller has checked that the record holds them.
std::string storedText(const RecordBuffer& record, std::int32_t firstWord, std::int32_t bytes);

}  // namespace gmd
