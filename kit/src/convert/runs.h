// Per-cell values kept as arithmetic runs {first, step, count}. The cells of
// one record share its group, volumes, type and record index, mesh files are
// written a group at a time, and a run of plain polygons counts its record
// index up by one: a whole mesh often takes a handful of runs where an array
// would take a value per cell. At worst (no two steps alike) a run holds two
// values, one and a half times the array.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace gmdk {

template <typename T>
class Runs {
    static_assert(std::is_integral<T>::value, "integers, or the bits of floats");
    // Steps wrap around as unsigned numbers do, so any sequence of values
    // comes back bit for bit.
    using U = typename std::make_unsigned<T>::type;

public:
    void push_back(T value) {
        const U v = static_cast<U>(value);
        if (v == next_ && open_.count > 1 && open_.count < UINT32_MAX) {
            ++open_.count;
        } else if (open_.count == 1) {
            open_.step = static_cast<U>(v - open_.first);
            open_.count = 2;
        } else {
            if (open_.count != 0) closed_.push_back(open_);
            open_ = Run{v, 0, 1};
        }
        next_ = static_cast<U>(v + open_.step);
    }

    std::size_t size() const {
        std::size_t n = open_.count;
        for (const Run& r : closed_) n += r.count;
        return n;
    }
    bool empty() const { return open_.count == 0; }
    T back() const { return static_cast<T>(static_cast<U>(open_.first + open_.step * (open_.count - 1))); }

    // f(const T* values, std::size_t count) for all values in order, a
    // piece of at most 65536 at a time.
    template <typename F>
    void expand(F f) const {
        constexpr std::size_t kPiece = 1 << 16;
        std::vector<T> piece(kPiece);
        std::size_t used = 0;
        auto put = [&](const Run& r) {
            U value = r.first;
            for (std::uint32_t k = 0; k < r.count;) {
                const std::size_t n = std::min<std::size_t>(r.count - k, kPiece - used);
                for (std::size_t i = 0; i < n; ++i, value = static_cast<U>(value + r.step))
                    piece[used + i] = static_cast<T>(value);
                used += n;
                k += static_cast<std::uint32_t>(n);
                if (used == kPiece) {
                    f(static_cast<const T*>(piece.data()), used);
                    used = 0;
                }
            }
        };
        for (const Run& r : closed_) put(r);
        put(open_);
        if (used != 0) f(static_cast<const T*>(piece.data()), used);
    }

private:
    struct Run {
        U first;
        U step;
        std::uint32_t count;
    };
    // The run values are added to is kept apart, so that continuing it
    // touches nothing else.
    std::vector<Run> closed_;
    Run open_{0, 0, 0};
    U next_ = 0;  // the value that continues the open run
};

}  // namespace gmdk
