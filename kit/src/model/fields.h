// A record's fields as the library's getters report them.
#pragma once

#include "model/record.h"

struct GMD_File;

namespace gmdk {

// Fills r.fields from the handle's current record, whose frame and type code
// r already holds. Returns false (and leaves no fields) when the fields would
// not describe the record: invalid, an unknown letter, a layout the getters
// cannot be trusted with, or a getter that refuses.
bool readFields(GMD_File* handle, Record& r);

}  // namespace gmdk
