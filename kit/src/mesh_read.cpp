// gmdk_mesh_open, gmdk_mesh_fill, gmdk_mesh_close: a whole mesh as arrays.
//
// Opening scans the frames (to know where good records end and why), then
// reads the records through libgmd once to count cells: that pass asks only
// for each record's type, no getter, unless points are merged and the unique
// points must be indexed. Filling reads them again and stores
// each cell's corners, group, volumes and record index. libgmd alone decides
// what a record is; the scan only bounds how many records are trusted, so a
// damaged frame is never mistaken for the end.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "file_io.h"
#include "gmd.h"
#include "gmdkit.h"
#include "point_index.h"
#include "scan.h"

struct GMDK_MeshReader {
    std::string path;
    int options = 0;
    std::uint64_t records = 0;  // records before the stop: all libgmd is asked for
    std::int64_t segments = 0;
    std::int64_t triangles = 0;
    std::int64_t quads = 0;
    std::int64_t points = 0;
    gmdk::PointIndex merged;
};

namespace {

constexpr int kSegmentLetter = 'L';
constexpr int kVolumeSegmentLetter = 'l';

enum class Shape { None, Segment, Triangle, Quad };

Shape shapeOf(std::int32_t type) {
    switch (type) {
        case GMD_RECORD_VOLUME_TRIANGLE:
        case GMD_RECORD_TRIANGLE:
        case GMD_RECORD_ATTRIBUTED_TRIANGLE: return Shape::Triangle;
        case GMD_RECORD_VOLUME_QUAD:
        case GMD_RECORD_QUAD:
        case GMD_RECORD_ATTRIBUTED_QUAD: return Shape::Quad;
        case kSegmentLetter:
        case kVolumeSegmentLetter: return Shape::Segment;
        default: return Shape::None;
    }
}

int corners(Shape shape) { return shape == Shape::Segment ? 2 : shape == Shape::Triangle ? 3 : 4; }

// The vertex block of a segment, triangle or quad record in hand.
bool getVertices(GMD_File* file, Shape shape, float* xyz) {
    switch (shape) {
        case Shape::Segment: return GMD_GetSegment(file, xyz) == 1;
        case Shape::Triangle: return GMD_GetTriangle(file, xyz) == 1;
        case Shape::Quad: return GMD_GetQuad(file, xyz) == 1;
        default: return false;
    }
}

// A file that no longer reads as it did when it was scanned (changed, cut or
// unreadable between the passes).
int changedUnderfoot(GMDK_Report* report, std::uint64_t record) {
    if (report != nullptr) {
        report->stop = GMDK_STOP_UNREADABLE;
        report->os_error = EIO;
        std::snprintf(report->reason, sizeof report->reason, "record %llu no longer reads as it did when scanned",
                      static_cast<unsigned long long>(record));
    }
    return GMDK_STATUS_READ_FAILED;
}

GMD_File* openRecords(const std::string& path, GMDK_Report* report) {
    errno = 0;
    GMD_File* file = GMD_OpenReadFile(path.c_str());
    if (file == nullptr && report != nullptr) {
        report->stop = GMDK_STOP_UNREADABLE;
        report->os_error = errno != 0 ? errno : EIO;
        gmdk::errorText(report->os_error, report->reason, sizeof report->reason);
    }
    return file;
}

int countRecords(GMDK_MeshReader& reader, GMDK_Report* report) {
    GMD_File* file = openRecords(reader.path, report);
    if (file == nullptr) return GMDK_STATUS_OPEN_FAILED;
    const bool merge = (reader.options & GMDK_MERGE_POINTS) != 0;
    int status = GMDK_STATUS_OK;
    float xyz[12];
    for (std::uint64_t i = 0; i < reader.records; ++i) {
        if (GMD_GetRecord(file) != 1) {
            status = changedUnderfoot(report, i);
            break;
        }
        const Shape shape = shapeOf(GMD_GetRecordType(file));
        switch (shape) {
            case Shape::None: continue;
            case Shape::Segment: ++reader.segments; break;
            case Shape::Triangle: ++reader.triangles; break;
            case Shape::Quad: ++reader.quads; break;
        }
        if (merge) {
            getVertices(file, shape, xyz);
            for (int k = 0; k < corners(shape); ++k) reader.merged.insert(xyz + 3 * k);
        }
    }
    GMD_CloseFile(file);
    reader.points = merge ? reader.merged.size() : 2 * reader.segments + 3 * reader.triangles + 4 * reader.quads;
    return status;
}

bool sameCounts(const GMDK_MeshReader& reader, const GMDK_Mesh& mesh) {
    return mesh.point_count == reader.points && mesh.segments.count == reader.segments &&
           mesh.triangles.count == reader.triangles && mesh.quads.count == reader.quads;
}

}  // namespace

extern "C" int gmdk_mesh_open(const char* path, int options, GMDK_MeshReader** reader, GMDK_Mesh* counts,
                              GMDK_Report* report) {
    if (reader != nullptr) *reader = nullptr;
    if (path == nullptr || reader == nullptr || counts == nullptr ||
        (options & ~(GMDK_MERGE_POINTS | GMDK_KEEP_DAMAGED)) != 0)
        return GMDK_STATUS_BAD_ARGUMENT;

    GMDK_Report scanned;
    int status = gmdk_scan_file(path, &scanned);
    if (report != nullptr) *report = scanned;
    if (status == GMDK_STATUS_DAMAGED && (options & GMDK_KEEP_DAMAGED) != 0) status = GMDK_STATUS_OK;
    if (status != GMDK_STATUS_OK) return status;

    GMDK_MeshReader* made = new (std::nothrow) GMDK_MeshReader;
    if (made == nullptr) return GMDK_STATUS_NO_MEMORY;
    try {
        made->path = path;
        made->options = options;
        made->records = scanned.frames;
        status = countRecords(*made, report);
    } catch (const std::bad_alloc&) {
        status = GMDK_STATUS_NO_MEMORY;
    }
    if (status != GMDK_STATUS_OK) {
        delete made;
        return status;
    }
    counts->point_count = made->points;
    counts->segments.count = made->segments;
    counts->triangles.count = made->triangles;
    counts->quads.count = made->quads;
    *reader = made;
    return GMDK_STATUS_OK;
}

extern "C" int gmdk_mesh_fill(GMDK_MeshReader* reader, GMDK_Mesh* mesh) {
    if (reader == nullptr || mesh == nullptr || !sameCounts(*reader, *mesh)) return GMDK_STATUS_BAD_ARGUMENT;
    const bool merge = (reader->options & GMDK_MERGE_POINTS) != 0;
    if (merge && mesh->points != nullptr && reader->points > 0)
        std::memcpy(mesh->points, reader->merged.points().data(),
                    static_cast<std::size_t>(reader->points) * 3 * sizeof(float));

    GMD_File* file = openRecords(reader->path, nullptr);
    if (file == nullptr) return GMDK_STATUS_OPEN_FAILED;
    int status = GMDK_STATUS_OK;
    std::int64_t nextPoint = 0;
    std::int64_t filled[3] = {0, 0, 0};  // segments, triangles, quads
    GMDK_Cells* const kinds[3] = {&mesh->segments, &mesh->triangles, &mesh->quads};
    float xyz[12];
    for (std::uint64_t i = 0; i < reader->records; ++i) {
        if (GMD_GetRecord(file) != 1) {
            status = GMDK_STATUS_READ_FAILED;
            break;
        }
        const std::int32_t type = GMD_GetRecordType(file);
        const Shape shape = shapeOf(type);
        if (shape == Shape::None) continue;
        const int kind = static_cast<int>(shape) - static_cast<int>(Shape::Segment);
        GMDK_Cells& cells = *kinds[kind];
        const std::int64_t at = filled[kind]++;
        const int k = corners(shape);
        if (at >= cells.count || !getVertices(file, shape, xyz)) {
            status = GMDK_STATUS_READ_FAILED;
            break;
        }
        bool unknownPoint = false;
        for (int c = 0; c < k; ++c) {
            std::int64_t point;
            if (merge) {
                point = reader->merged.lookup(xyz + 3 * c);
                unknownPoint |= point < 0;
            } else {
                point = nextPoint++;
                if (mesh->points != nullptr) std::memcpy(mesh->points + 3 * point, xyz + 3 * c, 3 * sizeof(float));
            }
            if (cells.corners != nullptr) cells.corners[at * k + c] = point;
        }
        if (unknownPoint) {
            status = GMDK_STATUS_READ_FAILED;
            break;
        }
        if (cells.group != nullptr) {
            std::int32_t group = 0;
            GMD_GetGroup(file, &group);
            cells.group[at] = group;
        }
        if (cells.volume != nullptr) {
            std::int32_t volume[2] = {0, 0};
            if (type == GMD_RECORD_VOLUME_TRIANGLE || type == GMD_RECORD_VOLUME_QUAD)
                GMD_GetPolygonVolumes(file, &volume[0], &volume[1]);
            else if (type == kVolumeSegmentLetter)
                GMD_GetSegmentVolume(file, &volume[0]);
            cells.volume[2 * at] = volume[0];
            cells.volume[2 * at + 1] = volume[1];
        }
        if (cells.record != nullptr) cells.record[at] = static_cast<std::int64_t>(i);
        if (shape == Shape::Segment && mesh->segment_radius != nullptr) {
            float radius = 0.0f;
            GMD_GetSegmentRadius(file, &radius);  // a 6-word segment has none: 0
            mesh->segment_radius[at] = radius;
        }
    }
    GMD_CloseFile(file);
    if (status == GMDK_STATUS_OK &&
        (filled[0] != mesh->segments.count || filled[1] != mesh->triangles.count || filled[2] != mesh->quads.count))
        status = GMDK_STATUS_READ_FAILED;
    return status;
}

extern "C" void gmdk_mesh_close(GMDK_MeshReader* reader) { delete reader; }
