// RecordFile: the object behind a GMD_File handle.
//
// One open file (the stream) and the single current record with its decoded
// forms. Nothing here is shared between handles.
//
// Apart from dispatch.cpp, this is the one core file that names record
// families: it holds their decoded members (and the flags of the record in
// hand) by value. Every other core file stays family-blind, which the test
// core_includes_no_family checks.
#pragma once

#include <cstdint>

#include "../solids/solid_geometry.h"
#include "../surfaces/hinge_data.h"
#include "../surfaces/nurbs_model.h"
#include "file_stream.h"
#include "record_buffer.h"

struct GMD_File;

namespace gmd {

class RecordFile {
public:
    FileStream stream;
    RecordBuffer record;
    bool invalid = false;          // the record just read failed its family's check
    bool quad = false;             // the polygon in hand has four corners
    bool hasOrientation = false;   // the attributed polygon in hand carries an FSS orientation
    // The macro group in hand was begun by its name and has no group list
    // yet. Every way to the letter 'U' sets it, so it means nothing under
    // another letter and the empty record need not clear it.
    bool nameWithoutGroupList = false;
    EllipticalCylinderGeometry ellipticalCylinder;
    ConeGeometry cone;
    NurbsModel nurbs;
    HingeData hinge;

    // Back to the empty record: what WriteRecord and ResetRecord leave behind.
    // clear() rather than resize(0), whose zero-filling branch the compiler
    // cannot rule out and which would weigh on every record written.
    void emptyRecord() {
        record.letter = 0;
        record.group = 0;
        record.group2 = 0;
        record.clear();
        quad = false;
        hasOrientation = false;
    }
};

inline RecordFile* fileOf(GMD_File* handle) { return reinterpret_cast<RecordFile*>(handle); }
inline GMD_File* handleOf(RecordFile* file) { return reinterpret_cast<GMD_File*>(file); }

}  // namespace gmd
