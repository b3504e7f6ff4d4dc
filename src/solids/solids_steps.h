// Read and write steps of the solids record letters, merged into the core's
// letter table.
#pragma once

#include <array>

#include "../core/letter_steps.h"

namespace gmd {

inline constexpr std::array<LetterSteps, 0> kSolidsSteps{};

}  // namespace gmd
