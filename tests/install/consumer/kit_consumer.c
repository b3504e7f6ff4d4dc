/* A client of gmdkit, the client layer: writes one tolerance record with
 * libgmd to argv[1], then has gmdkit scan the file, which must end cleanly
 * after that one frame. */
#include <stdio.h>
#include <string.h>

#include <gmd.h>
#include <gmdkit.h>

int main(int argc, char **argv) {
    GMD_File *file;
    GMDK_Report report;
    int status, ok;
    if (argc != 2) return 2;
    file = GMD_OpenWriteFile(argv[1]);
    ok = file && GMD_SetTolerance(file, 0.25f) && GMD_WriteRecord(file);
    if (!file || !GMD_CloseFile(file) || !ok) return 1;
    status = gmdk_scan_file(argv[1], &report);
    if (status != GMDK_STATUS_OK || report.stop != GMDK_STOP_END || report.frames != 1 ||
        report.letters['G'] != 1 || strcmp(gmdk_version(), "1.0.0") != 0) {
        fprintf(stderr, "kit_consumer: scan gave status %d, stop %d, %llu frames, version %s\n", status,
                (int)report.stop, (unsigned long long)report.frames, gmdk_version());
        return 1;
    }
    return 0;
}
