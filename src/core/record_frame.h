// Moving one record between the RecordBuffer and the file as a frame:
//   L (int32) | letter, word count byte, group byte, second header byte |
//   payload (L - 4 bytes) | L again
// with every multi-byte field little-endian.
#pragma once

#include "file_stream.h"
#include "record_buffer.h"

namespace gmd {

// True when a whole frame was read. On failure the words are emptied, the
// stream is left failed, and the letter and header bytes are those of the
// damaged frame, or of the previous record when not even the header arrived.
bool readFrame(FileStream& stream, RecordBuffer& record) noexcept;

// 1 unless the stream has failed (and is not merely at end of file).
int writeFrame(FileStream& stream, const RecordBuffer& record) noexcept;

}  // namespace gmd
