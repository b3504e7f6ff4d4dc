// The record cycle: GetRecord reads a frame and hands it to its letter's read
// step; GetRecordType answers from the letter's type codes; WriteRecord runs its
// letter's write step, writes the frame and empties the record.
#include "access.h"
#include "dispatch.h"
#include "record_frame.h"

using namespace gmd;

int32_t GMD_GetRecord(GMD_File* handle) {
    if (handle == nullptr) return 0;
    RecordFile& file = *fileOf(handle);
    if (!readFrame(file.stream, file.record)) return 0;

    const LetterSteps& steps = letterTable()[file.record.letter];
    bool valid = true;
    if (steps.read != nullptr) {
        try {
            valid = steps.read(file);
        } catch (...) {
            // A decoder that cannot allocate rejects the record.
            valid = false;
        }
    }
    file.invalid = !valid;
    return 1;
}

int32_t GMD_GetRecordType(GMD_File* handle) {
    if (handle == nullptr) return 0;
    const RecordFile& file = *fileOf(handle);
    if (file.invalid) return 0;
    return kTypeCodes[file.record.letter][file.quad ? 1 : 0];
}

int32_t GMD_WriteRecord(GMD_File* handle) {
    if (handle == nullptr) return 0;
    RecordFile& file = *fileOf(handle);
    int result = 0;
    if (file.stream.writable()) {
        const LetterSteps& steps = letterTable()[file.record.letter];
        bool encoded = true;
        if (steps.write != nullptr) {
            try {
                steps.write(file);
            } catch (...) {
                encoded = false;
            }
        }
        if (encoded) result = writeFrame(file.stream, file.record);
    }
    file.emptyRecord();
    return result;
}

int32_t GMD_ResetRecord(GMD_File* handle) {
    if (handle == nullptr) return 0;
    fileOf(handle)->emptyRecord();
    return 1;
}
