// gmdk_mesh_open, gmdk_mesh_fill, gmdk_mesh_close: a whole mesh as arrays.
//
// Opening scans the frames (to know where good records end and why), then
// reads the records through libgmd once to count cells: that pass asks only
// for each record's type, no getter, unless points are merged and the unique
// points must be indexed. Filling reads them again and stores
// each cell's corners, group, volumes and record index. Merged corners go to
// the point index in runs, which lets it overlap the cache misses of a run. libgmd alone decides
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
#include "mesh_cells.h"
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

using gmdk::MeshCell;
using gmdk::Shape;

// Corners waiting for the point index, and where their indices go.
class MergeRun {
public:
    static constexpr std::size_t kCorners = 256;
    explicit MergeRun(gmdk::PointIndex& index) : index_(index) {}
    // `into` may be null: the index is then only made to know the point.
    void add(const float xyz[3], std::int64_t* into) {
        std::memcpy(xyz_ + 3 * count_, xyz, 3 * sizeof(float));
        into_[count_++] = into;
        if (count_ == kCorners) flush();
    }
    void flush() {
        index_.insert(xyz_, count_, ids_);
        for (std::size_t i = 0; i < count_; ++i)
            if (into_[i] != nullptr) *into_[i] = ids_[i];
        count_ = 0;
    }

private:
    gmdk::PointIndex& index_;
    std::size_t count_ = 0;
    float xyz_[3 * kCorners];
    std::int64_t ids_[kCorners];
    std::int64_t* into_[kCorners];
};

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

// Closes the handle however the pass ends (the point index may throw).
struct Closer {
    GMD_File* file;
    ~Closer() { GMD_CloseFile(file); }
};

int countRecords(GMDK_MeshReader& reader, GMDK_Report* report) {
    GMD_File* file = openRecords(reader.path, report);
    if (file == nullptr) return GMDK_STATUS_OPEN_FAILED;
    const Closer closer{file};
    const bool merge = (reader.options & GMDK_MERGE_POINTS) != 0;
    int status = GMDK_STATUS_OK;
    MergeRun run(reader.merged);
    MeshCell cell;
    for (std::uint64_t i = 0; i < reader.records; ++i) {
        if (GMD_GetRecord(file) != 1) {
            status = changedUnderfoot(report, i);
            break;
        }
        const std::int32_t type = GMD_GetRecordType(file);
        const Shape shape = gmdk::shapeOf(type);
        switch (shape) {
            case Shape::None: continue;
            case Shape::Segment: ++reader.segments; break;
            case Shape::Triangle: ++reader.triangles; break;
            case Shape::Quad: ++reader.quads; break;
        }
        if (merge && gmdk::readCell(file, type, 0, cell))
            for (int k = 0; k < gmdk::cornersOf(shape); ++k) run.add(cell.xyz + 3 * k, nullptr);
    }
    run.flush();
    reader.points = merge ? reader.merged.size() : 2 * reader.segments + 3 * reader.triangles + 4 * reader.quads;
    return status;
}

bool sameCounts(const GMDK_MeshReader& reader, const GMDK_Mesh& mesh) {
    return mesh.point_count == reader.points && mesh.segments.count == reader.segments &&
           mesh.triangles.count == reader.triangles && mesh.quads.count == reader.quads;
}

// The second pass over the open file; throws std::bad_alloc when the point
// index cannot grow (only a file changed since opening makes it).
int fillRecords(GMDK_MeshReader& reader, GMDK_Mesh& mesh, GMD_File* file) {
    int status = GMDK_STATUS_OK;
    std::int64_t nextPoint = 0;
    std::int64_t filled[3] = {0, 0, 0};  // segments, triangles, quads
    GMDK_Cells* const kinds[3] = {&mesh.segments, &mesh.triangles, &mesh.quads};
    const bool merge = (reader.options & GMDK_MERGE_POINTS) != 0;
    // The merged points are all known from opening: a point new to the
    // index means the file changed in between.
    MergeRun run(reader.merged);
    MeshCell cell;
    for (std::uint64_t i = 0; i < reader.records; ++i) {
        if (GMD_GetRecord(file) != 1) {
            status = GMDK_STATUS_READ_FAILED;
            break;
        }
        const std::int32_t type = GMD_GetRecordType(file);
        const Shape shape = gmdk::shapeOf(type);
        if (shape == Shape::None) continue;
        GMDK_Cells& cells = *kinds[static_cast<int>(shape) - static_cast<int>(Shape::Segment)];
        const std::int64_t at = filled[static_cast<int>(shape) - static_cast<int>(Shape::Segment)]++;
        const unsigned parts = (cells.group != nullptr ? gmdk::kCellGroup : 0u) |
                               (cells.volume != nullptr ? gmdk::kCellVolume : 0u) |
                               (shape == Shape::Segment && mesh.segment_radius != nullptr ? gmdk::kCellRadius : 0u);
        if (at >= cells.count || !gmdk::readCell(file, type, parts, cell)) {
            status = GMDK_STATUS_READ_FAILED;
            break;
        }
        const int k = gmdk::cornersOf(shape);
        for (int c = 0; c < k; ++c) {
            std::int64_t* const into = cells.corners != nullptr ? cells.corners + at * k + c : nullptr;
            if (merge) {
                run.add(cell.xyz + 3 * c, into);
                continue;
            }
            const std::int64_t point = nextPoint++;
            if (mesh.points != nullptr) std::memcpy(mesh.points + 3 * point, cell.xyz + 3 * c, 3 * sizeof(float));
            if (into != nullptr) *into = point;
        }
        if (cells.group != nullptr) cells.group[at] = cell.group;
        if (cells.volume != nullptr) {
            cells.volume[2 * at] = cell.volume[0];
            cells.volume[2 * at + 1] = cell.volume[1];
        }
        if (cells.record != nullptr) cells.record[at] = static_cast<std::int64_t>(i);
        if (parts & gmdk::kCellRadius) mesh.segment_radius[at] = cell.radius;
    }
    run.flush();
    if (status == GMDK_STATUS_OK && merge && reader.merged.size() != reader.points) status = GMDK_STATUS_READ_FAILED;
    if (status == GMDK_STATUS_OK &&
        (filled[0] != mesh.segments.count || filled[1] != mesh.triangles.count || filled[2] != mesh.quads.count))
        status = GMDK_STATUS_READ_FAILED;
    return status;
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
    const Closer closer{file};
    try {
        return fillRecords(*reader, *mesh, file);
    } catch (const std::bad_alloc&) {
        return GMDK_STATUS_NO_MEMORY;
    }
}

extern "C" void gmdk_mesh_close(GMDK_MeshReader* reader) { delete reader; }
