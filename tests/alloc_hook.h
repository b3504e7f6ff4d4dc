// A program-wide hook on operator new for the test suite: it counts the bytes
// the library asks for and can make the n-th allocation fail, so tests can
// prove that hostile lengths cost little memory and that every allocation
// failure ends in a clean refusal. Both work on the calling thread only.
#pragma once

#include <cstddef>
#include <utility>

namespace gmdtest {

// Bytes requested on this thread since construction.
class CountAllocations {
public:
    CountAllocations();
    ~CountAllocations();
    std::size_t bytes() const;
};

// Arms the allocation after `succeed` successful ones to throw std::bad_alloc
// (or disarms, for -1); returns whether the last armed one fired.
bool failAllocationAfter(std::size_t succeed);

// What `call` returned with the allocation after `succeed` made to fail, and
// whether that allocation was reached.
template <class Call>
auto withFailingAllocation(std::size_t succeed, Call call) {
    failAllocationAfter(succeed);
    auto result = call();
    return std::make_pair(result, failAllocationAfter(static_cast<std::size_t>(-1)));
}

}  // namespace gmdtest
