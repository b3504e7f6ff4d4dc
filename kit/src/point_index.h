// PointIndex gives exactly equal points one index: the merge of a mesh's
// corners. Equal means equal bit patterns once -0.0 is taken as 0.0, so a
// NaN coordinate merges only with the same NaN pattern (never with another
// NaN or a number), and no two distinct finite values ever meet. The first
// occurrence's bits are kept as the point, and points are numbered in order
// of first insertion.
//
// An open-addressing table whose 16-byte slots hold the key beside its index,
// so that a probe costs one cache line. Tables of millions of points do not
// fit any cache, so the batch insert hashes a run of points and prefetches
// their slots before it probes any of them, and a small table of the points
// met last answers the corners that neighbouring cells share. Memory grows
// with the unique points only (44 to 76 bytes each: the table is kept between
// a quarter and half full), by doubling, never per lookup. At most 2^32 - 1 distinct points
// fit; more throw std::bad_alloc, as a table that size would long before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "column.h"

namespace gmdk {

class PointIndex {
public:
    // Points hashed and prefetched together by the batch insert.
    static constexpr std::size_t kBatch = 64;

    // The point's index, adding it when it is new.
    std::int64_t insert(const float xyz[3]) {
        std::int64_t id;
        insert(xyz, 1, &id);
        return id;
    }
    // The indices of `n` points (x, y, z after x, y, z) into ids, the same
    // as n single inserts in order would give.
    void insert(const float* xyz, std::size_t n, std::int64_t* ids);

    // The point's index, or -1 when it was never inserted.
    std::int64_t lookup(const float xyz[3]) const;

    std::int64_t size() const { return static_cast<std::int64_t>(points_.size() / 3); }
    // x, y, z of every point, in the order of first insertion.
    const std::vector<float>& points() const { return points_; }

private:
    // The point's bits with -0.0 made 0.0, and its index + 1 (0: empty).
    struct Slot {
        std::uint32_t key[3];
        std::uint32_t id;
    };
    static constexpr int kRecentBits = 12;

    static Slot slotOf(const float xyz[3]);
    void makeRoom(std::size_t more);
    std::size_t find(const Slot& key, std::uint64_t hash) const;

    std::unique_ptr<Slot[], FreeLarge> slots_;
    std::size_t mask_ = 0;      // slots - 1: a power of two, at most half of them used
    std::vector<Slot> recent_;  // the point last met per hash value, direct-mapped
    std::vector<float> points_;
};

}  // namespace gmdk
