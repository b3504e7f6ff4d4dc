/* Writes a model with a record of every family through libgmd, for the tool's
 * and binding tests. Usage: write_model FILE. test_cli.py and
 * bindings/python/model.py know this model: change them together. */
#include <stdio.h>

#include "gmd.h"

static int failures = 0;

static void expect(int32_t result, const char *what) {
    if (!result) {
        fprintf(stderr, "write_model: %s refused\n", what);
        ++failures;
    }
}

#define CALL(call) expect((call), #call)

static void commit(GMD_File *out, int group) {
    CALL(GMD_SetGroup(out, group));
    CALL(GMD_WriteRecord(out));
}

int main(int argc, char **argv) {
    GMD_File *out;
    if (argc != 2) {
        fprintf(stderr, "usage: write_model FILE\n");
        return 2;
    }
    out = GMD_OpenWriteFile(argv[1]);
    if (!out) {
        fprintf(stderr, "write_model: cannot create %s\n", argv[1]);
        return 2;
    }
    CALL(GMD_SetTolerance(out, 0.001f));
    commit(out, 0);

    { /* segments: plain, with radius, with volume and radius */
        const float a[6] = {0, 0, 0, 1, 0, 0}, b[6] = {1, 0, 0, 1, 1, 0}, c[6] = {1, 1, 0, 0, 1, 0.5f};
        CALL(GMD_SetSegment(out, a));
        commit(out, 1);
        CALL(GMD_SetSegment(out, b));
        CALL(GMD_SetSegmentRadius(out, 0.01f));
        commit(out, 1);
        CALL(GMD_SetSegment(out, c));
        CALL(GMD_SetSegmentVolume(out, 7));
        CALL(GMD_SetSegmentRadius(out, 0.02f));
        commit(out, 1);
    }
    { /* polygons in every form */
        const float tri[9] = {0, 0, 1, 1, 0, 1, 0, 1, 1};
        const float quad[12] = {2, 0, 0, 3, 0, 0, 3, 1, 0, 2, 1, 0};
        const float tri2[9] = {0, 0, 2, 1, 0, 2, 0, 1, 2.5f};
        const float quad2[12] = {2, 0, 1, 3, 0, 1, 3, 1, 1.5f, 2, 1, 1.5f};
        const float thickness[2] = {0.1f, 0.25f}, orientation[3] = {0, 0, 1};
        CALL(GMD_SetTriangle(out, tri));
        commit(out, 2);
        CALL(GMD_SetQuad(out, quad));
        commit(out, 2);
        CALL(GMD_SetTriangle(out, tri2));
        CALL(GMD_SetPolygonVolumes(out, 3, 4));
        commit(out, 2);
        CALL(GMD_SetQuad(out, quad2));
        CALL(GMD_SetPolygonVolumes(out, 5, 6));
        commit(out, 2);
        CALL(GMD_SetTriangle(out, tri));
        CALL(GMD_SetPolygonThickness(out, 2, thickness));
        commit(out, 3);
        CALL(GMD_SetQuad(out, quad));
        CALL(GMD_SetPolygonThickness(out, 1, thickness));
        CALL(GMD_SetPolygonFSSorientation(out, orientation));
        commit(out, 3);
        CALL(GMD_SetTriangle(out, tri2));
        CALL(GMD_SetPolygonFSSorientation(out, orientation));
        commit(out, 3);
    }
    { /* wedges and edges */
        const float wedge[12] = {0, 0, 3, 1, 0, 3, 0, 0, 1, 0, 1, 0};
        CALL(GMD_SetWedge(out, wedge));
        commit(out, 4);
        CALL(GMD_SetWedge(out, wedge));
        CALL(GMD_SetWedgeLeftAdjacentPolygon(out, 4));
        CALL(GMD_SetWedgeRightAdjacentPolygon(out, 5));
        commit(out, 4);
        CALL(GMD_SetWedge(out, wedge));
        CALL(GMD_SetEdgeAdjacentPolygon(out, 6));
        commit(out, 4);
    }
    { /* macro group and scattered vertex */
        const int32_t groups[3] = {1, 2, 3}, adjacent[2] = {10, 11};
        const float position[3] = {-1, -1, -1};
        CALL(GMD_SetMacroGroupGroups(out, 3, groups));
        CALL(GMD_SetMacroGroupName(out, "wires"));
        commit(out, 0);
        CALL(GMD_SetScattVertexPosition(out, position));
        CALL(GMD_SetScattVertexAdjacent(out, 2, adjacent));
        commit(out, 0);
    }
    { /* the six canonical solids */
        const float sphere[4] = {5, 0, 0, 1}, scatterer[5] = {5, 3, 0, 0.5f, 0.75f};
        const float disk[7] = {8, 0, 0, 0, 0, 1, 1.5f}, cylinder[7] = {10, 0, 0, 10, 0, 2, 0.5f};
        const float elliptic[13] = {12, 0, 0, 12, 0, 3, 1, 0, 0, 1, 0.5f, 0, 0};
        const float cone[15] = {14, 0, 0, 14, 0, 2, 1, 0, 0, 1, 0.5f, 0.5f, 0.25f, 0, 0};
        CALL(GMD_SetSphere(out, sphere));
        commit(out, 5);
        CALL(GMD_SetScatter(out, scatterer));
        commit(out, 5);
        CALL(GMD_SetDisk(out, disk));
        commit(out, 5);
        CALL(GMD_SetCircularCylinder(out, cylinder));
        commit(out, 6);
        CALL(GMD_SetEllipticalCylinder(out, elliptic));
        commit(out, 6);
        CALL(GMD_SetCone(out, cone));
        commit(out, -5);
    }
    { /* a quarter cylinder of radius 2 around the z axis: quadratic in U,
         linear in V, with one boundary curve of five (u, v) points */
        const float w = 0.70710678f;
        float uKnots[6] = {0, 0, 0, 1, 1, 1}, vKnots[4] = {0, 0, 1, 1};
        float points[18] = {2, 0, 0, 2, 0, 1, 2, 2, 0, 2, 2, 1, 0, 2, 0, 0, 2, 1};
        float weights[6] = {1, 1, 0, 0, 1, 1};
        int32_t dims[1] = {5};
        float boundary[10] = {0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
        const int32_t sizes[7] = {6, 4, 3, 2, 1, 5, 0};
        GMD_NurbsData data;
        weights[2] = weights[3] = w;
        data.uKnots = uKnots;
        data.vKnots = vKnots;
        data.controlPoints = points;
        data.weights = weights;
        data.boundaryDimensions = dims;
        data.boundaryPoints = boundary;
        CALL(GMD_SetNurbsSizes(out, sizes));
        CALL(GMD_SetNurbsData(out, &data));
        commit(out, 7);
    }
    { /* junction, hinge and names */
        const float junction[9] = {0, 0, 4, 0, 0, 5, 1, 0, 0};
        const float hinge[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        const int32_t groups[2] = {2, 3};
        CALL(GMD_SetJunction(out, junction));
        commit(out, 8);
        CALL(GMD_SetHingeName(out, "door"));
        CALL(GMD_SetHingeType(out, "pin"));
        CALL(GMD_SetHingePointsData(out, 1, hinge));
        CALL(GMD_SetHingeGroups(out, 2, groups));
        commit(out, 8);
        CALL(GMD_SetGroupMaterialName(out, "Copper1"));
        commit(out, 1);
        CALL(GMD_SetVolumeMaterialName(out, "air"));
        commit(out, 1);
        CALL(GMD_SetJunctionGroupName(out, "feeds"));
        commit(out, 8);
    }
    if (!GMD_CloseFile(out)) ++failures;
    return failures ? 1 : 0;
}
