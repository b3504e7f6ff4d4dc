#include "record_frame.h"

#include <algorithm>

namespace gmd {
namespace {

// A frame may claim up to 2 GiB. Payloads above this size are read in steps
// that grow the word array only as far as the bytes that actually arrived,
// so a short file claiming a huge length never costs a huge allocation.
constexpr std::int64_t kPayloadStepBytes = std::int64_t{1} << 20;

// Reads `bytes` payload bytes into the record's words, growing the array step
// by step. The bytes of a final partial word that the payload does not cover
// are zero.
bool readPayload(FileStream& stream, RecordBuffer& record, std::int64_t bytes) {
    std::int64_t done = 0;
    record.clear();
    while (done < bytes) {
        std::int64_t step = std::min(bytes - done, std::max(kPayloadStepBytes, done));
        std::int64_t words = (done + step + 3) / 4;
        record.resizeForOverwrite(static_cast<std::int32_t>(words));
        record.setRaw(static_cast<std::int32_t>(words - 1), 0);
        auto* dst = reinterpret_cast<unsigned char*>(record.payload()) + done;
        if (!stream.read(dst, static_cast<std::size_t>(step))) return false;
        done += step;
    }
    swapWordsIfBigEndian(record.payload(), static_cast<std::size_t>(record.wordCount()));
    return true;
}

}  // namespace

bool failFrame(FileStream& stream, RecordBuffer& record) noexcept {
    record.clear();
    stream.markFailed();
    return false;
}

bool readFrameSlow(FileStream& stream, RecordBuffer& record) noexcept {
    // A write or append handle has nothing to read; its record is left alone.
    if (!stream.readable()) return false;
    unsigned char head[kFrameHeadBytes];
    if (!stream.read(head, sizeof head)) return failFrame(stream, record);
    const std::int32_t length = takeFrameHead(head, record);
    if (length < 4) return failFrame(stream, record);
    try {
        if (!readPayload(stream, record, std::int64_t{length} - 4)) return failFrame(stream, record);
    } catch (...) {
        // An allocation failure is a failed read; nothing leaves this function.
        return failFrame(stream, record);
    }

    unsigned char tail[kFrameTailBytes];
    if (!stream.read(tail, sizeof tail)) return failFrame(stream, record);
    if (static_cast<std::int32_t>(loadLittle32(tail)) != length) return failFrame(stream, record);
    return true;
}

int writeFrameSlow(FileStream& stream, const RecordBuffer& record) noexcept {
    const std::int32_t n = record.wordCount();
    if (!fitsFrame(n)) {
        // Only a frame read with a partial last word is this long; its length
        // would not fit the field, so nothing is written.
        return 0;
    }
    const std::uint32_t length = 4u + 4u * static_cast<std::uint32_t>(n);
    unsigned char head[kFrameHeadBytes];
    putFrameHead(head, length, record);
    stream.write(head, sizeof head);

    if (n > 0) {
        if (kHostIsLittleEndian) {
            stream.write(record.payload(), static_cast<std::size_t>(n) * 4);
        } else {
            unsigned char word[4];
            for (std::int32_t i = 0; i < n; ++i) {
                storeLittle32(word, record.raw(i));
                stream.write(word, sizeof word);
            }
        }
    }
    unsigned char tail[kFrameTailBytes];
    storeLittle32(tail, length);
    stream.write(tail, sizeof tail);
    return writeResult(stream);
}

}  // namespace gmd
