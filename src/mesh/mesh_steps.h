// Read and write steps of the mesh record letters, merged into the core's
// letter table.
#pragma once

#include <array>

#include "../core/letter_steps.h"

namespace gmd {

inline constexpr std::array<LetterSteps, 0> kMeshSteps{};

}  // namespace gmd
