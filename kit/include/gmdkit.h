/*
 * gmdkit.h - the client layer above libgmd.
 *
 * libgmd answers one record at a time and has one error channel, a 0. The
 * programs built on it (the gmd tool, the Python and Fortran bindings) need
 * more: why reading stopped, whole meshes as arrays, conversions. gmdkit is
 * that layer, shared by all of them. It reads and writes records only through
 * libgmd's exports, except for the frame scanner, which looks at the bytes to
 * say where and why a file stops.
 *
 * Conventions:
 *   - Functions return a GMDK_STATUS_* value: 0 for success, a positive code
 *     for failure. They never abort, never throw and never print.
 *   - Failures that concern a file fill the caller's GMDK_Report (when one is
 *     given) with the errno of a failed open or the stop of a damaged file.
 *   - Arrays belong to the caller and are sized from the counts a first call
 *     returned; no pointer is retained after a call.
 *   - No global state: handles are independent and may live on different
 *     threads; one handle is used by one thread at a time.
 */
#ifndef GMDKIT_H
#define GMDKIT_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(GMDKIT_BUILDING_LIBRARY)
#    define GMDKIT_API __declspec(dllexport)
#  else
#    define GMDKIT_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) || defined(__clang__)
#  define GMDKIT_API __attribute__((visibility("default")))
#else
#  define GMDKIT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------ */
/* Status codes                                                        */
/* ------------------------------------------------------------------ */

#define GMDK_STATUS_OK 0
#define GMDK_STATUS_OPEN_FAILED 1   /* the file could not be opened; report.os_error holds errno */
#define GMDK_STATUS_DAMAGED 2       /* a frame is damaged; report.stop says how, report.stop_offset where */
#define GMDK_STATUS_NOT_GMD 3       /* the first frame is implausible: not a GMD file */
#define GMDK_STATUS_NO_MEMORY 4
#define GMDK_STATUS_BAD_ARGUMENT 5  /* a null pointer, a negative count, an index out of range */
#define GMDK_STATUS_WRITE_FAILED 6  /* libgmd refused a record or the file could not be written */
#define GMDK_STATUS_READ_FAILED 7   /* an I/O error while reading (not damage) */

/* ------------------------------------------------------------------ */
/* Scan and diagnose                                                   */
/* ------------------------------------------------------------------ */

/* Why reading a file stopped. */
#define GMDK_STOP_END 0             /* clean end: the last frame ended at the end of the file */
#define GMDK_STOP_TRUNCATED 1       /* the file ends inside a frame (length, header, payload or trailer cut off) */
#define GMDK_STOP_SHORT_LENGTH 2    /* a frame's length field is below 4 */
#define GMDK_STOP_TRAILER 3         /* a frame's trailing length differs from its leading length */
#define GMDK_STOP_NOT_GMD 4         /* the first frame is so implausible that the file is not a GMD file */
#define GMDK_STOP_UNREADABLE 5      /* the file could not be opened or read (report.os_error) */

/* What a scan found. Filled by gmdk_scan_file and by every reading call that
 * takes one. */
typedef struct GMDK_Report {
    int32_t stop;                   /* GMDK_STOP_* */
    int32_t os_error;               /* errno of a failed open or read, else 0 */
    uint64_t file_size;             /* bytes in the file */
    uint64_t stop_offset;           /* byte offset of the first unreadable frame; file_size at a clean end */
    uint64_t frames;                /* good frames before the stop */
    int64_t last_good_record;       /* index of the last good record (frames - 1); -1 when none */
    uint64_t letters[256];          /* good frames by record type letter */
    char reason[200];               /* the stop in words, NUL-terminated; "" at a clean end */
} GMDK_Report;

/* Scans the frames of a file in one pass at constant memory. Returns
 * GMDK_STATUS_OK at a clean end, GMDK_STATUS_DAMAGED or GMDK_STATUS_NOT_GMD
 * at a damaged or foreign file, GMDK_STATUS_OPEN_FAILED or
 * GMDK_STATUS_READ_FAILED when the file cannot be read (a folder gives
 * EISDIR). The report is filled in every case. */
GMDKIT_API int gmdk_scan_file(const char *path, GMDK_Report *report);

/* The same over bytes in memory. */
GMDKIT_API int gmdk_scan_bytes(const uint8_t *bytes, size_t size, GMDK_Report *report);

/* One line for a status and its report, e.g.
 * "damaged at byte 4096: trailer 28 differs from length 44 (after record 6)";
 * NUL-terminated and cut to fit `size`. Returns the length it wanted. */
GMDKIT_API size_t gmdk_describe(int status, const GMDK_Report *report, char *text, size_t size);

/* ------------------------------------------------------------------ */
/* Whole meshes as arrays                                              */
/* ------------------------------------------------------------------ */

/* One kind of cell: segments (2 corners), triangles (3) or quads (4). Every
 * pointer may be null, then that array is neither filled nor read. */
typedef struct GMDK_Cells {
    int64_t count;                  /* cells of this kind */
    int64_t *corners;               /* count * k point indices, 0-based */
    int32_t *group;                 /* count: the group byte of the record */
    int32_t *volume;                /* count * 2: the volume numbers, 0 where the record has none
                                       (a segment has one: [volume, 0]) */
    int64_t *record;                /* count: index of the record in the file, 0-based */
} GMDK_Cells;

/* A mesh: points and the three kinds of cells. */
typedef struct GMDK_Mesh {
    int64_t point_count;
    float *points;                  /* point_count * 3: x, y, z */
    GMDK_Cells segments;
    float *segment_radius;          /* segments.count: radius, 0 where the record has none */
    GMDK_Cells triangles;
    GMDK_Cells quads;
} GMDK_Mesh;

/* Options of gmdk_mesh_open. */
#define GMDK_MERGE_POINTS 1         /* one point for exactly equal coordinates (bitwise, -0 == 0) */
#define GMDK_KEEP_DAMAGED 2         /* at damage keep what came before it and return GMDK_STATUS_OK;
                                       the report still says where reading stopped */

/* A mesh being read: counted on open, filled on demand. */
typedef struct GMDK_MeshReader GMDK_MeshReader;

/* First pass: opens the file, counts its points and cells (the records
 * GMD_RECORD_* 1-6, 'L' and 'l'; everything else is skipped) and leaves the
 * counts in `counts` (its pointers are not touched). Returns
 * GMDK_STATUS_DAMAGED or GMDK_STATUS_NOT_GMD, with *reader null, when the
 * file is damaged and GMDK_KEEP_DAMAGED is not given. */
GMDKIT_API int gmdk_mesh_open(const char *path, int options, GMDK_MeshReader **reader, GMDK_Mesh *counts,
                              GMDK_Report *report);

/* Second pass: fills the arrays the caller sized from the counts. */
GMDKIT_API int gmdk_mesh_fill(GMDK_MeshReader *reader, GMDK_Mesh *mesh);

GMDKIT_API void gmdk_mesh_close(GMDK_MeshReader *reader);

/* Writes a mesh through libgmd's setters: a segment as 'L' with its radius
 * (or 'l' when it has a volume), a triangle or quad as 'P' (or 'p' when it has
 * a volume), each with its group. Cells are written segments, triangles, then
 * quads, unless every given kind has its record array, then in record order.
 * `append` non-zero appends to an existing file. */
GMDKIT_API int gmdk_mesh_write(const char *path, const GMDK_Mesh *mesh, int append, GMDK_Report *report);

/* Version of the client layer, "1.0.0". */
GMDKIT_API const char *gmdk_version(void);

#ifdef __cplusplus
}
#endif

#endif /* GMDKIT_H */
