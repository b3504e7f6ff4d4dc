/*
 * gmd_bench_loops write|read FILE N
 *
 * The baseline other benchmarks divide by: the plainest loop a C program
 * writes to read or write N triangles through libgmd. It prints the seconds
 * the loop took (opening and closing the file included) on stdout, nothing
 * else, so that scripts can read it directly. `read` reads every record of
 * FILE and checks that there are N triangles; N = 0 accepts any count.
 */
#if !defined(_WIN32)
#  define _POSIX_C_SOURCE 199309L
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <time.h>
#endif

#include "gmd.h"

static double now_seconds(void) {
#if defined(_WIN32)
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart / (double)frequency.QuadPart;
#else
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + 1e-9 * (double)t.tv_nsec;
#endif
}

/* Triangle i: exact in float32 and different from its neighbours, so that
 * nothing downstream can fold equal records together. */
static void triangle(long long i, float v[9]) {
    const float base = (float)(i % 1000003) * 0.25f;
    int k;
    for (k = 0; k < 9; ++k) v[k] = base + (float)k;
}

static int write_loop(const char *path, long long n) {
    float v[9];
    long long i;
    GMD_File *out = GMD_OpenWriteFile(path);
    if (!out) return 0;
    for (i = 0; i < n; ++i) {
        triangle(i, v);
        if (!GMD_SetTriangle(out, v) || !GMD_WriteRecord(out)) {
            GMD_CloseFile(out);
            return 0;
        }
    }
    return GMD_CloseFile(out) == 1;
}

/* The sum of the coordinates read keeps the compiler from dropping the
 * getter and is printed on stderr. */
static int read_loop(const char *path, long long n) {
    float v[9];
    double sum = 0;
    long long count = 0;
    int k;
    GMD_File *in = GMD_OpenReadFile(path);
    if (!in) return 0;
    while (GMD_GetRecord(in)) {
        if (GMD_GetRecordType(in) == GMD_RECORD_TRIANGLE && GMD_GetTriangle(in, v)) {
            for (k = 0; k < 9; ++k) sum += v[k];
            ++count;
        }
    }
    GMD_CloseFile(in);
    fprintf(stderr, "%lld triangles, coordinate sum %.6g\n", count, sum);
    return n == 0 || count == n;
}

int main(int argc, char **argv) {
    double start;
    long long n;
    int ok;
    char *end = NULL;
    if (argc != 4 || (strcmp(argv[1], "write") != 0 && strcmp(argv[1], "read") != 0)) {
        fprintf(stderr, "usage: gmd_bench_loops write|read FILE N\n");
        return 2;
    }
    n = strtoll(argv[3], &end, 10);
    if (*argv[3] == '\0' || *end != '\0' || n < 0) {
        fprintf(stderr, "gmd_bench_loops: N must be a count, not '%s'\n", argv[3]);
        return 2;
    }
    start = now_seconds();
    ok = argv[1][0] == 'w' ? write_loop(argv[2], n) : read_loop(argv[2], n);
    if (!ok) {
        fprintf(stderr, "gmd_bench_loops: %s of %s failed\n", argv[1], argv[2]);
        return 1;
    }
    printf("%.6f\n", now_seconds() - start);
    return 0;
}
