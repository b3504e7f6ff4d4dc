/* Writes the example model through libgmd, reads it back, prints each record
 * and a summary. Usage: gmd_demo [file.gmd]
 *
 * The model: a wire antenna of segments over a meshed plate with its edges,
 * one of each canonical solid, a trimmed NURBS patch, a junction with its
 * group name, a hinge, material names and a macro group. */
#include <stdio.h>
#include <string.h>

#include "gmd.h"

#define CHECK(call) \
    do { \
        if (!(call)) { \
            fprintf(stderr, "gmd_demo: %s refused\n", #call); \
            return 0; \
        } \
    } while (0)

static int writeHeader(GMD_File *out) {
    CHECK(GMD_SetTolerance(out, 0.001f));
    CHECK(GMD_WriteRecord(out));
    CHECK(GMD_SetGroupMaterialName(out, "copper"));
    CHECK(GMD_SetGroup(out, 1));
    CHECK(GMD_WriteRecord(out));
    CHECK(GMD_SetVolumeMaterialName(out, "teflon"));
    CHECK(GMD_WriteRecord(out));
    return 1;
}

/* A vertical dipole of four segments above the plate: volume first, then
 * radius, since setting the volume clears the radius. */
static int writeAntenna(GMD_File *out) {
    int k;
    for (k = 0; k < 4; ++k) {
        const float segment[6] = {0.5f, 0.5f, 0.2f + 0.1f * (float)k, 0.5f, 0.5f, 0.3f + 0.1f * (float)k};
        CHECK(GMD_SetSegment(out, segment));
        CHECK(GMD_SetSegmentVolume(out, 1));
        CHECK(GMD_SetSegmentRadius(out, 0.002f));
        CHECK(GMD_SetGroup(out, 2));
        CHECK(GMD_WriteRecord(out));
    }
    return 1;
}

/* A unit plate in z = 0: two attributed triangles and one attributed quad,
 * thickness list first, FSS orientation second; then its edges. */
static int writePlate(GMD_File *out) {
    const float triangles[2][9] = {{0, 0, 0, 0.5f, 0, 0, 0, 0.5f, 0}, {0.5f, 0, 0, 0.5f, 0.5f, 0, 0, 0.5f, 0}};
    const float quad[12] = {0.5f, 0, 0, 1, 0, 0, 1, 1, 0, 0.5f, 1, 0};
    const float thickness[2] = {0.001f, 0.0005f};
    const float orientation[3] = {0, 0, 1};
    const float up[3] = {0, 0, 1};
    const float wedge[12] = {0.5f, 0, 0, 0.5f, 1, 0, 0, 0, 1, 0, 0, 1};
    const float rim[12] = {0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, 0};
    int k;
    for (k = 0; k < 2; ++k) {
        CHECK(GMD_SetTriangle(out, triangles[k]));
        CHECK(GMD_SetPolygonThickness(out, 2, thickness));
        CHECK(GMD_SetPolygonFSSorientation(out, orientation));
        CHECK(GMD_SetGroup(out, 3));
        CHECK(GMD_WriteRecord(out));
    }
    CHECK(GMD_SetQuad(out, quad));
    CHECK(GMD_SetPolygonThickness(out, 1, thickness));
    CHECK(GMD_SetGroup(out, 3));
    CHECK(GMD_WriteRecord(out));
    /* The seam between the triangles and the quad, and one rim edge. */
    CHECK(GMD_SetWedge(out, wedge));
    CHECK(GMD_SetWedgeLeftAdjacentPolygon(out, 2));
    CHECK(GMD_SetWedgeRightAdjacentPolygon(out, 3));
    CHECK(GMD_WriteRecord(out));
    CHECK(GMD_SetEWLeftNormal(out, up));
    CHECK(GMD_SetWedge(out, rim));
    CHECK(GMD_SetEdgeAdjacentPolygon(out, 1));
    CHECK(GMD_WriteRecord(out));
    return 1;
}

static int writeSolids(GMD_File *out) {
    const float sphere[4] = {2, 0, 0.5f, 0.5f};
    const float scatterer[5] = {3, 0, 0.5f, 0.4f, 0.6f};
    const float disk[7] = {2, 2, 0, 0, 0, 1, 0.75f};
    const float cylinder[7] = {4, 0, 0, 4, 0, 1.5f, 0.3f};
    const float elliptical[13] = {5, 0, 0, 5, 0, 2, 1, 0, 0, 0.6f, 0.3f, 0, 0};
    const float cone[15] = {6, 0, 0, 6, 0, 1, 1, 0, 0, 0.5f, 0.5f, 0.2f, 0.1f, 0, 0};
    CHECK(GMD_SetSphere(out, sphere) && GMD_WriteRecord(out));
    CHECK(GMD_SetScatter(out, scatterer) && GMD_WriteRecord(out));
    CHECK(GMD_SetDisk(out, disk) && GMD_WriteRecord(out));
    CHECK(GMD_SetCircularCylinder(out, cylinder) && GMD_WriteRecord(out));
    CHECK(GMD_SetEllipticalCylinder(out, elliptical) && GMD_WriteRecord(out));
    CHECK(GMD_SetCone(out, cone) && GMD_WriteRecord(out));
    return 1;
}

/* A bilinear patch trimmed by an outer triangle and an inner hole. */
static int writeSurfaces(GMD_File *out) {
    float uKnots[4] = {0, 0, 1, 1};
    float vKnots[4] = {0, 0, 1, 1};
    float controlPoints[12] = {0, 2, 0, 0, 3, 0, 1, 2, 0, 1, 3, 0.2f};
    float weights[4] = {1, 1, 1, 1};
    int32_t boundaryDimensions[2] = {3, 4};
    float boundaryPoints[14] = {0, 0, 1, 0, 0, 1, 0.2f, 0.2f, 0.4f, 0.2f, 0.4f, 0.4f, 0.2f, 0.4f};
    const int32_t sizes[7] = {4, 4, 2, 2, 2, 7, 0};
    GMD_NurbsData nurbs;
    const float junction[9] = {0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float hingePoint[10] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0};
    const int32_t hingeGroups[2] = {1, 2};
    const int32_t macroGroups[3] = {1, 2, 3};
    nurbs.uKnots = uKnots;
    nurbs.vKnots = vKnots;
    nurbs.controlPoints = controlPoints;
    nurbs.weights = weights;
    nurbs.boundaryDimensions = boundaryDimensions;
    nurbs.boundaryPoints = boundaryPoints;

    CHECK(GMD_SetGroup(out, 4));
    CHECK(GMD_SetNurbsSizes(out, sizes) && GMD_SetNurbsData(out, &nurbs) && GMD_WriteRecord(out));
    CHECK(GMD_SetJunctionGroupName(out, "seam") && GMD_WriteRecord(out));
    CHECK(GMD_SetJunction(out, junction) && GMD_WriteRecord(out));
    CHECK(GMD_SetHingeName(out, "door") && GMD_SetHingeType(out, "revolute"));
    CHECK(GMD_SetHingePointsData(out, 1, hingePoint) && GMD_SetHingeGroups(out, 2, hingeGroups));
    CHECK(GMD_WriteRecord(out));
    CHECK(GMD_SetMacroGroupName(out, "antenna and plate"));
    CHECK(GMD_SetMacroGroupGroups(out, 3, macroGroups) && GMD_WriteRecord(out));
    return 1;
}

static int writeModel(const char *path) {
    GMD_File *out = GMD_OpenWriteFile(path);
    int ok;
    if (!out) return 0;
    ok = writeHeader(out) && writeAntenna(out) && writePlate(out) && writeSolids(out) && writeSurfaces(out);
    return GMD_CloseFile(out) && ok;
}

static const char *typeName(int32_t type) {
    switch (type) {
    case 0: return "invalid";
    case GMD_RECORD_VOLUME_TRIANGLE: return "volume triangle";
    case GMD_RECORD_VOLUME_QUAD: return "volume quad";
    case GMD_RECORD_TRIANGLE: return "triangle";
    case GMD_RECORD_QUAD: return "quad";
    case GMD_RECORD_ATTRIBUTED_TRIANGLE: return "attributed triangle";
    case GMD_RECORD_ATTRIBUTED_QUAD: return "attributed quad";
    case 'G': return "tolerance";
    case 'L': return "segment";
    case 'l': return "segment with volume";
    case 'W': return "wedge";
    case 'w': return "wedge with adjacent polygons";
    case 'e': return "edge";
    case 'U': return "macro group";
    case 'v': return "scattered vertex";
    case 'S': return "sphere";
    case 'R': return "scatterer";
    case 'D': return "disk";
    case 'C': return "circular cylinder";
    case 'E': return "elliptical cylinder";
    case 'F': return "cone";
    case 'N': return "NURBS surface";
    case 'O': return "junction";
    case 'Z': return "junction group name";
    case 'H': return "hinge";
    case 'M': return "group material name";
    case 'm': return "volume material name";
    default: return "unknown";
    }
}

/* One line of detail read through the family's getters. */
static void printDetails(GMD_File *in, int32_t type) {
    float v[16], x;
    int32_t i, j, sizes[7];
    char text[256];
    if (GMD_GetTolerance(in, &x)) printf(" %g", x);
    if (GMD_GetSegment(in, v)) printf(" (%g %g %g)-(%g %g %g)", v[0], v[1], v[2], v[3], v[4], v[5]);
    if (GMD_GetSegmentRadius(in, &x)) printf(" radius %g", x);
    if (GMD_GetSegmentVolume(in, &i)) printf(" volume %d", (int)i);
    if (GMD_GetTriangle(in, v)) printf(" first vertex (%g %g %g)", v[0], v[1], v[2]);
    if (GMD_GetQuad(in, v)) printf(" first vertex (%g %g %g)", v[0], v[1], v[2]);
    if (GMD_GetPolygonNumThickness(in, &i)) printf(" %d thickness values", (int)i);
    if (GMD_GetPolygonFSSorientation(in, v)) printf(" FSS (%g %g %g)", v[0], v[1], v[2]);
    if (GMD_GetEWLeftAdjacentPolygon(in, &i) && GMD_GetEWRightAdjacentPolygon(in, &j))
        printf(" between polygons %d and %d", (int)i, (int)j);
    if (GMD_GetSphere(in, v)) printf(" radius %g", v[3]);
    if (GMD_GetScatter(in, v)) printf(" radius %g, EM radius %g", v[3], v[4]);
    if (GMD_GetDisk(in, v)) printf(" radius %g", v[6]);
    if (GMD_GetCylinderHeight(in, &x)) printf(" height %g", x);
    if (GMD_GetEllipticalCylinderHeight(in, &x)) printf(" height %g", x);
    if (GMD_GetConeUpperCenter(in, v)) printf(" upper centre (%g %g %g)", v[0], v[1], v[2]);
    if (GMD_GetNurbsSizes(in, sizes))
        printf(" %dx%d control points, %d boundaries of %d points", (int)sizes[2], (int)sizes[3], (int)sizes[4],
               (int)sizes[5]);
    if (GMD_GetJunctionVertex(in, 1, v)) printf(" to (%g %g %g)", v[0], v[1], v[2]);
    if (type == 'H' && GMD_GetHingeName(in, text) && GMD_GetHingeNumPoints(in, &i)) printf(" \"%s\", %d values", text, (int)i);
    if (GMD_GetMaterialName(in, text) || GMD_GetJunctionGroupName(in, text)) printf(" \"%s\"", text);
    if (GMD_GetMacroGroupNumGroups(in, &i) && GMD_GetMacroGroupName(in, text)) printf(" \"%s\", %d groups", text, (int)i);
}

int main(int argc, char **argv) {
    const char *path = argc > 1 ? argv[1] : "example.gmd";
    GMD_File *in;
    int count = 0, invalid = 0;
    if (!writeModel(path)) {
        fprintf(stderr, "gmd_demo: cannot write %s\n", path);
        return 1;
    }
    in = GMD_OpenReadFile(path);
    if (!in) {
        fprintf(stderr, "gmd_demo: cannot read %s\n", path);
        return 1;
    }
    while (GMD_GetRecord(in)) {
        int32_t type = GMD_GetRecordType(in), group = 0;
        GMD_GetGroup(in, &group);
        printf("%3d  %-28s group %d", count, typeName(type), (int)group);
        printDetails(in, type);
        printf("\n");
        invalid += type == 0;
        ++count;
    }
    GMD_CloseFile(in);
    printf("%d records read back from %s, %d invalid\n", count, path, invalid);
    return invalid == 0 && count > 0 ? 0 : 1;
}
