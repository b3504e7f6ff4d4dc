// The record type letters of the GMD format: the one list in gmdkit of the
// letters a record can carry, with the name of what each stands for. libgmd
// reads every other byte in the letter position as a valid record of no
// family; the scanner looks here to decide whether a file's first frame is
// GMD at all.
#pragma once

#include <cstdint>

namespace gmdk {

struct RecordLetter {
    char letter;
    const char* name;
};

inline constexpr RecordLetter kRecordLetters[] = {
    {'A', "attributed polygon"},
    {'C', "circular cylinder"},
    {'D', "disk"},
    {'E', "elliptical cylinder"},
    {'F', "cone"},
    {'G', "tolerance"},
    {'H', "hinge"},
    {'L', "segment"},
    {'M', "material name of a group"},
    {'N', "NURBS surface"},
    {'O', "junction"},
    {'P', "polygon"},
    {'R', "scatterer"},
    {'S', "sphere"},
    {'U', "macro group"},
    {'W', "wedge"},
    {'Z', "junction group name"},
    {'e', "edge"},
    {'l', "segment with volume"},
    {'m', "material name of a volume"},
    {'p', "volume polygon"},
    {'v', "scattered vertex"},
    {'w', "wedge with adjacent polygons"},
};

// Name of the record type a letter stands for, or null for a byte that no
// record type uses (0, the empty record, among them).
constexpr const char* recordLetterName(std::uint8_t byte) {
    for (const RecordLetter& known : kRecordLetters)
        if (static_cast<std::uint8_t>(known.letter) == byte) return known.name;
    return nullptr;
}

constexpr bool isRecordLetter(std::uint8_t byte) { return recordLetterName(byte) != nullptr; }

}  // namespace gmdk
