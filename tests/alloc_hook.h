// A program-wide hook on operator new for the test suite: it counts the bytes
// the library asks for and can make the n-th allocation fail, so tests can
// prove that hostile lengths cost little memory and that every allocation
// failure ends in a clean refusal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace gmdtest {

struct AllocationStats {
    std::size_t calls = 0;
    std::size_t bytes = 0;    // total requested while counting
    std::size_t largest = 0;  // largest single request while counting
};

// Counts allocations on this thread between construction and destruction.
class CountAllocations {
public:
    CountAllocations();
    ~CountAllocations();
    AllocationStats stats() const;
};

// Makes the allocation after `succeed` more successful ones (on this thread)
// throw std::bad_alloc, until destroyed. failed() tells whether it fired.
class FailAllocation {
public:
    explicit FailAllocation(std::size_t succeed);
    ~FailAllocation();
    bool failed() const;
};

// What `call` returned with the allocation after `succeed` made to fail, and
// whether that allocation was reached.
template <class Call>
auto withFailingAllocation(std::size_t succeed, Call call) {
    FailAllocation fault(succeed);
    auto result = call();
    return std::make_pair(result, fault.failed());
}

}  // namespace gmdtest
