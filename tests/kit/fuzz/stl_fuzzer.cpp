// STL importer harness: binary and ASCII STL from any bytes. A header that
// claims more triangles than the file holds must be refused, not allocated.
#include "import_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return gmdfuzz::importBytes("gmdk_stl_fuzz_", data, size, gmdk::readStl);
}
