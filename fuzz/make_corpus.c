/* Writes the seed corpus of the reader harness: one small file per record
 * family and attribute layout code, made through the library, plus damaged
 * variants of a mixed file. Usage: make_corpus FOLDER */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "gmd.h"

typedef int (*Build)(GMD_File *);

static const float kPoints[15] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5f, 0.5f, 1};

static int segment(GMD_File *h) { return GMD_SetSegment(h, kPoints) && GMD_SetSegmentRadius(h, 0.1f); }
static int segmentVolume(GMD_File *h) { return GMD_SetSegment(h, kPoints) && GMD_SetSegmentVolume(h, 3); }
static int triangle(GMD_File *h) { return GMD_SetTriangle(h, kPoints); }
static int quadVolumes(GMD_File *h) { return GMD_SetQuad(h, kPoints) && GMD_SetPolygonVolumes(h, 1, 2); }
static int layout0(GMD_File *h) { return GMD_SetTriangle(h, kPoints) && GMD_SetPolygonFSSorientation(h, kPoints + 3); }
static int layout1(GMD_File *h) { return GMD_SetTriangle(h, kPoints) && GMD_SetPolygonThickness(h, 2, kPoints + 3); }
static int layout2(GMD_File *h) { return GMD_SetQuad(h, kPoints) && GMD_SetPolygonThickness(h, 1, kPoints + 3); }
static int layout3(GMD_File *h) {
    return GMD_SetTriangle(h, kPoints) && GMD_SetPolygonThickness(h, 1, kPoints) && GMD_SetPolygonFSSorientation(h, kPoints + 3);
}
static int layout4(GMD_File *h) {
    return GMD_SetQuad(h, kPoints) && GMD_SetPolygonThickness(h, 3, kPoints) && GMD_SetPolygonFSSorientation(h, kPoints + 3);
}
static int wedge(GMD_File *h) { return GMD_SetWedge(h, kPoints) && GMD_SetWedgeRightAdjacentPolygon(h, 4); }
static int edge(GMD_File *h) { return GMD_SetWedge(h, kPoints) && GMD_SetEdgeAdjacentPolygon(h, 4); }
static int macroGroup(GMD_File *h) {
    const int32_t groups[3] = {1, 5, 9};
    return GMD_SetMacroGroupName(h, "plates") && GMD_SetMacroGroupGroups(h, 3, groups);
}
static int scattered(GMD_File *h) {
    const int32_t adjacent[2] = {7, 8};
    return GMD_SetScattVertexPosition(h, kPoints + 3) && GMD_SetScattVertexAdjacent(h, 2, adjacent);
}
static int solids(GMD_File *h) {
    const float cone[15] = {0, 0, 0, 0, 0, 2, 1, 0, 0, 2, 1, 1, 0.5f, 0, 0};
    const float elliptical[13] = {1, 1, 1, 1, 1, 4, 1, 0, 0, 2, 1, 0, 0};
    const float sphere[5] = {1, 2, 3, 4, 5};
    return GMD_SetSphere(h, sphere) && GMD_WriteRecord(h) && GMD_SetScatter(h, sphere) && GMD_WriteRecord(h) &&
           GMD_SetDisk(h, kPoints) && GMD_WriteRecord(h) && GMD_SetCircularCylinder(h, kPoints) &&
           GMD_WriteRecord(h) && GMD_SetEllipticalCylinder(h, elliptical) && GMD_WriteRecord(h) &&
           GMD_SetCone(h, cone);
}
static int nurbs(GMD_File *h) {
    float knots[4] = {0, 0, 1, 1}, cp[12] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0}, w[4] = {1, 1, 1, 1};
    int32_t dims[2] = {2, 1};
    float bp[6] = {0, 0, 1, 1, 0.5f, 0.5f};
    const int32_t sizes[7] = {4, 4, 2, 2, 2, 3, 0};
    GMD_NurbsData data;
    data.uKnots = knots;
    data.vKnots = knots;
    data.controlPoints = cp;
    data.weights = w;
    data.boundaryDimensions = dims;
    data.boundaryPoints = bp;
    return GMD_SetNurbsSizes(h, sizes) && GMD_SetNurbsData(h, &data);
}
static int connections(GMD_File *h) {
    const int32_t groups[2] = {1, 2};
    float values[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    return GMD_SetJunction(h, kPoints) && GMD_WriteRecord(h) && GMD_SetJunctionGroupName(h, "seam") &&
           GMD_WriteRecord(h) && GMD_SetHingeName(h, "door") && GMD_SetHingeType(h, "pin") &&
           GMD_SetHingePoints(h, 1, values) && GMD_SetHingeGroups(h, 2, groups);
}
static int names(GMD_File *h) {
    return GMD_SetTolerance(h, 0.001f) && GMD_WriteRecord(h) && GMD_SetGroupMaterialName(h, "Copper1") &&
           GMD_WriteRecord(h) && GMD_SetVolumeMaterialName(h, "");
}

static long writeFile(const char *folder, const char *name, Build build, unsigned char **bytes) {
    char path[1024];
    FILE *f;
    long size;
    GMD_File *h;
    snprintf(path, sizeof path, "%s/%s.gmd", folder, name);
    h = GMD_OpenWriteFile(path);
    if (!h || !GMD_SetGroup(h, 3) || !build(h) || !GMD_WriteRecord(h)) {
        fprintf(stderr, "make_corpus: cannot build %s\n", name);
        exit(1);
    }
    GMD_CloseFile(h);
    f = fopen(path, "rb");
    fseek(f, 0, SEEK_END);
    size = ftell(f);
    rewind(f);
    *bytes = malloc((size_t)size);
    if (fread(*bytes, 1, (size_t)size, f) != (size_t)size) exit(1);
    fclose(f);
    return size;
}

static void writeBytes(const char *folder, const char *name, const unsigned char *bytes, long size) {
    char path[1024];
    FILE *f;
    snprintf(path, sizeof path, "%s/%s.gmd", folder, name);
    f = fopen(path, "wb");
    if (!f || fwrite(bytes, 1, (size_t)size, f) != (size_t)size) exit(1);
    fclose(f);
}

int main(int argc, char **argv) {
    static const struct {
        const char *name;
        Build build;
    } files[] = {
        {"segment", segment}, {"segment_volume", segmentVolume}, {"triangle", triangle},
        {"quad_volumes", quadVolumes}, {"layout0", layout0}, {"layout1", layout1},
        {"layout2", layout2}, {"layout3", layout3}, {"layout4", layout4},
        {"wedge", wedge}, {"edge", edge}, {"macro_group", macroGroup},
        {"scattered_vertex", scattered}, {"solids", solids}, {"nurbs", nurbs},
        {"connections", connections}, {"names", names},
    };
    unsigned char *bytes;
    long size;
    size_t k;
    if (argc != 2) {
        fprintf(stderr, "usage: make_corpus FOLDER\n");
        return 2;
    }
    for (k = 0; k < sizeof files / sizeof files[0]; ++k) {
        size = writeFile(argv[1], files[k].name, files[k].build, &bytes);
        if (k + 1 < sizeof files / sizeof files[0]) free(bytes);
    }
    /* Damaged variants of the last, mixed file. */
    writeBytes(argv[1], "damaged_cut", bytes, size - 3);
    bytes[size - 1] ^= 0x40;
    writeBytes(argv[1], "damaged_trailer", bytes, size);
    bytes[size - 1] ^= 0x40;
    bytes[0] = 3;
    writeBytes(argv[1], "damaged_length", bytes, size);
    bytes[0] = 0xFF;
    bytes[3] = 0x7F;
    writeBytes(argv[1], "damaged_huge_length", bytes, size);
    free(bytes);
    return 0;
}
