#pragma once

#include <array>

#include "letter_steps.h"

namespace gmd {

using LetterTable = std::array<LetterSteps, 256>;

// The steps of every letter, indexed by the letter byte; a row without a read
// step means "valid, nothing decoded", one without a write step "written as
// it stands".
extern const LetterTable kLetterTable;
inline const LetterTable& letterTable() { return kLetterTable; }

// The record type code of every letter, as a triangle ([0]) and as a quad
// ([1]): the rows' polygon codes, else the letter byte as a signed value.
// Kept apart from the rows so that GetRecordType is one small load.
using TypeCodeTable = std::array<std::array<std::int8_t, 2>, 256>;
extern const TypeCodeTable kTypeCodes;

}  // namespace gmd
