/* A client of an installed libgmd: writes a tolerance record to argv[1] and
 * reads it back. */
#include <stdio.h>

#include <gmd.h>

int main(int argc, char **argv) {
    GMD_File *file;
    float tolerance = 0.0f;
    int ok;
    if (argc != 2) return 2;
    file = GMD_OpenWriteFile(argv[1]);
    ok = file && GMD_SetGroup(file, 9) && GMD_SetTolerance(file, 0.5f) && GMD_WriteRecord(file);
    if (!file || !GMD_CloseFile(file) || !ok) return 1;
    file = GMD_OpenReadFile(argv[1]);
    ok = file && GMD_GetRecord(file) && GMD_GetRecordType(file) == 'G' && GMD_GetTolerance(file, &tolerance) &&
         tolerance == 0.5f && !GMD_GetRecord(file);
    if (file) GMD_CloseFile(file);
    if (!ok) {
        fprintf(stderr, "consumer: the tolerance record did not come back\n");
        return 1;
    }
    return 0;
}
