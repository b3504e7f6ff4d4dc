#include "column.h"

#include <cstdlib>
#include <cstring>
#include <new>

#if defined(_WIN32)
#  include <malloc.h>
#elif defined(__linux__)
#  include <sys/mman.h>
#endif

namespace gmdk {

namespace {
constexpr std::size_t kHugePage = std::size_t{1} << 21;

std::size_t rounded(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }
}  // namespace

void* allocateLarge(std::size_t bytes) {
    if (bytes == 0 || bytes > SIZE_MAX / 2) throw std::bad_alloc();
    const std::size_t size = rounded(bytes);
#if defined(__linux__)
    // Straight from the kernel, which hands out zeroed pages: over-allocated
    // by one huge page and trimmed to the aligned part.
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    char* const first = static_cast<char*>(mapped);
    char* const block = first + ((kHugePage - reinterpret_cast<std::uintptr_t>(first) % kHugePage) % kHugePage);
    if (block != first) munmap(first, static_cast<std::size_t>(block - first));
    if (block + size != first + size + kHugePage)
        munmap(block + size, static_cast<std::size_t>(first + size + kHugePage - (block + size)));
#  if defined(MADV_HUGEPAGE)
    madvise(block, size, MADV_HUGEPAGE);  // only advice: without it the pages are small
#  endif
    return block;
#else
#  if defined(_WIN32)
    void* block = _aligned_malloc(size, kHugePage);
#  else
    void* block = std::aligned_alloc(kHugePage, size);
#  endif
    if (block == nullptr) throw std::bad_alloc();
    std::memset(block, 0, size);
    return block;
#endif
}

void freeLarge(void* block, std::size_t bytes) {
    if (block == nullptr) return;
#if defined(__linux__)
    munmap(block, rounded(bytes));
#elif defined(_WIN32)
    (void)bytes;
    _aligned_free(block);
#else
    (void)bytes;
    std::free(block);
#endif
}

}  // namespace gmdk
