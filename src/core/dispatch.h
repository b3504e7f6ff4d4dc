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

}  // namespace gmd
