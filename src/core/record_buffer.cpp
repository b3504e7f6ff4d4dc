#include "record_buffer.h"

namespace gmd {

void RecordBuffer::grow(std::int32_t n) {
    std::int64_t capacity = std::int64_t{capacity_} * 2;
    if (capacity < n) capacity = n;
    // Doubling stops at the longest record, unless a frame read needs more.
    if (capacity > kMaxRecordWords) capacity = n > kMaxRecordWords ? n : kMaxRecordWords;
    std::unique_ptr<RecordWord[]> grown(new RecordWord[static_cast<std::size_t>(capacity)]);
    if (size_ > 0) std::memcpy(grown.get(), words_.get(), static_cast<std::size_t>(size_) * 4);
    words_ = std::move(grown);
    capacity_ = static_cast<std::int32_t>(capacity);
}

}  // namespace gmd
