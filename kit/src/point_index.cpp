#include "point_index.h"

#include <cstring>
#include <new>

#if defined(__GNUC__) || defined(__clang__)
#  define GMDK_PREFETCH(address) __builtin_prefetch(address, 1)
#else
#  define GMDK_PREFETCH(address) ((void)(address))
#endif

namespace gmdk {

namespace {


std::uint64_t hashOf(const std::uint32_t bits[3]) {
    std::uint64_t h = (static_cast<std::uint64_t>(bits[0]) << 32 | bits[1]) * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) + bits[2] * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 32;
    return h * 0x165667B19E3779F9ull;
}

template <typename A, typename B>
bool sameKey(const A& a, const B& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// The table slot a hash starts probing at, and the entry of the recent table.
std::size_t home(std::uint64_t hash, std::size_t mask) { return static_cast<std::size_t>(hash >> 20) & mask; }

}  // namespace

PointIndex::Slot PointIndex::slotOf(const float xyz[3]) {
    Slot slot;
    std::memcpy(slot.key, xyz, sizeof slot.key);
    for (std::uint32_t& b : slot.key)
        if (b == 0x80000000u) b = 0;  // -0.0 is 0.0
    slot.id = 0;
    return slot;
}

std::size_t PointIndex::find(const Slot& key, std::uint64_t hash) const {
    for (std::size_t slot = home(hash, mask_);; slot = (slot + 1) & mask_) {
        const Slot& s = slots_[slot];
        if (s.id == 0 || sameKey(s.key, key.key)) return slot;
    }
}

// Keeps the table at most half full with `more` new points.
void PointIndex::makeRoom(std::size_t more) {
    const std::size_t used = points_.size() / 3;
    if (used + more > 0xFFFFFFFEu) throw std::bad_alloc();
    if (recent_.empty()) recent_.assign(std::size_t{1} << kRecentBits, Slot{{0, 0, 0}, 0});
    const std::size_t slots = slots_ ? mask_ + 1 : 0;
    std::size_t size = slots_ ? slots : 1024;
    while ((used + more) * 2 > size) size *= 2;
    if (size == slots) return;
    std::unique_ptr<Slot[], FreeLarge> old(static_cast<Slot*>(allocateLarge(size * sizeof(Slot))),
                                           FreeLarge{size * sizeof(Slot)});
    old.swap(slots_);
    mask_ = size - 1;
    for (std::size_t i = 0; i < slots; ++i) {
        const Slot& s = old[i];
        if (s.id == 0) continue;
        std::size_t slot = home(hashOf(s.key), mask_);
        while (slots_[slot].id != 0) slot = (slot + 1) & mask_;
        slots_[slot] = s;
    }
}

void PointIndex::insert(const float* xyz, std::size_t n, std::int64_t* ids) {
    struct Pending {
        Slot key;
        std::uint64_t hash;
        std::size_t at;
    };
    for (std::size_t first = 0; first < n; first += kBatch) {
        const std::size_t end = n - first < kBatch ? n : first + kBatch;
        makeRoom(end - first);
        // Hash every point first and start loading the slots of those the
        // recent table does not answer, so that their cache misses overlap.
        Pending pending[kBatch];
        std::size_t waiting = 0;
        for (std::size_t i = first; i < end; ++i) {
            Pending& p = pending[waiting];
            p.key = slotOf(xyz + 3 * i);
            p.hash = hashOf(p.key.key);
            const Slot& seen = recent_[p.hash >> (64 - kRecentBits)];
            if (seen.id != 0 && sameKey(seen.key, p.key.key)) {
                ids[i] = static_cast<std::int64_t>(seen.id) - 1;
                continue;
            }
            p.at = i;
            GMDK_PREFETCH(&slots_[home(p.hash, mask_)]);
            ++waiting;
        }
        // In order, so that a point new to the batch is numbered where it
        // first occurs and its repeats find it.
        for (std::size_t j = 0; j < waiting; ++j) {
            const Pending& p = pending[j];
            Slot& slot = slots_[find(p.key, p.hash)];
            if (slot.id == 0) {
                const float* point = xyz + 3 * p.at;
                points_.insert(points_.end(), point, point + 3);
                slot = p.key;
                slot.id = static_cast<std::uint32_t>(points_.size() / 3);
            }
            recent_[p.hash >> (64 - kRecentBits)] = slot;
            ids[p.at] = static_cast<std::int64_t>(slot.id) - 1;
        }
    }
}

std::int64_t PointIndex::lookup(const float xyz[3]) const {
    if (!slots_) return -1;
    const Slot key = slotOf(xyz);
    return static_cast<std::int64_t>(slots_[find(key, hashOf(key.key))].id) - 1;
}

}  // namespace gmdk
