// Where the sections of the variable-length records lie in their frame.
//
// Hinges, macro groups and NURBS surfaces carry counts that say how long the
// sections after them are. Reading their fields needs the section sizes before
// any getter is called (the getters do not bound their output), and checking
// a file needs the same sizes to say what is wrong. Both use these layouts.
#pragma once

#include <cstdint>
#include <string>

#include "model/record.h"

namespace gmdk {

// A hinge: name (counted string), type (counted string), point count n and
// 10 n floats, group count g and g groups.
struct HingeLayout {
    std::string problem;          // empty when the sections fill the record exactly
    std::int64_t points = 0;      // n
    std::int64_t groups = 0;      // g
};
HingeLayout hingeLayout(const RecordFrame& frame);

// A macro group: group count n, n groups, then optionally a counted name.
struct MacroGroupLayout {
    std::string problem;
    std::int64_t groups = 0;
    bool named = false;
};
MacroGroupLayout macroGroupLayout(const RecordFrame& frame);

// A NURBS surface: its word count, six counts (U knots, V knots, U and V
// control points, boundaries, hole origin) as floats, then knots, control
// points, weights, boundary dimensions and boundary points.
struct NurbsLayout {
    std::string problem;
    std::int64_t counts[6] = {0, 0, 0, 0, 0, 0};
    std::int64_t boundaryPoints = 0;   // the sum of the boundary dimensions
};
NurbsLayout nurbsLayout(const RecordFrame& frame);

}  // namespace gmdk
