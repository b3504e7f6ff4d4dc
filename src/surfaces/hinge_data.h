// HingeData: the decoded form of the last hinge ('H') record a handle read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gmd {

struct HingeData {
    std::string name;                // as stored, padding spaces included
    std::string type;                // as stored, padding spaces included
    std::vector<float> pointValues;  // ten values per hinge point
    std::vector<std::int32_t> groups;
};

}  // namespace gmd
