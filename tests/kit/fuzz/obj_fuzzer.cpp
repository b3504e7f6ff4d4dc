// OBJ importer harness: faces of any corner count, groups, negative and
// out-of-range indices, text that is not OBJ.
#include "import_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return gmdfuzz::importBytes("gmdk_obj_fuzz_", data, size, gmdk::readObj);
}
