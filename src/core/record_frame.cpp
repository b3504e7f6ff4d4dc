#include "record_frame.h"

#include <algorithm>
#include <new>
#include <vector>

#include "byte_order.h"

namespace gmd {
namespace {

// A frame may claim up to 2 GiB. Payloads above this size are read in steps
// that grow the word array only as far as the bytes that actually arrived,
// so a short file claiming a huge length never costs a huge allocation.
constexpr std::int64_t kPayloadStepBytes = std::int64_t{1} << 20;

bool fail(FileStream& stream, RecordBuffer& record) noexcept {
    record.resize(0);  // shrinking never allocates
    stream.markFailed();
    return false;
}

// Reads `bytes` payload bytes into the record's words, growing the array step
// by step. The bytes of a final partial word that the payload does not cover
// are zero.
bool readPayload(FileStream& stream, RecordBuffer& record, std::int64_t bytes) {
    std::int64_t done = 0;
    record.resize(0);
    while (done < bytes) {
        std::int64_t step = std::min(bytes - done, std::max(kPayloadStepBytes, done));
        std::int64_t words = (done + step + 3) / 4;
        record.resize(static_cast<std::int32_t>(words));
        record.setRaw(static_cast<std::int32_t>(words - 1), 0);
        auto* dst = reinterpret_cast<unsigned char*>(record.payload()) + done;
        if (!stream.read(dst, static_cast<std::size_t>(step))) return false;
        done += step;
    }
    swapWordsIfBigEndian(record.payload(), static_cast<std::size_t>(record.wordCount()));
    return true;
}

}  // namespace

bool readFrame(FileStream& stream, RecordBuffer& record) noexcept {
    unsigned char head[8];
    if (!stream.read(head, sizeof head)) return fail(stream, record);

    const auto length = static_cast<std::int32_t>(loadLittle32(head));
    record.letter = head[4];
    // head[5], the word count byte, saturates at 255 and is never trusted.
    record.group = static_cast<std::int8_t>(head[6]);
    record.group2 = static_cast<std::int8_t>(head[7]);

    if (length < 4) return fail(stream, record);
    try {
        if (!readPayload(stream, record, std::int64_t{length} - 4)) return fail(stream, record);
    } catch (...) {
        // An allocation failure is a failed read; nothing leaves this function.
        return fail(stream, record);
    }

    unsigned char tail[4];
    if (!stream.read(tail, sizeof tail)) return fail(stream, record);
    if (static_cast<std::int32_t>(loadLittle32(tail)) != length) return fail(stream, record);
    return true;
}

int writeFrame(FileStream& stream, const RecordBuffer& record) noexcept {
    const std::int32_t n = record.wordCount();
    if (n > kMaxWritableWords) {
        // The length would not fit its field; nothing is written.
        return 0;
    }
    const std::uint32_t length = 4u + 4u * static_cast<std::uint32_t>(n);
    unsigned char head[8];
    storeLittle32(head, length);
    head[4] = record.letter;
    head[5] = static_cast<unsigned char>(std::min<std::int32_t>(n, 255));
    head[6] = static_cast<unsigned char>(record.group);
    head[7] = static_cast<unsigned char>(record.group2);
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
    unsigned char tail[4];
    storeLittle32(tail, length);
    stream.write(tail, sizeof tail);
    return stream.failed() && !stream.eof() ? 0 : 1;
}

}  // namespace gmd
