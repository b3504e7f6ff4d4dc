// Read and write steps of the mesh record letters, merged into the core's
// letter table, with the record type codes of the polygon letters.
#pragma once

#include <array>

#include "../../include/gmd.h"
#include "../core/letter_steps.h"

namespace gmd {

// polygon.cpp: segments and polygons; 'P' first undergoes the legacy
// conversion, which may turn it into a segment.
bool readSegment(RecordFile& file);
// One entry per polygon letter, instantiated for 'p' and 'A'.
template <char letter>
bool readPolygon(RecordFile& file);
bool readLegacyPolygon(RecordFile& file);
// attributes.cpp: puts the attribute layout code into the second header byte.
void writeAttributedPolygon(RecordFile& file);
// wedge.cpp
bool readWedge(RecordFile& file);
// macro_group.cpp: accepts any word count; a record read has its group list.
bool readMacroGroup(RecordFile& file);

// 'v' has no row: any word count is valid and nothing is decoded.
inline constexpr std::array<LetterSteps, 9> kMeshSteps{{
    {'L', &readSegment, nullptr},
    {'l', &readSegment, nullptr},
    {'P', &readLegacyPolygon, nullptr, GMD_RECORD_TRIANGLE, GMD_RECORD_QUAD},
    {'p', &readPolygon<'p'>, nullptr, GMD_RECORD_VOLUME_TRIANGLE, GMD_RECORD_VOLUME_QUAD},
    {'A', &readPolygon<'A'>, &writeAttributedPolygon, GMD_RECORD_ATTRIBUTED_TRIANGLE, GMD_RECORD_ATTRIBUTED_QUAD},
    {'W', &readWedge, nullptr},
    {'w', &readWedge, nullptr},
    {'e', &readWedge, nullptr},
    {'U', &readMacroGroup, nullptr},
}};

}  // namespace gmd
