// The canonical solid letters: each family's letter, its fixed word count,
// and the read step that checks (and, for 'E' and 'F', decodes) a record
// just read. No solid needs a write step: its words are written as they
// stand.
#pragma once

#include <array>

#include "../core/letter_steps.h"
#include "solid_rules.h"

namespace gmd {

inline constexpr SolidFamily kSphere{'S', 4};
inline constexpr SolidFamily kScatterer{'R', 5};
inline constexpr SolidFamily kDisk{'D', 7};
inline constexpr SolidFamily kCircularCylinder{'C', 7};
inline constexpr SolidFamily kEllipticalCylinder{'E', 15};
inline constexpr SolidFamily kCone{'F', 17};

// Fill RecordFile::ellipticalCylinder and RecordFile::cone.
bool readEllipticalCylinder(RecordFile& file);
bool readCone(RecordFile& file);

inline constexpr std::array<LetterSteps, 6> kSolidsSteps{{
    {kSphere.letter, hasWords<kSphere.words>, nullptr},
    {kScatterer.letter, hasWords<kScatterer.words>, nullptr},
    {kDisk.letter, hasWords<kDisk.words>, nullptr},
    {kCircularCylinder.letter, hasWords<kCircularCylinder.words>, nullptr},
    {kEllipticalCylinder.letter, readEllipticalCylinder, nullptr},
    {kCone.letter, readCone, nullptr},
}};

}  // namespace gmd
