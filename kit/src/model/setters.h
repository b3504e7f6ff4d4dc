// A record's fields handed to the library's setters.
#pragma once

#include "model/record.h"

struct GMD_File;

namespace gmdk {

// Fills the handle's current record through the setters, group bytes
// included; false when a setter refused (the record is then left as far as it
// got). Throws Error when a field the record's letter needs is missing or of
// the wrong size.
bool setRecord(GMD_File* handle, const Record& record);

}  // namespace gmdk
