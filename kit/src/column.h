// Storage for the arrays of whole meshes, which run to hundreds of megabytes.
//
// Such arrays are allocated in 2 MiB pieces aligned to 2 MiB, which Linux may
// back with huge pages: a page fault per 2 MiB instead of per 4 KiB (with
// small pages the faults took about a sixth of a conversion to VTU). A
// Column grows block by block, so growing never copies what it holds nor
// needs room for it twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

namespace gmdk {

// `bytes` rounded up to a multiple of 2 MiB, aligned to 2 MiB, zeroed.
// Throws std::bad_alloc.
void* allocateLarge(std::size_t bytes);
// Frees what allocateLarge(bytes) gave.
void freeLarge(void* block, std::size_t bytes);

struct FreeLarge {
    std::size_t bytes = 0;
    void operator()(void* block) const { freeLarge(block, bytes); }
};

template <typename T>
class Column {
    static_assert(std::is_trivially_copyable<T>::value, "a column holds plain values");

public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 21;
    static constexpr std::size_t kPerBlock = kBlockBytes / sizeof(T);

    void push_back(T value) {
        if (next_ == end_) addBlock();
        *next_++ = value;
    }
    std::size_t size() const {
        return blocks_.empty() ? 0 : (blocks_.size() - 1) * kPerBlock + static_cast<std::size_t>(next_ - last());
    }
    bool empty() const { return size() == 0; }
    T operator[](std::size_t i) const { return static_cast<const T*>(blocks_[i / kPerBlock].get())[i % kPerBlock]; }
    T back() const { return next_[-1]; }

    // f(const T* values, std::size_t count) for every block in order.
    template <typename F>
    void forEachBlock(F f) const {
        for (std::size_t b = 0; b < blocks_.size(); ++b)
            f(static_cast<const T*>(blocks_[b].get()), b + 1 < blocks_.size() ? kPerBlock : static_cast<std::size_t>(next_ - last()));
    }

private:
    T* last() const { return static_cast<T*>(blocks_.back().get()); }
    void addBlock() {
        blocks_.emplace_back(allocateLarge(kBlockBytes), FreeLarge{kBlockBytes});
        next_ = last();
        end_ = next_ + kPerBlock;
    }

    std::vector<std::unique_ptr<void, FreeLarge>> blocks_;
    T* next_ = nullptr;
    T* end_ = nullptr;
};

}  // namespace gmdk
