// Scanner harness: any bytes are scanned in memory and as a file; both
// verdicts must agree, and the good frames must tile the bytes up to the
// stop exactly.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "getters.h"
#include "gmdkit.h"
#include "scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = gmdfuzz::scratchPath("gmdk_scan_fuzz_");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);

    gmdk::FrameScanner scan(gmdk::FrameScanner::Payloads::Keep);
    if (scan.openFile(path.c_str()) != GMDK_STATUS_OK) return 0;
    uint64_t end = 0;
    while (scan.next()) {
        const gmdk::Frame& f = scan.frame();
        if (f.offset != end || f.length < 4 || std::memcmp(scan.payload(), data + f.offset + 8, f.payloadSize()) != 0)
            std::abort();
        end += f.size();
    }
    GMDK_Report inMemory;
    const int status = gmdk_scan_bytes(data, size, &inMemory);
    const GMDK_Report& fromFile = scan.report();
    if (status != scan.status() || inMemory.stop_offset != end || fromFile.stop_offset != end ||
        inMemory.frames != fromFile.frames || (status == GMDK_STATUS_OK) != (end == size))
        std::abort();
    char text[64];
    gmdk_describe(status, &inMemory, text, sizeof text);
    return 0;
}
