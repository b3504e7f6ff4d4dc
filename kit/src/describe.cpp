// gmdk_describe: one line of plain English for a status and its report, the
// message every front end (tool, Python, Fortran) shows for a file.
#include <cinttypes>
#include <cstdio>

#include "gmdkit.h"

namespace {

// "(after record 6)" or "(before the first record)".
void afterRecord(const GMDK_Report& r, char* text, std::size_t size) {
    if (r.last_good_record >= 0)
        std::snprintf(text, size, " (after record %" PRId64 ")", r.last_good_record);
    else
        std::snprintf(text, size, " (before the first record)");
}

}  // namespace

extern "C" size_t gmdk_describe(int status, const GMDK_Report* report, char* text, size_t size) {
    char scratch[1];
    if (text == nullptr || size == 0) {
        text = scratch;
        size = 1;
    }
    if (report == nullptr) {
        const char* plain = "unknown status";
        switch (status) {
            case GMDK_STATUS_OK: plain = "ok"; break;
            case GMDK_STATUS_OPEN_FAILED: plain = "cannot open the file"; break;
            case GMDK_STATUS_DAMAGED: plain = "the file is damaged"; break;
            case GMDK_STATUS_NOT_GMD: plain = "not a GMD file"; break;
            case GMDK_STATUS_NO_MEMORY: plain = "out of memory"; break;
            case GMDK_STATUS_BAD_ARGUMENT: plain = "invalid argument"; break;
            case GMDK_STATUS_WRITE_FAILED: plain = "cannot write the file"; break;
            case GMDK_STATUS_READ_FAILED: plain = "cannot read the file"; break;
        }
        return static_cast<size_t>(std::snprintf(text, size, "%s", plain));
    }
    const GMDK_Report& r = *report;
    char after[64];
    afterRecord(r, after, sizeof after);
    const unsigned long long at = r.stop_offset;
    int wanted = 0;
    switch (status) {
        case GMDK_STATUS_OPEN_FAILED:
            wanted = std::snprintf(text, size, "cannot open: %s", r.reason);
            break;
        case GMDK_STATUS_READ_FAILED:
            wanted = std::snprintf(text, size, "cannot read at byte %llu: %s%s", at,
                                   r.reason, after);
            break;
        case GMDK_STATUS_NO_MEMORY:
            wanted = std::snprintf(text, size, "out of memory%s%s", r.reason[0] ? ": " : "", r.reason);
            break;
        case GMDK_STATUS_BAD_ARGUMENT:
            wanted = std::snprintf(text, size, "invalid argument%s%s", r.reason[0] ? ": " : "", r.reason);
            break;
        case GMDK_STATUS_WRITE_FAILED:
            wanted = std::snprintf(text, size, "cannot write%s%s", r.reason[0] ? ": " : "", r.reason);
            break;
        default:
            // OK (also a damaged file read with GMDK_KEEP_DAMAGED), DAMAGED and
            // NOT_GMD: the report's stop says which.
            if (r.stop == GMDK_STOP_END)
                wanted = std::snprintf(text, size, "clean end after %llu record(s), %llu bytes",
                                       static_cast<unsigned long long>(r.frames),
                                       static_cast<unsigned long long>(r.file_size));
            else if (r.stop == GMDK_STOP_NOT_GMD)
                wanted = std::snprintf(text, size, "not a GMD file: %s", r.reason);
            else
                wanted = std::snprintf(text, size, "damaged at byte %llu: %s%s", at, r.reason, after);
            break;
    }
    return wanted < 0 ? 0 : static_cast<size_t>(wanted);
}
