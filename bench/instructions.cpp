// The library's side of the triangle loops, for counting instructions under
// callgrind: `gmd_bench_calls write|read FILE N`. The calls are collected
// with --toggle-collect=GMD_*, so the count covers the library and the
// runtime code it calls, and a run with N = 0 removes opening and closing.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gmd.h"
#include "workload.h"

using namespace gmdbench;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s write|read FILE N\n", argv[0]);
        return 2;
    }
    const long long n = std::atoll(argv[3]);
    Checksum made, seen;
    if (std::strcmp(argv[1], "write") == 0) {
        GMD_File* out = GMD_OpenWriteFile(argv[2]);
        if (out == nullptr) return 1;
        float v[9];
        for (long long i = 0; i < n; ++i) {
            triangle(i, v);
            if (!GMD_SetTriangle(out, v) || !GMD_WriteRecord(out)) return 1;
        }
        GMD_CloseFile(out);
        return 0;
    }
    GMD_File* in = GMD_OpenReadFile(argv[2]);
    if (in == nullptr) return 1;
    float v[9];
    long long count = 0;
    while (GMD_GetRecord(in)) {
        if (GMD_GetRecordType(in) != GMD_RECORD_TRIANGLE || !GMD_GetTriangle(in, v)) return 1;
        seen.add(v, 9);
        ++count;
    }
    GMD_CloseFile(in);
    for (long long i = 0; i < n; ++i) {
        triangle(i, v);
        made.add(v, 9);
    }
    if (count != n || seen != made) {
        std::fprintf(stderr, "read %lld of %lld records, checksum %s\n", count, n, seen == made ? "equal" : "differs");
        return 1;
    }
    return 0;
}
