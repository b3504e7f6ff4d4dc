// gmdk_mesh_write: a mesh of arrays written as records through libgmd's
// setters. Every argument is checked before the file is opened, so a bad
// mesh leaves an existing file as it was.
#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <new>
#include <vector>

#include "file_io.h"
#include "gmd.h"
#include "gmdkit.h"

namespace {

// The group byte range libgmd's group setter accepts.
constexpr std::int32_t kLowestGroup = -127;
constexpr std::int32_t kHighestGroup = 127;

struct Kind {
    const GMDK_Cells* cells;
    int corners;
    std::vector<std::int64_t> order;  // cell positions by record index, when sorting is needed

    std::int64_t cell(std::int64_t n) const { return order.empty() ? n : order[static_cast<std::size_t>(n)]; }
};

#if defined(__GNUC__) || defined(__clang__)
#  define GMDK_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#  define GMDK_PRINTF(f, a)
#endif

int refuse(GMDK_Report* report, const char* format, ...) GMDK_PRINTF(2, 3);
int refuse(GMDK_Report* report, const char* format, ...) {
    if (report != nullptr) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(report->reason, sizeof report->reason, format, args);
        va_end(args);
    }
    return GMDK_STATUS_BAD_ARGUMENT;
}

int checkCells(const GMDK_Cells& cells, int k, const char* name, std::int64_t points, GMDK_Report* report) {
    if (cells.count < 0 || cells.count > INT64_MAX / 4)
        return refuse(report, "%s count %lld out of range", name, static_cast<long long>(cells.count));
    if (cells.count == 0) return GMDK_STATUS_OK;
    if (cells.corners == nullptr) return refuse(report, "%s cells without corners", name);
    for (std::int64_t i = 0; i < cells.count * k; ++i)
        if (cells.corners[i] < 0 || cells.corners[i] >= points)
            return refuse(report, "%s %lld: point index %lld out of range", name, static_cast<long long>(i / k),
                          static_cast<long long>(cells.corners[i]));
    if (cells.group != nullptr)
        for (std::int64_t i = 0; i < cells.count; ++i)
            if (cells.group[i] < kLowestGroup || cells.group[i] > kHighestGroup)
                return refuse(report, "%s %lld: group %d outside %d..%d", name, static_cast<long long>(i),
                              static_cast<int>(cells.group[i]), kLowestGroup, kHighestGroup);
    return GMDK_STATUS_OK;
}

// Sorts a kind's cells by record index unless they already are.
void orderByRecord(Kind& kind) {
    const GMDK_Cells& cells = *kind.cells;
    if (std::is_sorted(cells.record, cells.record + cells.count)) return;
    kind.order.resize(static_cast<std::size_t>(cells.count));
    for (std::int64_t i = 0; i < cells.count; ++i) kind.order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(kind.order.begin(), kind.order.end(),
                     [&](std::int64_t a, std::int64_t b) { return cells.record[a] < cells.record[b]; });
}

bool setCell(GMD_File* file, const GMDK_Mesh& mesh, const Kind& kind, std::int64_t cell) {
    const GMDK_Cells& cells = *kind.cells;
    float xyz[12];
    for (int c = 0; c < kind.corners; ++c) {
        const float* point = mesh.points + 3 * cells.corners[cell * kind.corners + c];
        std::copy(point, point + 3, xyz + 3 * c);
    }
    const std::int32_t* volume = cells.volume != nullptr ? cells.volume + 2 * cell : nullptr;
    bool ok;
    if (kind.corners == 2) {
        ok = GMD_SetSegment(file, xyz) == 1;
        // The volume first: giving a segment its volume clears the radius.
        if (ok && volume != nullptr && volume[0] != 0) ok = GMD_SetSegmentVolume(file, volume[0]) == 1;
        if (ok && mesh.segment_radius != nullptr) ok = GMD_SetSegmentRadius(file, mesh.segment_radius[cell]) == 1;
    } else {
        ok = (kind.corners == 3 ? GMD_SetTriangle(file, xyz) : GMD_SetQuad(file, xyz)) == 1;
        if (ok && volume != nullptr && (volume[0] != 0 || volume[1] != 0))
            ok = GMD_SetPolygonVolumes(file, volume[0], volume[1]) == 1;
    }
    if (ok && cells.group != nullptr) ok = GMD_SetGroup(file, cells.group[cell]) == 1;
    return ok;
}

std::uint64_t frameBytes(int corners, bool radius, bool volume) {
    std::uint64_t words = 3u * static_cast<unsigned>(corners);
    if (corners == 2) words += volume ? 2 : radius ? 1 : 0;
    else if (volume) words += 2;
    return 12 + 4 * words;
}

// "<what>: <the system's words for error>", or just what.
int writeFailed(GMDK_Report* report, int error, const char* what) {
    if (report != nullptr) {
        report->os_error = error;
        char words[120] = "";
        if (error != 0) gmdk::errorText(error, words, sizeof words);
        std::snprintf(report->reason, sizeof report->reason, "%s%s%s", what, error != 0 ? ": " : "", words);
    }
    return GMDK_STATUS_WRITE_FAILED;
}

int writeMesh(const char* path, const GMDK_Mesh& mesh, int append, GMDK_Report* report) {
    Kind kinds[3] = {{&mesh.segments, 2, {}}, {&mesh.triangles, 3, {}}, {&mesh.quads, 4, {}}};
    static const char* const names[3] = {"segment", "triangle", "quad"};
    if (mesh.point_count < 0)
        return refuse(report, "negative point count %lld", static_cast<long long>(mesh.point_count));
    bool anyCells = false;
    bool allRecorded = true;
    for (int k = 0; k < 3; ++k) {
        int status = checkCells(*kinds[k].cells, kinds[k].corners, names[k], mesh.point_count, report);
        if (status != GMDK_STATUS_OK) return status;
        if (kinds[k].cells->count > 0) {
            anyCells = true;
            allRecorded = allRecorded && kinds[k].cells->record != nullptr;
        }
    }
    if (anyCells && mesh.points == nullptr) return refuse(report, "cells without points");
    if (anyCells && allRecorded)
        for (Kind& kind : kinds)
            if (kind.cells->count > 0) orderByRecord(kind);

    gmdk::FileInfo before = gmdk::statPath(path);
    errno = 0;
    GMD_File* file = before.error == EISDIR ? nullptr : append ? GMD_OpenAppendFile(path) : GMD_OpenWriteFile(path);
    if (file == nullptr) {
        if (report != nullptr) {
            report->stop = GMDK_STOP_UNREADABLE;
            report->os_error = before.error == EISDIR ? EISDIR : errno != 0 ? errno : EIO;
            if (report->os_error == EISDIR)
                std::snprintf(report->reason, sizeof report->reason, "it is a folder, not a file");
            else
                gmdk::errorText(report->os_error, report->reason, sizeof report->reason);
        }
        return GMDK_STATUS_OPEN_FAILED;
    }

    // Walk the kinds in turn, or interleaved by record index when every kind
    // has one: the next cell is the one with the lowest record index.
    std::int64_t next[3] = {0, 0, 0};
    std::uint64_t written = 0;
    std::uint64_t bytes = append && before.regular ? before.size : 0;
    int status = GMDK_STATUS_OK;
    for (;;) {
        int pick = -1;
        for (int k = 0; k < 3; ++k) {
            if (next[k] >= kinds[k].cells->count) continue;
            if (pick < 0) {
                pick = k;
                if (!allRecorded) break;
            } else if (kinds[k].cells->record[kinds[k].cell(next[k])] <
                       kinds[pick].cells->record[kinds[pick].cell(next[pick])]) {
                pick = k;
            }
        }
        if (pick < 0) break;
        const Kind& kind = kinds[pick];
        const std::int64_t cell = kind.cell(next[pick]++);
        const bool volume = kind.cells->volume != nullptr &&
                            (kind.cells->volume[2 * cell] != 0 || (kind.corners > 2 && kind.cells->volume[2 * cell + 1] != 0));
        errno = 0;  // so that a refusal by libgmd, which sets none, is not given a stale reason
        if (!setCell(file, mesh, kind, cell) || GMD_WriteRecord(file) != 1) {
            GMD_ResetRecord(file);
            char what[64];
            std::snprintf(what, sizeof what, "record %llu could not be written", static_cast<unsigned long long>(written));
            status = writeFailed(report, errno, what);
            break;
        }
        bytes += frameBytes(kind.corners, mesh.segment_radius != nullptr, volume);
        ++written;
    }
    GMD_CloseFile(file);
    // Closing flushes without saying whether it worked: the size does.
    if (status == GMDK_STATUS_OK) {
        gmdk::FileInfo after = gmdk::statPath(path);
        if (after.regular && after.size != bytes)
            status = writeFailed(report, after.error, "the file did not take every byte written to it");
    }
    if (report != nullptr) {
        report->frames = written;
        report->last_good_record = static_cast<std::int64_t>(written) - 1;
        report->file_size = bytes;
    }
    return status;
}

}  // namespace

extern "C" int gmdk_mesh_write(const char* path, const GMDK_Mesh* mesh, int append, GMDK_Report* report) {
    if (report != nullptr) {
        *report = GMDK_Report();
        report->last_good_record = -1;
    }
    if (path == nullptr || mesh == nullptr) return refuse(report, "no file name or mesh given");
    try {
        return writeMesh(path, *mesh, append, report);
    } catch (const std::bad_alloc&) {
        return GMDK_STATUS_NO_MEMORY;
    }
}
