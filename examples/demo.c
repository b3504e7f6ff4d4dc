/* Writes a small example model through libgmd, reads it back and prints
 * each record. Usage: gmd_demo [file.gmd] */
#include <stdio.h>

#include "gmd.h"

static int writeModel(const char *path) {
    GMD_File *out = GMD_OpenWriteFile(path);
    if (!out) return 0;
    GMD_SetTolerance(out, 0.001f);
    GMD_WriteRecord(out);
    return GMD_CloseFile(out);
}

static void printRecord(GMD_File *in, int index) {
    int32_t type = GMD_GetRecordType(in), group = 0;
    float tolerance;
    GMD_GetGroup(in, &group);
    printf("record %d: type %d, group %d", index, type, group);
    if (GMD_GetTolerance(in, &tolerance)) printf(", tolerance %g", tolerance);
    printf("\n");
}

int main(int argc, char **argv) {
    const char *path = argc > 1 ? argv[1] : "example.gmd";
    GMD_File *in;
    int count = 0;
    if (!writeModel(path)) {
        fprintf(stderr, "gmd_demo: cannot write %s\n", path);
        return 1;
    }
    in = GMD_OpenReadFile(path);
    if (!in) {
        fprintf(stderr, "gmd_demo: cannot read %s\n", path);
        return 1;
    }
    while (GMD_GetRecord(in)) printRecord(in, count++);
    GMD_CloseFile(in);
    printf("%d records read from %s\n", count, path);
    return 0;
}
