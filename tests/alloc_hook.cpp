#include "alloc_hook.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool counting = false, fired = false;
thread_local std::size_t counted = 0, remaining = static_cast<std::size_t>(-1);

void* allocate(std::size_t size) {
    if (remaining != static_cast<std::size_t>(-1) && remaining-- == 0) {
        fired = true;
        throw std::bad_alloc();
    }
    counted += counting ? size : 0;
    void* p = std::malloc(size ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

namespace gmdtest {

CountAllocations::CountAllocations() {
    counting = true;
    counted = 0;
}
CountAllocations::~CountAllocations() { counting = false; }
std::size_t CountAllocations::bytes() const { return counted; }

bool failAllocationAfter(std::size_t succeed) {
    const bool last = fired;
    remaining = succeed;
    fired = false;
    return last;
}

}  // namespace gmdtest

// Replacements of the global allocation functions for the whole test program.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
