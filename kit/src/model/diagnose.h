// Why a record is unsound, worked out from its frame; and, for the strict
// check, what is odd about its geometry.
#pragma once

#include <string>
#include <vector>

#include "model/record.h"

namespace gmdk {

// Faults of the record's layout. The library's verdict (code 0) is one input:
// a rejected record always gets at least one reason.
std::vector<std::string> structuralProblems(const Record& record);

// Geometry that reads fine but is likely wrong: degenerate elements,
// non-finite values, zero normals and axes.
std::vector<std::string> geometryWarnings(const Record& record);

}  // namespace gmdk
