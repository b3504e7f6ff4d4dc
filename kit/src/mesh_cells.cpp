#include "mesh_cells.h"

#include "gmd.h"

namespace gmdk {

namespace {
constexpr int kSegmentLetter = 'L';
constexpr int kVolumeSegmentLetter = 'l';
}  // namespace

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

bool readCell(GMD_File* file, std::int32_t type, unsigned parts, MeshCell& cell) {
    cell.shape = shapeOf(type);
    bool read = false;
    switch (cell.shape) {
        case Shape::None: return false;
        case Shape::Segment: read = GMD_GetSegment(file, cell.xyz) == 1; break;
        case Shape::Triangle: read = GMD_GetTriangle(file, cell.xyz) == 1; break;
        case Shape::Quad: read = GMD_GetQuad(file, cell.xyz) == 1; break;
    }
    if (!read) return false;
    if (parts & kCellGroup) GMD_GetGroup(file, &cell.group);
    if (parts & kCellVolume) {
        cell.volume[0] = cell.volume[1] = 0;
        if (type == GMD_RECORD_VOLUME_TRIANGLE || type == GMD_RECORD_VOLUME_QUAD)
            GMD_GetPolygonVolumes(file, &cell.volume[0], &cell.volume[1]);
        else if (type == kVolumeSegmentLetter)
            GMD_GetSegmentVolume(file, &cell.volume[0]);
    }
    if (parts & kCellRadius) {
        cell.radius = 0;
        if (cell.shape == Shape::Segment) GMD_GetSegmentRadius(file, &cell.radius);  // a 6-word segment has none: 0
    }
    return true;
}

}  // namespace gmdk
