#include "alloc_hook.h"

#include <cstdlib>
#include <new>

namespace gmdtest {
namespace {

struct HookState {
    bool counting = false;
    AllocationStats stats;
    bool armed = false;
    std::size_t remaining = 0;
    bool fired = false;
};

thread_local HookState hook;

void* allocate(std::size_t size) {
    if (hook.armed) {
        if (hook.remaining == 0) {
            hook.armed = false;
            hook.fired = true;
            throw std::bad_alloc();
        }
        --hook.remaining;
    }
    if (hook.counting) {
        ++hook.stats.calls;
        hook.stats.bytes += size;
        if (size > hook.stats.largest) hook.stats.largest = size;
    }
    void* p = std::malloc(size ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

CountAllocations::CountAllocations() {
    hook.counting = true;
    hook.stats = AllocationStats{};
}
CountAllocations::~CountAllocations() { hook.counting = false; }
AllocationStats CountAllocations::stats() const { return hook.stats; }

FailAllocation::FailAllocation(std::size_t succeed) {
    hook.armed = true;
    hook.remaining = succeed;
    hook.fired = false;
}
FailAllocation::~FailAllocation() { hook.armed = false; }
bool FailAllocation::failed() const { return hook.fired; }

}  // namespace gmdtest

// Replacements of the global allocation functions for the whole test program.
void* operator new(std::size_t size) { return gmdtest::allocate(size); }
void* operator new[](std::size_t size) { return gmdtest::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return gmdtest::allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return gmdtest::allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
