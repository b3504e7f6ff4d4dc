// Read and write steps of the surfaces record letters, merged into the core's
// letter table.
//
// 'N' is the one letter whose words are produced by an encoder: its accessors
// work on the handle's NurbsModel, which the write step serialises and the
// read step rebuilds. 'H' records are decoded into the handle's HingeData.
// 'O', 'M', 'm' and 'Z' need no step: their accessors read the words.
#pragma once

#include <array>

#include "../core/letter_steps.h"

namespace gmd {

// Checks an 'N' record and, when it holds a whole surface, replaces the
// NurbsModel with it; an invalid record leaves the model as it was.
bool readNurbsRecord(RecordFile& file);
// Replaces the record's words with the encoding of the NurbsModel.
void writeNurbsRecord(RecordFile& file);
// Checks an 'H' record and, when every section lies inside it, replaces the
// HingeData with its contents; an invalid record leaves the data as it was.
bool readHingeRecord(RecordFile& file);

inline constexpr std::array<LetterSteps, 2> kSurfacesSteps{{
    {'N', readNurbsRecord, writeNurbsRecord},
    {'H', readHingeRecord, nullptr},
}};

}  // namespace gmd
