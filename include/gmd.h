/*
 * gmd.h - the public interface of libgmd.
 *
 * libgmd reads and writes GMD files: plain sequences of self-delimiting
 * binary record frames, each describing one entity of an electromagnetic
 * model (wire segments, triangles and quads, wedges, canonical solids,
 * trimmed NURBS surfaces, junctions, hinges, names, the model tolerance).
 *
 * A handle owns one open file and exactly one current record.
 *
 *   Writing: open a write or append handle, fill the current record through
 *   the GMD_Set* functions of one record family, commit it with
 *   GMD_WriteRecord (which writes one frame and empties the record), repeat,
 *   then GMD_CloseFile.
 *
 *   Reading: open a read handle, call GMD_GetRecord until it returns 0; after
 *   each 1 ask GMD_GetRecordType what the record is and read it through the
 *   GMD_Get* functions of that family.
 *
 * Conventions shared by every function below:
 *   - Results are 32-bit integers: 1 for success, 0 for refusal or failure.
 *     A refusal changes nothing and gives no reason.
 *   - A setter works only on the empty record or on a record of its own
 *     family; a getter only on a record of its own family. Neither looks at
 *     whether the record was found invalid on reading.
 *   - Arrays and strings belong to the caller; they are copied during the call
 *     and never retained. Output arrays are not bounded by the library: size
 *     them from the matching count getter.
 *   - A null handle is refused with 0 by every function.
 *   - Handles share nothing: different handles may be used on different
 *     threads at once; one handle must not be used by two threads at a time.
 *   - Nothing is logged, configured or kept in global state.
 */
#ifndef GMD_H
#define GMD_H

#include <stdint.h>

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(GMD_BUILDING_LIBRARY)
#    define GMD_API __declspec(dllexport)
#  elif defined(GMD_STATIC)
#    define GMD_API
#  else
#    define GMD_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) || defined(__clang__)
#  define GMD_API __attribute__((visibility("default")))
#else
#  define GMD_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** Opaque handle of one open GMD file and its current record. */
typedef struct GMD_File GMD_File;

/**
 * Caller-owned arrays of one NURBS surface, used by GMD_SetNurbsData and
 * GMD_GetNurbsData. Sizes come from the sizes array (GMD_GetNurbsSizes).
 * Control point (i, j) is at position i * numVcontrolPoints + j of the
 * weights array and at three times that position of the control points.
 */
typedef struct GMD_NurbsData {
    float *uKnots;             /* numUknots values */
    float *vKnots;             /* numVknots values */
    float *controlPoints;      /* 3 values per control point; may be NULL */
    float *weights;            /* 1 value per control point; may be NULL */
    int32_t *boundaryDimensions; /* numBounds values */
    float *boundaryPoints;     /* 2 * numPoints values */
} GMD_NurbsData;

/* Record type codes returned by GMD_GetRecordType besides the letter codes. */
#define GMD_RECORD_INVALID 0
#define GMD_RECORD_VOLUME_TRIANGLE 1     /* 'p' triangle */
#define GMD_RECORD_VOLUME_QUAD 2         /* 'p' quad */
#define GMD_RECORD_TRIANGLE 3            /* 'P' triangle */
#define GMD_RECORD_QUAD 4                /* 'P' quad */
#define GMD_RECORD_ATTRIBUTED_TRIANGLE 5 /* 'A' triangle */
#define GMD_RECORD_ATTRIBUTED_QUAD 6     /* 'A' quad */

/* ===== Handle lifecycle ================================================ */

/** Opens an existing file for reading at byte 0. Returns the handle, or NULL (nothing is created). */
GMD_API GMD_File *GMD_OpenReadFile(const char *fileName);
/** Creates or truncates a file for writing. Returns the handle, or NULL. */
GMD_API GMD_File *GMD_OpenWriteFile(const char *fileName);
/** Opens or creates a file whose new frames follow its existing bytes. Returns the handle, or NULL. */
GMD_API GMD_File *GMD_OpenAppendFile(const char *fileName);
/** Flushes, closes and destroys the handle. 1, also when flushing failed; 0 for NULL. */
GMD_API int32_t GMD_CloseFile(GMD_File *handle);

/* ===== Record cycle ==================================================== */

/** Reads the next frame into the current record and checks/decodes it. 1 when a frame was read (valid or not); 0 at the end of the file, on a damaged frame (for good) or on a handle not opened for reading. */
GMD_API int32_t GMD_GetRecord(GMD_File *handle);
/** Record type code of the current record: 0 invalid or empty, 1-6 the polygon forms (GMD_RECORD_*), else the letter byte as a signed 8-bit value ('S' = 83). */
GMD_API int32_t GMD_GetRecordType(GMD_File *handle);
/** Encodes ('A' layout code, 'N' surface) and writes the current record as one frame, then empties it whatever happened. 1 written; 0 when the stream has failed or the handle is not open for writing. */
GMD_API int32_t GMD_WriteRecord(GMD_File *handle);
/** Empties the current record (letter, both header bytes, words, quad and attribute flags). 1; 0 for NULL. */
GMD_API int32_t GMD_ResetRecord(GMD_File *handle);

/* ===== Group bytes and tolerance ('G') ================================= */

/** Stores the group byte of the current record, sign-extended. Never refuses a live handle. */
GMD_API int32_t GMD_GetGroup(GMD_File *handle, int32_t *group);
/** Stores the second header byte of the current record, sign-extended. Never refuses a live handle. */
GMD_API int32_t GMD_GetGroup2(GMD_File *handle, int32_t *group2);
/** Sets the group byte; refuses values outside -127..127. Works on any record. */
GMD_API int32_t GMD_SetGroup(GMD_File *handle, int32_t group);
/** Sets the second header byte; refuses values outside -127..127. 'A', 'O', 'Z' and 'H' records overwrite it. */
GMD_API int32_t GMD_SetGroup2(GMD_File *handle, int32_t group2);
/** Copies the tolerance of a 'G' record. 0 for another letter or a 'G' record without words. */
GMD_API int32_t GMD_GetTolerance(GMD_File *handle, float *tolerance);
/** Makes the empty or 'G' record a 1-word 'G' record holding the tolerance. 0 for another letter. */
GMD_API int32_t GMD_SetTolerance(GMD_File *handle, float tolerance);

/* ===== Segments ('L', 'l'), triangles and quads ('P', 'p', 'A') ========
 * Vertex k occupies words 3k..3k+2. Setters accept the empty record (and
 * create 'L' with 6 words or 'P' with 9/12 zero words) or a record of their
 * letters, whose other words they leave alone. Triangle accessors refuse a
 * quad and the reverse (the quad flag decides). */

/** Copies the two vertices (6 floats) of an 'L' or 'l' record. */
GMD_API int32_t GMD_GetSegment(GMD_File *handle, float vertices[6]);
/** Same as GMD_GetSegment. */
GMD_API int32_t GMD_GetSegmentVertices(GMD_File *handle, float vertices[6]);
/** Copies the three vertices (9 floats) of a triangle ('P', 'p', 'A' with the quad flag clear). */
GMD_API int32_t GMD_GetTriangle(GMD_File *handle, float vertices[9]);
/** Same as GMD_GetTriangle. */
GMD_API int32_t GMD_GetTriangleVertices(GMD_File *handle, float vertices[9]);
/** Copies the four vertices (12 floats) of a quad ('P', 'p', 'A' with the quad flag set). */
GMD_API int32_t GMD_GetQuad(GMD_File *handle, float vertices[12]);
/** Same as GMD_GetQuad. */
GMD_API int32_t GMD_GetQuadVertices(GMD_File *handle, float vertices[12]);
/** Copies vertex index of a segment (0-1), triangle (0-2) or quad (0-3). 0 for an index out of range. */
GMD_API int32_t GMD_GetVertex(GMD_File *handle, uint32_t index, float vertex[3]);
/** Writes both vertices of a segment; creates 'L' (6 words) on the empty record. Accepts 'L', 'l'. */
GMD_API int32_t GMD_SetSegment(GMD_File *handle, const float vertices[6]);
/** Same as GMD_SetSegment. */
GMD_API int32_t GMD_SetSegmentVertices(GMD_File *handle, const float vertices[6]);
/** Writes vertex index (0-1) of a segment; creates 'L' on the empty record. */
GMD_API int32_t GMD_SetSegmentVertex(GMD_File *handle, uint32_t index, const float vertex[3]);
/** Writes the three vertices of a triangle; creates a 9-word 'P' on the empty record. 0 on a quad. */
GMD_API int32_t GMD_SetTriangle(GMD_File *handle, const float vertices[9]);
/** Same as GMD_SetTriangle. */
GMD_API int32_t GMD_SetTriangleVertices(GMD_File *handle, const float vertices[9]);
/** Writes vertex index (0-2) of a triangle; creates a 9-word 'P' on the empty record. 0 on a quad. */
GMD_API int32_t GMD_SetTriangleVertex(GMD_File *handle, uint32_t index, const float vertex[3]);
/** Writes the four vertices of a quad; creates a 12-word 'P' on the empty record. 0 on a triangle. */
GMD_API int32_t GMD_SetQuad(GMD_File *handle, const float vertices[12]);
/** Same as GMD_SetQuad. */
GMD_API int32_t GMD_SetQuadVertices(GMD_File *handle, const float vertices[12]);
/** Writes vertex index (0-3) of a quad; creates a 12-word 'P' on the empty record. 0 on a triangle. */
GMD_API int32_t GMD_SetQuadVertex(GMD_File *handle, uint32_t index, const float vertex[3]);

/* ===== Element attributes ============================================== */

/** Sets the segment radius (word 6). Empty or 'L' becomes a 7-word 'L'; on 'l' only word 6 changes. */
GMD_API int32_t GMD_SetSegmentRadius(GMD_File *handle, float radius);
/** Copies the segment radius of a 7-word 'L' or an 'l' record. */
GMD_API int32_t GMD_GetSegmentRadius(GMD_File *handle, float *radius);
/** Sets the volume number (word 7). Empty or 'L' becomes an 8-word 'l' with radius 0.0; so set the volume before the radius. */
GMD_API int32_t GMD_SetSegmentVolume(GMD_File *handle, int32_t volume);
/** Copies the volume number of an 'l' record. */
GMD_API int32_t GMD_GetSegmentVolume(GMD_File *handle, int32_t *volume);
/** Gives a 'P' or 'p' polygon its two volume numbers ('P' becomes 'p'). Refuses the empty record and 'A'. */
GMD_API int32_t GMD_SetPolygonVolumes(GMD_File *handle, int32_t first, int32_t second);
/** Copies the two volume numbers of a 'p' record. */
GMD_API int32_t GMD_GetPolygonVolumes(GMD_File *handle, int32_t *first, int32_t *second);
/** Gives a 'P' or 'A' polygon its FSS orientation (it becomes 'A'); a thickness list slides behind it. Refuses the empty record and 'p'. */
GMD_API int32_t GMD_SetPolygonFSSorientation(GMD_File *handle, const float orientation[3]);
/** Copies the FSS orientation of an 'A' record that carries one. */
GMD_API int32_t GMD_GetPolygonFSSorientation(GMD_File *handle, float orientation[3]);
/** Appends (on 'P') or overwrites (on 'A', same n) the thickness list of n values; the record becomes 'A'. Set it before the orientation. Refuses n < 0, the empty record and 'p'. */
GMD_API int32_t GMD_SetPolygonThickness(GMD_File *handle, int32_t n, const float *thickness);
/** Stores the thickness count of an 'A' record read with a thickness list (nonzero layout code); *n is 0 on refusal. */
GMD_API int32_t GMD_GetPolygonNumThickness(GMD_File *handle, int32_t *n);
/** Copies the thickness values of an 'A' record read with a thickness list. */
GMD_API int32_t GMD_GetPolygonThickness(GMD_File *handle, float *thickness);

/* ===== Wedges ('W', 'w') and edges ('e') =============================== */

/** Copies the 12 geometry words: first vertex, second vertex, left normal, right normal. */
GMD_API int32_t GMD_GetWedge(GMD_File *handle, float wedge[12]);
/** Copies the first vertex of a wedge or edge. */
GMD_API int32_t GMD_GetEWFirstVert(GMD_File *handle, float vertex[3]);
/** Copies the second vertex of a wedge or edge. */
GMD_API int32_t GMD_GetEWSecondVert(GMD_File *handle, float vertex[3]);
/** Copies the left normal of a wedge or edge. */
GMD_API int32_t GMD_GetEWLeftNormal(GMD_File *handle, float normal[3]);
/** Copies the right normal of a wedge or edge. */
GMD_API int32_t GMD_GetEWRightNormal(GMD_File *handle, float normal[3]);
/** Copies the left adjacent polygon number of a 'w' or 'e' record. */
GMD_API int32_t GMD_GetEWLeftAdjacentPolygon(GMD_File *handle, int32_t *polygon);
/** Copies the right adjacent polygon number of a 'w' or 'e' record. */
GMD_API int32_t GMD_GetEWRightAdjacentPolygon(GMD_File *handle, int32_t *polygon);
/** Writes the 12 geometry words; creates a 'W' on the empty record. Accepts 'W', 'w', 'e'. */
GMD_API int32_t GMD_SetWedge(GMD_File *handle, const float wedge[12]);
/** Writes the first vertex; creates a 12-word 'W' on the empty record. */
GMD_API int32_t GMD_SetEWFirstVert(GMD_File *handle, const float vertex[3]);
/** Writes the second vertex; creates a 12-word 'W' on the empty record. */
GMD_API int32_t GMD_SetEWSecondVert(GMD_File *handle, const float vertex[3]);
/** Writes the left normal; creates a 12-word 'W' on the empty record. */
GMD_API int32_t GMD_SetEWLeftNormal(GMD_File *handle, const float normal[3]);
/** Writes the right normal; creates a 12-word 'W' on the empty record. */
GMD_API int32_t GMD_SetEWRightNormal(GMD_File *handle, const float normal[3]);
/** Sets the left adjacent polygon (word 12); empty or 'W' becomes a 14-word 'w'. Refuses 'e'. */
GMD_API int32_t GMD_SetWedgeLeftAdjacentPolygon(GMD_File *handle, int32_t polygon);
/** Sets the right adjacent polygon (word 13); empty or 'W' becomes a 14-word 'w'. Refuses 'e'. */
GMD_API int32_t GMD_SetWedgeRightAdjacentPolygon(GMD_File *handle, int32_t polygon);
/** Sets the one adjacent polygon of an edge (words 12 and 13); empty or 'W' becomes a 14-word 'e'. Refuses 'w'. */
GMD_API int32_t GMD_SetEdgeAdjacentPolygon(GMD_File *handle, int32_t polygon);

/* ===== Macro groups ('U') and scattered vertices ('v') ================= */

/** Puts a list of n group numbers in front of the record (a name block stays behind it); a repeated call replaces the list. Accepts empty and 'U'; refuses n < 0. */
GMD_API int32_t GMD_SetMacroGroupGroups(GMD_File *handle, int32_t n, const int32_t *groups);
/** Stores the number of groups of a 'U' record. */
GMD_API int32_t GMD_GetMacroGroupNumGroups(GMD_File *handle, int32_t *n);
/** Copies the group numbers of a 'U' record. */
GMD_API int32_t GMD_GetMacroGroupGroups(GMD_File *handle, int32_t *groups);
/** Writes the position of a scattered vertex; creates a 3-word 'v' on the empty record. */
GMD_API int32_t GMD_SetScattVertexPosition(GMD_File *handle, const float position[3]);
/** Replaces the adjacency list with n entries (the record becomes n + 3 words); creates 'v' on the empty record. Refuses n < 0. */
GMD_API int32_t GMD_SetScattVertexAdjacent(GMD_File *handle, int32_t n, const int32_t *adjacent);
/** Copies the position of a 'v' record. */
GMD_API int32_t GMD_GetScattVertexPosition(GMD_File *handle, float position[3]);
/** Stores the number of adjacency entries of a 'v' record (word count - 3). */
GMD_API int32_t GMD_GetScattVertexNumAdjacent(GMD_File *handle, int32_t *n);
/** Copies the adjacency entries of a 'v' record. */
GMD_API int32_t GMD_GetScattVertexAdjacent(GMD_File *handle, int32_t *adjacent);

/* ===== Sphere ('S') and scatterer ('R') ================================
 * Solid accessors: a full setter makes the whole record from the empty or
 * own-letter record; a patching setter creates an all-zero record on the
 * empty record and otherwise writes only its own words; getters need the
 * family's letter and word count. */

/** Sets centre x, y, z and radius; 'S', 4 words. */
GMD_API int32_t GMD_SetSphere(GMD_File *handle, const float sphere[4]);
/** Patches the sphere centre. */
GMD_API int32_t GMD_SetSphereCenter(GMD_File *handle, const float center[3]);
/** Patches the sphere radius. */
GMD_API int32_t GMD_SetSphereRadius(GMD_File *handle, float radius);
/** Copies centre and radius of an 'S' record. */
GMD_API int32_t GMD_GetSphere(GMD_File *handle, float sphere[4]);
/** Copies the centre of an 'S' record. */
GMD_API int32_t GMD_GetSphereCenter(GMD_File *handle, float center[3]);
/** Copies the radius of an 'S' record. */
GMD_API int32_t GMD_GetSphereRadius(GMD_File *handle, float *radius);
/** Sets centre, radius and EM radius; 'R', 5 words. */
GMD_API int32_t GMD_SetScatter(GMD_File *handle, const float scatterer[5]);
/** Patches the scatterer centre. */
GMD_API int32_t GMD_SetScatterCenter(GMD_File *handle, const float center[3]);
/** Patches the scatterer radius. */
GMD_API int32_t GMD_SetScatterRadius(GMD_File *handle, float radius);
/** Patches the scatterer EM radius. */
GMD_API int32_t GMD_SetScatterEMRadius(GMD_File *handle, float emRadius);
/** Copies centre, radius and EM radius of an 'R' record. */
GMD_API int32_t GMD_GetScatter(GMD_File *handle, float scatterer[5]);
/** Copies the centre of an 'R' record. */
GMD_API int32_t GMD_GetScatterCenter(GMD_File *handle, float center[3]);
/** Copies the radius of an 'R' record. */
GMD_API int32_t GMD_GetScatterRadius(GMD_File *handle, float *radius);
/** Copies the EM radius of an 'R' record. */
GMD_API int32_t GMD_GetScatterEMRadius(GMD_File *handle, float *emRadius);

/* ===== Disk ('D') and circular cylinder ('C') ========================== */

/** Sets centre, normal (stored as given) and radius; 'D', 7 words. */
GMD_API int32_t GMD_SetDisk(GMD_File *handle, const float disk[7]);
/** Patches the disk centre. */
GMD_API int32_t GMD_SetDiskCenter(GMD_File *handle, const float center[3]);
/** Patches the disk normal (not normalised). */
GMD_API int32_t GMD_SetDiskNormal(GMD_File *handle, const float normal[3]);
/** Patches the disk radius. */
GMD_API int32_t GMD_SetDiskRadius(GMD_File *handle, float radius);
/** Copies centre, normal and radius of a 'D' record. */
GMD_API int32_t GMD_GetDisk(GMD_File *handle, float disk[7]);
/** Copies the centre of a 'D' record. */
GMD_API int32_t GMD_GetDiskCenter(GMD_File *handle, float center[3]);
/** Copies the normal of a 'D' record. */
GMD_API int32_t GMD_GetDiskNormal(GMD_File *handle, float normal[3]);
/** Copies the radius of a 'D' record. */
GMD_API int32_t GMD_GetDiskRadius(GMD_File *handle, float *radius);
/** Sets lower centre, upper centre and radius; 'C', 7 words. */
GMD_API int32_t GMD_SetCircularCylinder(GMD_File *handle, const float cylinder[7]);
/** Patches the lower centre of a circular cylinder. */
GMD_API int32_t GMD_SetCylinderLowerCenter(GMD_File *handle, const float center[3]);
/** Patches the upper centre of a circular cylinder. */
GMD_API int32_t GMD_SetCylinderUpperCenter(GMD_File *handle, const float center[3]);
/** Patches the radius of a circular cylinder. */
GMD_API int32_t GMD_SetCylinderRadius(GMD_File *handle, float radius);
/** Copies lower centre, upper centre and radius of a 'C' record. */
GMD_API int32_t GMD_GetCircularCylinder(GMD_File *handle, float cylinder[7]);
/** Copies the lower centre of a 'C' record. */
GMD_API int32_t GMD_GetCylinderLowerCenter(GMD_File *handle, float center[3]);
/** Copies the upper centre of a 'C' record. */
GMD_API int32_t GMD_GetCylinderUpperCenter(GMD_File *handle, float center[3]);
/** Copies the radius of a 'C' record. */
GMD_API int32_t GMD_GetCylinderRadius(GMD_File *handle, float *radius);
/** Computes the distance between the end centres of a 'C' record (in double, stored as float). */
GMD_API int32_t GMD_GetCylinderHeight(GMD_File *handle, float *height);

/* ===== Elliptical cylinder ('E') =======================================
 * The getters answer from the geometry decoded from the last 'E' record
 * accepted by GMD_GetRecord, not from the words of the record in hand. */

/** Copies lower centre, upper centre, X direction, X and Y semi-axes, lower and upper tilt angles (13 floats). */
GMD_API int32_t GMD_GetEllipticalCylinder(GMD_File *handle, float cylinder[13]);
/** Copies the centre from which both ends are measured. */
GMD_API int32_t GMD_GetEllipticalCylinderCenter(GMD_File *handle, float center[3]);
/** Copies the lower centre. */
GMD_API int32_t GMD_GetEllipticalCylinderLowerCenter(GMD_File *handle, float center[3]);
/** Copies the upper centre. */
GMD_API int32_t GMD_GetEllipticalCylinderUpperCenter(GMD_File *handle, float center[3]);
/** Copies the height (lower extent + upper extent). */
GMD_API int32_t GMD_GetEllipticalCylinderHeight(GMD_File *handle, float *height);
/** Copies the X direction. */
GMD_API int32_t GMD_GetEllipticalCylinderXdirection(GMD_File *handle, float direction[3]);
/** Copies the Y direction (unit vector of Z x X). */
GMD_API int32_t GMD_GetEllipticalCylinderYdirection(GMD_File *handle, float direction[3]);
/** Copies the Z direction (the axis). */
GMD_API int32_t GMD_GetEllipticalCylinderZdirection(GMD_File *handle, float direction[3]);
/** Copies the X semi-axis. */
GMD_API int32_t GMD_GetEllipticalCylinderXsemiAxis(GMD_File *handle, float *semiAxis);
/** Copies the Y semi-axis. */
GMD_API int32_t GMD_GetEllipticalCylinderYsemiAxis(GMD_File *handle, float *semiAxis);
/** Copies the lower tilt angle. */
GMD_API int32_t GMD_GetEllipticalCylinderLowerTiltAngle(GMD_File *handle, float *angle);
/** Copies the upper tilt angle. */
GMD_API int32_t GMD_GetEllipticalCylinderUpperTiltAngle(GMD_File *handle, float *angle);
/** Builds the 15-word 'E' record from lower centre, upper centre, X direction, semi-axes and tilt angles; the axis and height are computed. */
GMD_API int32_t GMD_SetEllipticalCylinder(GMD_File *handle, const float cylinder[13]);
/** Recomputes axis and height from the stored centre and this upper centre. Needs an existing 'E' record. */
GMD_API int32_t GMD_SetEllipticalCylinderUpperCenter(GMD_File *handle, const float center[3]);
/** Patches the centre words (the lower centre). */
GMD_API int32_t GMD_SetEllipticalCylinderLowerCenter(GMD_File *handle, const float center[3]);
/** Patches the Z direction (stored as given). */
GMD_API int32_t GMD_SetEllipticalCylinderZdirection(GMD_File *handle, const float direction[3]);
/** Patches the X direction (stored as given). */
GMD_API int32_t GMD_SetEllipticalCylinderXdirection(GMD_File *handle, const float direction[3]);
/** Patches the X semi-axis. */
GMD_API int32_t GMD_SetEllipticalCylinderXsemiAxis(GMD_File *handle, float semiAxis);
/** Patches the Y semi-axis. */
GMD_API int32_t GMD_SetEllipticalCylinderYsemiAxis(GMD_File *handle, float semiAxis);
/** Patches the lower tilt angle. */
GMD_API int32_t GMD_SetEllipticalCylinderLowerTiltAngle(GMD_File *handle, float angle);
/** Patches the upper extent (the height while the lower extent is 0). */
GMD_API int32_t GMD_SetEllipticalCylinderHeight(GMD_File *handle, float height);
/** Patches the upper tilt angle. */
GMD_API int32_t GMD_SetEllipticalCylinderUpperTiltAngle(GMD_File *handle, float angle);

/* ===== Cone ('F') ======================================================
 * The getters answer from the geometry decoded from the last 'F' record
 * accepted by GMD_GetRecord, not from the words of the record in hand. */

/** Copies lower centre, upper centre, X direction, lower X/Y and upper X/Y semi-axes, lower and upper tilt angles (15 floats). */
GMD_API int32_t GMD_GetCone(GMD_File *handle, float cone[15]);
/** Copies the lower centre. */
GMD_API int32_t GMD_GetConeLowerCenter(GMD_File *handle, float center[3]);
/** Copies the upper centre (lower centre + height * Z). */
GMD_API int32_t GMD_GetConeUpperCenter(GMD_File *handle, float center[3]);
/** Copies the height. */
GMD_API int32_t GMD_GetConeHeight(GMD_File *handle, float *height);
/** Copies the X direction. */
GMD_API int32_t GMD_GetConeXdirection(GMD_File *handle, float direction[3]);
/** Copies the Y direction (unit vector of Z x X). */
GMD_API int32_t GMD_GetConeYdirection(GMD_File *handle, float direction[3]);
/** Copies the Z direction (the axis). */
GMD_API int32_t GMD_GetConeZdirection(GMD_File *handle, float direction[3]);
/** Copies the lower X semi-axis. */
GMD_API int32_t GMD_GetConeLowerXsemiAxis(GMD_File *handle, float *semiAxis);
/** Copies the lower Y semi-axis. */
GMD_API int32_t GMD_GetConeLowerYsemiAxis(GMD_File *handle, float *semiAxis);
/** Copies the upper X semi-axis. */
GMD_API int32_t GMD_GetConeUpperXsemiAxis(GMD_File *handle, float *semiAxis);
/** Copies the upper Y semi-axis. */
GMD_API int32_t GMD_GetConeUpperYsemiAxis(GMD_File *handle, float *semiAxis);
/** Copies the lower tilt angle. */
GMD_API int32_t GMD_GetConeLowerTiltAngle(GMD_File *handle, float *angle);
/** Copies the upper tilt angle. */
GMD_API int32_t GMD_GetConeUpperTiltAngle(GMD_File *handle, float *angle);
/** Builds the 17-word 'F' record from the 15 values of GMD_GetCone; the axis and height are computed. */
GMD_API int32_t GMD_SetCone(GMD_File *handle, const float cone[15]);
/** Recomputes axis and height from the stored lower centre and this upper centre. Needs an existing 'F' record. */
GMD_API int32_t GMD_SetConeUpperCenter(GMD_File *handle, const float center[3]);
/** Patches the lower centre. */
GMD_API int32_t GMD_SetConeLowerCenter(GMD_File *handle, const float center[3]);
/** Patches the Z direction (stored as given). */
GMD_API int32_t GMD_SetConeZdirection(GMD_File *handle, const float direction[3]);
/** Patches the X direction (stored as given). */
GMD_API int32_t GMD_SetConeXdirection(GMD_File *handle, const float direction[3]);
/** Patches the lower X semi-axis. */
GMD_API int32_t GMD_SetConeLowerXsemiAxis(GMD_File *handle, float semiAxis);
/** Patches the lower Y semi-axis. */
GMD_API int32_t GMD_SetConeLowerYsemiAxis(GMD_File *handle, float semiAxis);
/** Patches the height. */
GMD_API int32_t GMD_SetConeHeight(GMD_File *handle, float height);
/** Patches the upper X semi-axis. */
GMD_API int32_t GMD_SetConeUpperXsemiAxis(GMD_File *handle, float semiAxis);
/** Patches the upper Y semi-axis. */
GMD_API int32_t GMD_SetConeUpperYsemiAxis(GMD_File *handle, float semiAxis);
/** Patches the lower tilt angle. */
GMD_API int32_t GMD_SetConeLowerTiltAngle(GMD_File *handle, float angle);
/** Patches the upper tilt angle. */
GMD_API int32_t GMD_SetConeUpperTiltAngle(GMD_File *handle, float angle);

/* ===== NURBS surfaces ('N') ============================================
 * These functions work on the handle's structured surface, not on record
 * words: GMD_WriteRecord encodes it, GMD_GetRecord decodes an 'N' record
 * into it. Getters and element setters need the letter 'N'; count setters
 * also accept the empty record, where they start a new, cleared surface.
 * The sizes array is: numUknots, numVknots, numUcontrolPoints,
 * numVcontrolPoints, numBounds, numPoints, holeOrigin. */

/** Copies the seven sizes. */
GMD_API int32_t GMD_GetNurbsSizes(GMD_File *handle, int32_t sizes[7]);
/** Stores the number of U knots. */
GMD_API int32_t GMD_GetNurbsNumUknots(GMD_File *handle, int32_t *n);
/** Stores the number of V knots. */
GMD_API int32_t GMD_GetNurbsNumVknots(GMD_File *handle, int32_t *n);
/** Stores the number of control points along U (grid rows). */
GMD_API int32_t GMD_GetNurbsNumUcontrolPoints(GMD_File *handle, int32_t *n);
/** Stores the number of control points along V (grid columns). */
GMD_API int32_t GMD_GetNurbsNumVcontrolPoints(GMD_File *handle, int32_t *n);
/** Stores the number of boundary curves. */
GMD_API int32_t GMD_GetNurbsNumBounds(GMD_File *handle, int32_t *n);
/** Stores the hole origin value carried with the surface. */
GMD_API int32_t GMD_GetNurbsHoleOrigin(GMD_File *handle, int32_t *holeOrigin);
/** Sets the number of U knots and resizes the U knots (new values 0). Refuses n < 0. */
GMD_API int32_t GMD_SetNurbsNumUknots(GMD_File *handle, int32_t n);
/** Sets the number of V knots and resizes the V knots (new values 0). Refuses n < 0. */
GMD_API int32_t GMD_SetNurbsNumVknots(GMD_File *handle, int32_t n);
/** Sets the number of boundary curves and resizes the dimensions (new values 0). Refuses n < 0. */
GMD_API int32_t GMD_SetNurbsNumBounds(GMD_File *handle, int32_t n);
/** Sets the total number of boundary points and resizes the boundary values to 2n. Refuses n < 0. */
GMD_API int32_t GMD_SetNurbsNumPoints(GMD_File *handle, int32_t n);
/** Sets the grid rows; once both grid counts are nonzero the grid is re-dimensioned and cleared. Refuses n < 0. */
GMD_API int32_t GMD_SetNurbsNumUcontrolPoints(GMD_File *handle, int32_t n);
/** Sets the grid columns; once both grid counts are nonzero the grid is re-dimensioned and cleared. Refuses n < 0. */
GMD_API int32_t GMD_SetNurbsNumVcontrolPoints(GMD_File *handle, int32_t n);
/** Sets the hole origin value. */
GMD_API int32_t GMD_SetNurbsHoleOrigin(GMD_File *handle, int32_t holeOrigin);
/** Copies all U knots. */
GMD_API int32_t GMD_GetNurbsUKnots(GMD_File *handle, float *knots);
/** Copies numUknots values into the U knots. */
GMD_API int32_t GMD_SetNurbsUKnots(GMD_File *handle, const float *knots);
/** Copies all V knots. */
GMD_API int32_t GMD_GetNurbsVKnots(GMD_File *handle, float *knots);
/** Copies numVknots values into the V knots. */
GMD_API int32_t GMD_SetNurbsVKnots(GMD_File *handle, const float *knots);
/** Copies all boundary dimensions. */
GMD_API int32_t GMD_GetNurbsBoundaryDimensions(GMD_File *handle, int32_t *dimensions);
/** Copies numBounds values into the boundary dimensions. */
GMD_API int32_t GMD_SetNurbsBoundaryDimensions(GMD_File *handle, const int32_t *dimensions);
/** Copies all boundary point values (2 per point). */
GMD_API int32_t GMD_GetNurbsAllBoundaryPoints(GMD_File *handle, float *points);
/** Copies 2 * numPoints values into the boundary points. */
GMD_API int32_t GMD_SetNurbsAllBoundaryPoints(GMD_File *handle, const float *points);
/** Copies U knot index. 0 for an index outside the knots. */
GMD_API int32_t GMD_GetNurbsUKnot(GMD_File *handle, int32_t index, float *knot);
/** Sets U knot index. 0 for an index outside the knots. */
GMD_API int32_t GMD_SetNurbsUKnot(GMD_File *handle, int32_t index, float knot);
/** Copies V knot index. 0 for an index outside the knots. */
GMD_API int32_t GMD_GetNurbsVKnot(GMD_File *handle, int32_t index, float *knot);
/** Sets V knot index. 0 for an index outside the knots. */
GMD_API int32_t GMD_SetNurbsVKnot(GMD_File *handle, int32_t index, float knot);
/** Copies control point (i, j), rounded to float. 0 outside the grid. */
GMD_API int32_t GMD_GetNurbsControlPoint(GMD_File *handle, int32_t i, int32_t j, float point[3]);
/** Sets control point (i, j). 0 outside the grid. */
GMD_API int32_t GMD_SetNurbsControlPoint(GMD_File *handle, int32_t i, int32_t j, const float point[3]);
/** Copies weight (i, j). 0 outside the grid. */
GMD_API int32_t GMD_GetNurbsWeight(GMD_File *handle, int32_t i, int32_t j, float *weight);
/** Sets weight (i, j). 0 outside the grid. */
GMD_API int32_t GMD_SetNurbsWeight(GMD_File *handle, int32_t i, int32_t j, float weight);
/** Copies the dimension (number of points) of boundary k. */
GMD_API int32_t GMD_GetNurbsBoundaryDimension(GMD_File *handle, uint32_t k, int32_t *dimension);
/** Sets the dimension of boundary k. */
GMD_API int32_t GMD_SetNurbsBoundaryDimension(GMD_File *handle, uint32_t k, int32_t dimension);
/** Copies dimension(k) single values starting at value s(k) = sum of the earlier dimensions. */
GMD_API int32_t GMD_GetNurbsBoundaryPoints(GMD_File *handle, uint32_t k, float *values);
/** Writes dimension(k) single values starting at value s(k). */
GMD_API int32_t GMD_SetNurbsBoundaryPoints(GMD_File *handle, uint32_t k, const float *values);
/** Copies the values at s(k) + i and s(k) + i + 1. 0 outside the boundary values. */
GMD_API int32_t GMD_GetNurbsBoundaryPoint(GMD_File *handle, uint32_t k, uint32_t i, float point[2]);
/** Writes the values at s(k) + i and s(k) + i + 1. 0 outside the boundary values. */
GMD_API int32_t GMD_SetNurbsBoundaryPoint(GMD_File *handle, uint32_t k, uint32_t i, const float point[2]);
/** Begins a new 'N' record on the empty record with these seven sizes, all values zero. Refuses any other record and negative sizes. */
GMD_API int32_t GMD_SetNurbsSizes(GMD_File *handle, const int32_t sizes[7]);
/** Copies a whole surface in, arrays sized by the current counts; NULL control points or weights are skipped. */
GMD_API int32_t GMD_SetNurbsData(GMD_File *handle, const GMD_NurbsData *data);
/** Copies a whole surface out into caller arrays sized from GMD_GetNurbsSizes; NULL control points or weights are skipped. */
GMD_API int32_t GMD_GetNurbsData(GMD_File *handle, GMD_NurbsData *data);

/* ===== Junctions ('O') ================================================= */

/** Sets both vertices and the normal (9 floats); second header byte 0x20. */
GMD_API int32_t GMD_SetJunction(GMD_File *handle, const float junction[9]);
/** Writes both vertices; creates a 9-word 'O' on the empty record. */
GMD_API int32_t GMD_SetJunctionVertices(GMD_File *handle, const float vertices[6]);
/** Writes vertex index (0-1); creates a 9-word 'O' on the empty record. */
GMD_API int32_t GMD_SetJunctionVertex(GMD_File *handle, uint32_t index, const float vertex[3]);
/** Writes the normal; creates a 9-word 'O' on the empty record. */
GMD_API int32_t GMD_SetJunctionNormal(GMD_File *handle, const float normal[3]);
/** Copies both vertices and the normal of an 'O' record. */
GMD_API int32_t GMD_GetJunction(GMD_File *handle, float junction[9]);
/** Copies both vertices of an 'O' record. */
GMD_API int32_t GMD_GetJunctionVertices(GMD_File *handle, float vertices[6]);
/** Copies vertex index (0-1) of an 'O' record. */
GMD_API int32_t GMD_GetJunctionVertex(GMD_File *handle, uint32_t index, float vertex[3]);
/** Copies the normal of an 'O' record. */
GMD_API int32_t GMD_GetJunctionNormal(GMD_File *handle, float normal[3]);

/* ===== Hinges ('H') ====================================================
 * Built section by section in this order: name, type, points, groups.
 * The getters answer from the last 'H' record read, not the one in hand. */

/** Begins an 'H' record (second header byte 1) with the counted, space-padded name. Only on the empty record. */
GMD_API int32_t GMD_SetHingeName(GMD_File *handle, const char *name);
/** Appends the counted, space-padded hinge type. */
GMD_API int32_t GMD_SetHingeType(GMD_File *handle, const char *type);
/** Appends n hinge points of 10 values each, storing values 8 and 9 of each point exchanged. Refuses n < 0. */
GMD_API int32_t GMD_SetHingePoints(GMD_File *handle, int32_t n, const float *points);
/** Appends n hinge points of 10 values each, in the caller's order. Refuses n < 0. */
GMD_API int32_t GMD_SetHingePointsData(GMD_File *handle, int32_t n, const float *values);
/** Appends n group numbers. Refuses n < 0. */
GMD_API int32_t GMD_SetHingeGroups(GMD_File *handle, int32_t n, const int32_t *groups);
/** Copies the hinge name with its padding and a NUL. */
GMD_API int32_t GMD_GetHingeName(GMD_File *handle, char *name);
/** Copies the hinge type with its padding and a NUL. */
GMD_API int32_t GMD_GetHingeType(GMD_File *handle, char *type);
/** Stores the number of point values (10 per hinge point). */
GMD_API int32_t GMD_GetHingeNumPoints(GMD_File *handle, int32_t *n);
/** Copies the 10 values of hinge point index. 0 for an index outside the points. */
GMD_API int32_t GMD_GetHingePoint(GMD_File *handle, int32_t index, float point[10]);
/** Copies every hinge point, 10 values each. */
GMD_API int32_t GMD_GetHingePoints(GMD_File *handle, float *points);
/** Copies all point values in order. */
GMD_API int32_t GMD_GetHingePointsData(GMD_File *handle, float *values);
/** Stores the number of group numbers. */
GMD_API int32_t GMD_GetHingeNumGroups(GMD_File *handle, int32_t *n);
/** Copies all group numbers. */
GMD_API int32_t GMD_GetHingeGroups(GMD_File *handle, int32_t *groups);

/* ===== Names ('M', 'm', 'Z', and the name block of 'U') ================
 * Names are stored padded with spaces to a multiple of 4 bytes and come back
 * with that padding and a NUL. Output buffers need 4 * word count + 1 bytes. */

/** Makes the empty or 'M' record the material name of a group. */
GMD_API int32_t GMD_SetGroupMaterialName(GMD_File *handle, const char *name);
/** Makes the empty or 'm' record the material name of a volume. */
GMD_API int32_t GMD_SetVolumeMaterialName(GMD_File *handle, const char *name);
/** Copies the name of an 'M' or 'm' record. */
GMD_API int32_t GMD_GetMaterialName(GMD_File *handle, char *name);
/** Makes the empty or 'Z' record the name of a junction group (second header byte 0x20). */
GMD_API int32_t GMD_SetJunctionGroupName(GMD_File *handle, const char *name);
/** Copies the name of a 'Z' record. */
GMD_API int32_t GMD_GetJunctionGroupName(GMD_File *handle, char *name);
/** Appends the counted name block to the empty or 'U' record. */
GMD_API int32_t GMD_SetMacroGroupName(GMD_File *handle, const char *name);
/** Copies the name of a 'U' record. 0 when its name block lies outside the record. */
GMD_API int32_t GMD_GetMacroGroupName(GMD_File *handle, char *name);

#ifdef __cplusplus
}
#endif

#endif /* GMD_H */
