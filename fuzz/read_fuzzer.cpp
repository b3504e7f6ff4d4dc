// Reader harness: any bytes become a file, which is read to the end; after
// every record the type is asked and every getter is called.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "getters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = gmdfuzz::scratchPath("gmd_read_fuzz_");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);

    GMD_File* h = GMD_OpenReadFile(path.c_str());
    if (h == nullptr) return 0;
    while (GMD_GetRecord(h)) gmdfuzz::callGetters(h, size);
    // After the end every getter must still be safe.
    gmdfuzz::callGetters(h, size);
    GMD_CloseFile(h);
    return 0;
}
