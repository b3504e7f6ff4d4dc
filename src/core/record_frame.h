// Moving one record between the RecordBuffer and the file as a frame:
//   L (int32) | letter, word count byte, group byte, second header byte |
//   payload (L - 4 bytes) | L again
// with every multi-byte field little-endian.
//
// readFrame and writeFrame are inline for the common frame, which lies whole
// in the stream's buffer and needs no allocation: one bounds test and one
// copy of its payload. Every other frame takes the out-of-line path, which
// reads and writes piece by piece; so does every call on a handle opened in
// the other direction, whose buffer window is always empty.
#pragma once

#include <cstring>

#include "inlining.h"
#include "byte_order.h"
#include "file_stream.h"
#include "record_buffer.h"

namespace gmd {

constexpr std::size_t kFrameHeadBytes = 8;  // length field and the four header bytes
constexpr std::size_t kFrameTailBytes = 4;  // length field again

// Takes the letter and header bytes of a frame and returns its length field.
inline std::int32_t takeFrameHead(const unsigned char* head, RecordBuffer& record) {
    record.letter = head[4];
    // head[5], the word count byte, saturates at 255 and is never trusted.
    record.group = static_cast<std::int8_t>(head[6]);
    record.group2 = static_cast<std::int8_t>(head[7]);
    return static_cast<std::int32_t>(loadLittle32(head));
}

inline void putFrameHead(unsigned char* head, std::uint32_t length, const RecordBuffer& record) {
    storeLittle32(head, length);
    head[4] = record.letter;
    head[5] = static_cast<unsigned char>(record.wordCount() < 255 ? record.wordCount() : 255);
    head[6] = static_cast<unsigned char>(record.group);
    head[7] = static_cast<unsigned char>(record.group2);
}

// Copies the n bytes of a payload. Most payloads are a few dozen bytes (a
// triangle's are 36), for which calling into the C library costs as much as
// the copy: 32 to 64 bytes go as two fixed 32-byte copies that overlap in
// the middle, which the compiler turns into a few register moves.
GMD_ALWAYS_INLINE void copyPayload(void* dst, const void* src, std::size_t n) {
    constexpr std::size_t kHalf = 32;
    if (n - kHalf <= kHalf) {  // kHalf <= n <= 2 * kHalf; a smaller n wraps around
        auto* to = static_cast<unsigned char*>(dst);
        const auto* from = static_cast<const unsigned char*>(src);
        std::memcpy(to, from, kHalf);
        std::memcpy(to + n - kHalf, from + n - kHalf, kHalf);
    } else if (n > 0) {
        std::memcpy(dst, src, n);
    }
}

// The out-of-line paths; see readFrame and writeFrame.
bool readFrameSlow(FileStream& stream, RecordBuffer& record) noexcept;
bool failFrame(FileStream& stream, RecordBuffer& record) noexcept;
int writeFrameSlow(FileStream& stream, const RecordBuffer& record) noexcept;

// 1 unless the stream has failed (and is not merely at end of file).
inline int writeResult(const FileStream& stream) { return stream.failed() && !stream.eof() ? 0 : 1; }

// True when a whole frame was read. A handle that is not open for reading
// gives false with its stream and record untouched. On any other failure the
// words are emptied, the stream is left failed, and the letter and header
// bytes are those of the damaged frame, or of the previous record when not
// even the header arrived.
GMD_ALWAYS_INLINE bool readFrame(FileStream& stream, RecordBuffer& record) noexcept {
    const std::size_t buffered = stream.buffered();
    if (buffered >= kFrameHeadBytes) {
        const unsigned char* frame = stream.next();
        const auto length = static_cast<std::int32_t>(loadLittle32(frame));
        const std::size_t payloadBytes = static_cast<std::size_t>(length) - 4;
        const std::int64_t words = static_cast<std::int64_t>((payloadBytes + 3) / 4);
        const std::size_t frameBytes = kFrameHeadBytes + payloadBytes + kFrameTailBytes;
        if (length >= 4 && frameBytes <= buffered && record.hasRoomFor(words)) {
            stream.skip(frameBytes);
            takeFrameHead(frame, record);
            // The trailer is judged first so that little stays live across the copy.
            if (static_cast<std::int32_t>(loadLittle32(frame + frameBytes - kFrameTailBytes)) != length)
                return failFrame(stream, record);
            record.resizeForOverwrite(static_cast<std::int32_t>(words));
            if (words > 0) {
                // The bytes of a partial last word that the payload does not cover are zero.
                record.setRaw(static_cast<std::int32_t>(words - 1), 0);
                copyPayload(record.payload(), frame + kFrameHeadBytes, payloadBytes);
                swapWordsIfBigEndian(record.payload(), static_cast<std::size_t>(words));
            }
            return true;
        }
    }
    return readFrameSlow(stream, record);
}

// Writes the record as one frame; the result is writeResult's after it.
GMD_ALWAYS_INLINE int writeFrame(FileStream& stream, const RecordBuffer& record) noexcept {
    if (kHostIsLittleEndian) {
        const std::int32_t n = record.wordCount();
        const std::size_t payloadBytes = static_cast<std::size_t>(n) * 4;
        const std::size_t frameBytes = kFrameHeadBytes + payloadBytes + kFrameTailBytes;
        // A record too long for a frame never fits the buffer.
        if (frameBytes <= stream.writableRoom()) {
            unsigned char* out = stream.writePosition();
            const auto length = static_cast<std::uint32_t>(payloadBytes + 4);
            putFrameHead(out, length, record);
            copyPayload(out + kFrameHeadBytes, record.payload(), payloadBytes);
            storeLittle32(out + frameBytes - kFrameTailBytes, length);
            stream.commit(frameBytes);
            // Writing into the buffer cannot fail: the result is that of the frames before.
            return writeResult(stream);
        }
    }
    return writeFrameSlow(stream, record);
}

}  // namespace gmd
