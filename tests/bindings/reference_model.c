/* The reference model of the binding tests: one record of every family,
 * written through the C API.
 *   gmd_reference_model write FILE   writes the model
 *   gmd_reference_model types FILE   prints the record type code of each record
 * The Python tests write the same model and compare the bytes. */
#include <stdio.h>
#include <string.h>

#include "gmd.h"

static int failed;

static void must(int32_t status, const char *what) {
    if (status != 1) {
        fprintf(stderr, "refused: %s\n", what);
        failed = 1;
    }
}

#define MUST(call) must(call, #call)
#define COMMIT(out) MUST(GMD_WriteRecord(out))

static void writeMesh(GMD_File *out) {
    const float segment[6] = {0, 0, 0, 1, 0, 0};
    const float triangle[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float quad[12] = {0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1};
    const float orientation[3] = {0, 0, 1};
    const float thickness[2] = {0.5f, 0.25f};
    const float wedge[12] = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0};
    const float position[3] = {2, 3, 4};
    const int32_t adjacent[2] = {7, 8};
    const int32_t groups[3] = {4, 9, 2};

    MUST(GMD_SetGroup(out, -5));
    MUST(GMD_SetTolerance(out, 0.001f));
    COMMIT(out);
    MUST(GMD_SetSegment(out, segment));
    MUST(GMD_SetSegmentRadius(out, 0.125f));
    COMMIT(out);
    MUST(GMD_SetSegment(out, segment));
    MUST(GMD_SetSegmentVolume(out, 3));
    MUST(GMD_SetSegmentRadius(out, 0.5f));
    COMMIT(out);
    MUST(GMD_SetGroup(out, 1));
    MUST(GMD_SetGroup2(out, 7));
    MUST(GMD_SetTriangle(out, triangle));
    COMMIT(out);
    MUST(GMD_SetQuad(out, quad));
    MUST(GMD_SetPolygonVolumes(out, 1, 2));
    COMMIT(out);
    MUST(GMD_SetTriangle(out, triangle));
    MUST(GMD_SetPolygonThickness(out, 2, thickness));
    MUST(GMD_SetPolygonFSSorientation(out, orientation));
    COMMIT(out);
    MUST(GMD_SetWedge(out, wedge));
    COMMIT(out);
    MUST(GMD_SetWedge(out, wedge));
    MUST(GMD_SetWedgeLeftAdjacentPolygon(out, 11));
    MUST(GMD_SetWedgeRightAdjacentPolygon(out, 12));
    COMMIT(out);
    MUST(GMD_SetEdgeAdjacentPolygon(out, 13));
    MUST(GMD_SetWedge(out, wedge));
    COMMIT(out);
    MUST(GMD_SetMacroGroupGroups(out, 3, groups));
    MUST(GMD_SetMacroGroupName(out, "wing"));
    COMMIT(out);
    MUST(GMD_SetScattVertexPosition(out, position));
    MUST(GMD_SetScattVertexAdjacent(out, 2, adjacent));
    COMMIT(out);
}

static void writeSolids(GMD_File *out) {
    const float sphere[4] = {1, 2, 3, 4};
    const float scatterer[5] = {1, 2, 3, 4, 5};
    const float disk[7] = {0, 0, 0, 0, 0, 5, 2};
    const float cylinder[7] = {0, 0, 0, 0, 0, 2, 1};
    const float elliptical[13] = {1, 1, 1, 1, 1, 4, 1, 0, 0, 2, 1, 0, 0};
    const float cone[15] = {0, 0, 0, 0, 0, 2, 1, 0, 0, 2, 1, 1, 0.5f, 0, 0};

    MUST(GMD_SetSphere(out, sphere));
    COMMIT(out);
    MUST(GMD_SetScatter(out, scatterer));
    COMMIT(out);
    MUST(GMD_SetDisk(out, disk));
    COMMIT(out);
    MUST(GMD_SetCircularCylinder(out, cylinder));
    COMMIT(out);
    MUST(GMD_SetEllipticalCylinder(out, elliptical));
    COMMIT(out);
    MUST(GMD_SetCone(out, cone));
    COMMIT(out);
}

static void writeSurfacesAndNames(GMD_File *out) {
    float uKnots[4] = {0, 0, 1, 1}, vKnots[4] = {0, 0, 1, 1};
    float points[12] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0.1f};
    float weights[4] = {1, 1, 1, 2};
    int32_t dimensions[2] = {3, 1};
    float boundary[8] = {0, 0, 1, 0, 1, 1, 0.5f, 0.5f};
    const int32_t sizes[7] = {4, 4, 2, 2, 2, 4, -1};
    const GMD_NurbsData data = {uKnots, vKnots, points, weights, dimensions, boundary};
    const float junction[9] = {0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float hinge[20] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    const int32_t hingeGroups[2] = {5, 6};

    MUST(GMD_SetNurbsSizes(out, sizes));
    MUST(GMD_SetNurbsData(out, &data));
    COMMIT(out);
    MUST(GMD_SetJunction(out, junction));
    COMMIT(out);
    MUST(GMD_SetHingeName(out, "AB"));
    MUST(GMD_SetHingeType(out, "flap"));
    MUST(GMD_SetHingePointsData(out, 2, hinge));
    MUST(GMD_SetHingeGroups(out, 2, hingeGroups));
    COMMIT(out);
    MUST(GMD_SetGroupMaterialName(out, "Copper1"));
    COMMIT(out);
    MUST(GMD_SetVolumeMaterialName(out, "Steel"));
    COMMIT(out);
    MUST(GMD_SetJunctionGroupName(out, "J1"));
    COMMIT(out);
}

int main(int argc, char **argv) {
    GMD_File *file;
    if (argc != 3 || (strcmp(argv[1], "write") != 0 && strcmp(argv[1], "types") != 0)) {
        fprintf(stderr, "usage: gmd_reference_model write|types FILE\n");
        return 2;
    }
    if (strcmp(argv[1], "types") == 0) {
        if (!(file = GMD_OpenReadFile(argv[2]))) return 1;
        while (GMD_GetRecord(file)) printf("%d\n", (int)GMD_GetRecordType(file));
        return GMD_CloseFile(file) ? 0 : 1;
    }
    if (!(file = GMD_OpenWriteFile(argv[2]))) return 1;
    writeMesh(file);
    writeSolids(file);
    writeSurfacesAndNames(file);
    return GMD_CloseFile(file) && !failed ? 0 : 1;
}
