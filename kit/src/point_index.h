// PointIndex gives exactly equal points one index: the merge of a mesh's
// corners. Equal means equal bit patterns once -0.0 is taken as 0.0, so a
// NaN coordinate merges only with the same NaN pattern (never with another
// NaN or a number), and no two distinct finite values ever meet. The first
// occurrence's bits are kept as the point.
//
// An open-addressing table of indices into the point store: memory grows
// with the unique points only (about 40 bytes each), by doubling, never per
// lookup.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace gmdk {

class PointIndex {
public:
    // The point's index, adding it when it is new.
    std::int64_t insert(const float xyz[3]) {
        Key key = keyOf(xyz);
        if ((keys_.size() + 1) * 2 > slots_.size()) grow();
        std::size_t slot = find(key);
        if (slots_[slot] < 0) {
            slots_[slot] = static_cast<std::int64_t>(keys_.size());
            keys_.push_back(key);
            points_.insert(points_.end(), xyz, xyz + 3);
        }
        return slots_[slot];
    }

    // The point's index, or -1 when it was never inserted.
    std::int64_t lookup(const float xyz[3]) const {
        if (slots_.empty()) return -1;
        return slots_[find(keyOf(xyz))];
    }

    std::int64_t size() const { return static_cast<std::int64_t>(keys_.size()); }
    // x, y, z of every point, in the order of first insertion.
    const std::vector<float>& points() const { return points_; }

private:
    struct Key {
        std::uint32_t bits[3];
    };

    static Key keyOf(const float xyz[3]) {
        Key key;
        std::memcpy(key.bits, xyz, sizeof key.bits);
        for (std::uint32_t& b : key.bits)
            if (b == 0x80000000u) b = 0;  // -0.0 is 0.0
        return key;
    }

    static std::uint64_t hash(const Key& key) {
        std::uint64_t h = (static_cast<std::uint64_t>(key.bits[0]) << 32 | key.bits[1]) * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) + key.bits[2] * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 32;
        return h * 0x165667B19E3779F9ull;
    }

    // The slot holding the key, or the empty slot where it belongs.
    std::size_t find(const Key& key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = static_cast<std::size_t>(hash(key) >> 20) & mask;
        for (;;) {
            const std::int64_t at = slots_[slot];
            if (at < 0) return slot;
            const Key& stored = keys_[static_cast<std::size_t>(at)];
            if (stored.bits[0] == key.bits[0] && stored.bits[1] == key.bits[1] && stored.bits[2] == key.bits[2])
                return slot;
            slot = (slot + 1) & mask;
        }
    }

    void grow() {
        std::vector<std::int64_t> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, -1);
        for (std::int64_t at : old)
            if (at >= 0) slots_[find(keys_[static_cast<std::size_t>(at)])] = at;
    }

    std::vector<std::int64_t> slots_;  // index into keys_, or -1; size a power of two
    std::vector<Key> keys_;            // the points' bits with -0.0 made 0.0
    std::vector<float> points_;        // the points as first met
};

}  // namespace gmdk
