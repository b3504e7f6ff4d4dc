// Per-cell values kept as arithmetic runs {first, step, count}. The cells of
// one record share its group, volumes, type and record index, mesh files are
// written a group at a time, and a run of plain polygons counts its record
// index up by one: a whole mesh often takes a handful of runs where an array
// would take a value per cell. At worst (no two steps alike) a run holds two
// values, one and a half times the array.
#pragma once

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
        ++size_;
        if (!runs_.empty()) {
            Run& r = runs_.back();
            if (r.count == 1) {
                r.step = static_cast<U>(static_cast<U>(value) - r.first);
                r.count = 2;
                return;
            }
            if (static_cast<U>(value) == static_cast<U>(r.first + r.step * r.count) && r.count < UINT32_MAX) {
                ++r.count;
                return;
            }
        }
        runs_.push_back(Run{static_cast<U>(value), 0, 1});
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T back() const {
        const Run& r = runs_.back();
        return static_cast<T>(static_cast<U>(r.first + r.step * (r.count - 1)));
    }

    // f(const T* values, std::size_t count) for all values in order, a
    // piece of at most 65536 at a time.
    template <typename F>
    void expand(F f) const {
        constexpr std::size_t kPiece = 1 << 16;
        std::vector<T> piece;
        piece.reserve(kPiece);
        for (const Run& r : runs_) {
            U value = r.first;
            for (std::uint32_t k = 0; k < r.count; ++k, value = static_cast<U>(value + r.step)) {
                piece.push_back(static_cast<T>(value));
                if (piece.size() == kPiece) {
                    f(static_cast<const T*>(piece.data()), piece.size());
                    piece.clear();
                }
            }
        }
        if (!piece.empty()) f(static_cast<const T*>(piece.data()), piece.size());
    }

private:
    struct Run {
        U first;
        U step;
        std::uint32_t count;
    };
    std::vector<Run> runs_;
    std::size_t size_ = 0;
};

}  // namespace gmdk
