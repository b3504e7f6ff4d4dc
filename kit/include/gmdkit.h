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
 * EISDIR). The report is filled in every case.
 *
 * A frame is good when its length field L is at least 4, the file holds its
 * L + 8 bytes and its trailing length equals L; the scan stops at the first
 * frame that is not, which is exactly where GMD_GetRecord stops. Any letter
 * is good after the first frame (libgmd reads every letter). An empty file
 * is a clean end with no records. The first frame decides whether the file
 * is GMD at all: a length below 4 or beyond the file, a cut-off header, a
 * trailer that differs, or a letter that no record type uses (0, the empty
 * record, included) give GMDK_STATUS_NOT_GMD with stop GMDK_STOP_NOT_GMD.
 * A length field is never trusted for memory: a frame larger than the read
 * buffer is passed over, not loaded. A null path gives
 * GMDK_STATUS_BAD_ARGUMENT. */
GMDKIT_API int gmdk_scan_file(const char *path, GMDK_Report *report);

/* The same over `size` bytes in memory, which are only read. `bytes` may be
 * null when `size` is 0; otherwise a null gives GMDK_STATUS_BAD_ARGUMENT. */
GMDKIT_API int gmdk_scan_bytes(const uint8_t *bytes, size_t size, GMDK_Report *report);

/* One line of plain English for a status and its report, e.g.
 * "damaged at byte 4096: trailer 28 differs from length 44 (after record 6)",
 * "not a GMD file: the first frame's letter 0x23 is no record type",
 * "cannot open: it is a folder, not a file", "clean end after 7 record(s),
 * 316 bytes". Record numbers are 0-based indices, as in last_good_record.
 * The line does not name the file: the caller, who knows it, does. With a
 * null report the line names the status only. GMDK_STATUS_OK with a report
 * whose stop is not GMDK_STOP_END (a damaged file read with
 * GMDK_KEEP_DAMAGED) describes the damage. NUL-terminated and cut to fit
 * `size`; `text` may be null when `size` is 0. Returns the length it wanted,
 * not counting the NUL, as snprintf does. */
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
 * file is damaged and GMDK_KEEP_DAMAGED is not given.
 *
 * The file is scanned first (as gmdk_scan_file, whose report lands in
 * `report` when given) and libgmd is then asked for the good records only,
 * so a damaged frame is never taken for the end. libgmd decides what each
 * record is: a record it finds invalid (type 0) is skipped like any record
 * of another family. GMDK_KEEP_DAMAGED keeps the records before damage; a
 * file that is not GMD (GMDK_STATUS_NOT_GMD) has none and is refused all the
 * same. Without GMDK_MERGE_POINTS the point count is the sum of the cells'
 * corners; with it, the number of distinct points (equal bit patterns once
 * -0.0 is taken as 0.0, so a NaN coordinate merges only with the same NaN
 * bits), kept in memory until gmdk_mesh_close (GMDK_STATUS_NO_MEMORY when
 * they do not fit, or number more than 2^32 - 1). Other option bits and null
 * pointers give GMDK_STATUS_BAD_ARGUMENT; a file that cannot be opened gives
 * GMDK_STATUS_OPEN_FAILED (EISDIR for a folder). */
GMDKIT_API int gmdk_mesh_open(const char *path, int options, GMDK_MeshReader **reader, GMDK_Mesh *counts,
                              GMDK_Report *report);

/* Second pass: fills the arrays the caller sized from the counts. The counts
 * in `mesh` must be those gmdk_mesh_open returned, else
 * GMDK_STATUS_BAD_ARGUMENT and nothing is written. Cells of each kind come
 * in file order. Without GMDK_MERGE_POINTS every corner of every cell is a
 * new point, numbered in file order; with it, points are numbered in order
 * of first appearance and keep the bits of that first occurrence. A segment's
 * volume is [its volume, 0] for 'l' and [0, 0] for 'L'; a polygon's is its
 * two volume numbers for 'p' and [0, 0] otherwise; a radius is 0 for a
 * 6-word 'L'. GMDK_STATUS_READ_FAILED when the file no longer reads as it did
 * on opening (changed or cut in between; the arrays are then partly filled).
 * May be called again; each call reads the file anew. */
GMDKIT_API int gmdk_mesh_fill(GMDK_MeshReader *reader, GMDK_Mesh *mesh);

/* Frees the reader; a null reader is ignored. */
GMDKIT_API void gmdk_mesh_close(GMDK_MeshReader *reader);

/* Writes a mesh through libgmd's setters: a segment as 'L' with its radius
 * (or 'l' when it has a volume), a triangle or quad as 'P' (or 'p' when it has
 * a volume), each with its group. Cells are written segments, triangles, then
 * quads, unless every given kind has its record array, then in record order.
 * `append` non-zero appends to an existing file.
 *
 * In detail: a segment is a 7-word 'L' when segment_radius is given and a
 * 6-word 'L' when it is null; it has a volume when its volume[0] is not 0.
 * A polygon has a volume when either of its two numbers is not 0. Null group
 * arrays leave the group byte 0. Record order sorts by the record arrays
 * (stably; equal indices go segments, triangles, quads); the indices need
 * not be contiguous. Every argument is checked before the file is opened:
 * a null path or mesh, a negative count, cells without corners or without
 * points, a corner outside 0..point_count-1 or a group outside -127..127
 * give GMDK_STATUS_BAD_ARGUMENT and touch no file (report.reason says which
 * cell). GMDK_STATUS_OPEN_FAILED when the file cannot be created (EISDIR for
 * a folder); GMDK_STATUS_WRITE_FAILED when libgmd refuses a record or the
 * file does not hold every byte after closing: the file then keeps what was
 * written before. The report, when given, counts the records written in
 * `frames` and the file's expected size in `file_size`. */
GMDKIT_API int gmdk_mesh_write(const char *path, const GMDK_Mesh *mesh, int append, GMDK_Report *report);

/* Version of the client layer, "1.0.0". */
GMDKIT_API const char *gmdk_version(void);

#ifdef __cplusplus
}
#endif

#endif /* GMDKIT_H */
