#include "column.h"

#include <cstdlib>
#include <new>

#if defined(_WIN32)
#  include <malloc.h>
#elif defined(__linux__)
#  include <sys/mman.h>
#endif

namespace gmdk {

namespace {
constexpr std::size_t kHugePage = std::size_t{1} << 21;
}

void* allocateLarge(std::size_t bytes) {
    if (bytes == 0 || bytes > SIZE_MAX - kHugePage) throw std::bad_alloc();
    const std::size_t size = (bytes + kHugePage - 1) & ~(kHugePage - 1);
#if defined(_WIN32)
    void* block = _aligned_malloc(size, kHugePage);
#else
    void* block = std::aligned_alloc(kHugePage, size);
#endif
    if (block == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(block, size, MADV_HUGEPAGE);  // only advice: without it the pages are small
#endif
    return block;
}

void freeLarge(void* block) {
#if defined(_WIN32)
    _aligned_free(block);
#else
    std::free(block);
#endif
}

}  // namespace gmdk
