// The stores behind whole meshes: the point merge against a plain map over
// enough points to grow its table many times and to make its table of recent
// points collide, and the run and column stores against the values put in.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "column.h"
#include "convert/runs.h"
#include "point_index.h"

namespace {

using Key = std::array<std::uint32_t, 3>;

Key keyOf(const float* xyz) {
    Key key;
    std::memcpy(key.data(), xyz, sizeof key);
    for (std::uint32_t& b : key)
        if (b == 0x80000000u) b = 0;
    return key;
}

TEST(PointIndex, MergesLikeAMapOfBitPatterns) {
    // Corners drawn from a pool with repeats both near (neighbouring cells)
    // and far apart, a negative zero for some zeros, and two NaN patterns.
    std::mt19937 random(7);
    const float nan1 = std::numeric_limits<float>::quiet_NaN();
    float nan2;
    const std::uint32_t otherNan = 0x7fc00001u;
    std::memcpy(&nan2, &otherNan, 4);
    std::vector<float> pool;
    for (int i = 0; i < 40000; ++i)
        for (int k = 0; k < 3; ++k) pool.push_back(static_cast<float>(random() % 5000) * 0.5f);
    pool[3 * 10] = nan1;
    pool[3 * 11] = nan2;
    std::vector<float> corners;
    for (int i = 0; i < 300000; ++i) {
        const std::size_t at = i % 3 == 0 ? random() % 40000 : (i * 7919u) % 40000;
        const float* p = &pool[3 * at];
        corners.insert(corners.end(), p, p + 3);
        if (p[0] == 0 && random() % 2) corners[corners.size() - 3] = -0.0f;
    }

    std::map<Key, std::int64_t> expected;
    std::vector<float> firstBits;
    gmdk::PointIndex index;
    // Batches of every size up to a few runs, and single inserts.
    std::size_t at = 0, n = 1;
    std::vector<std::int64_t> ids;
    while (at < corners.size() / 3) {
        n = std::min(n % 200 + 1, corners.size() / 3 - at);
        ids.resize(n);
        if (n == 1)
            ids[0] = index.insert(&corners[3 * at]);
        else
            index.insert(&corners[3 * at], n, ids.data());
        for (std::size_t i = 0; i < n; ++i) {
            const float* p = &corners[3 * (at + i)];
            const auto found = expected.emplace(keyOf(p), static_cast<std::int64_t>(expected.size()));
            if (found.second) firstBits.insert(firstBits.end(), p, p + 3);
            ASSERT_EQ(ids[i], found.first->second) << "corner " << at + i;
        }
        at += n;
    }
    ASSERT_EQ(index.size(), static_cast<std::int64_t>(expected.size()));
    ASSERT_EQ(0, std::memcmp(index.points().data(), firstBits.data(), firstBits.size() * sizeof(float)));
    for (const auto& e : expected) {
        float xyz[3];
        std::memcpy(xyz, e.first.data(), sizeof xyz);
        EXPECT_EQ(index.lookup(xyz), e.second);
    }
    const float absent[3] = {-1, -1, -1};
    EXPECT_EQ(index.lookup(absent), -1);
    const float otherNans[3] = {nan2, nan2, nan2};
    EXPECT_EQ(index.lookup(otherNans), -1);
}

template <typename T>
std::vector<T> expand(const gmdk::Runs<T>& runs) {
    std::vector<T> out;
    runs.expand([&](const T* v, std::size_t n) { out.insert(out.end(), v, v + n); });
    return out;
}

TEST(Runs, GiveBackEveryValue) {
    using L = std::numeric_limits<std::int32_t>;
    const std::vector<std::vector<std::int32_t>> cases = {
        {},
        {5},
        {3, 3, 3, 3, 4, 4},
        {0, 1, 2, 3, 3, 3, 9, 8, 7},
        {L::max() - 1, L::max(), L::min(), L::min() + 1},  // steps across the wrap
        {L::min(), L::max(), L::min(), L::max()},
        {1, 2, 4, 8, 16, 32, 64},
    };
    for (const auto& values : cases) {
        gmdk::Runs<std::int32_t> runs;
        for (std::int32_t v : values) runs.push_back(v);
        EXPECT_EQ(expand(runs), values);
        EXPECT_EQ(runs.size(), values.size());
        if (!values.empty()) {
            EXPECT_EQ(runs.back(), values.back());
        }
    }
    // More values than one piece of the expansion, counting up in 64 bits.
    gmdk::Runs<std::int64_t> records;
    std::vector<std::int64_t> values;
    for (std::int64_t i = 0; i < 200000; ++i) values.push_back((std::int64_t{1} << 40) + i / 3 + (i % 5 == 0));
    for (std::int64_t v : values) records.push_back(v);
    EXPECT_EQ(expand(records), values);
}

TEST(Column, KeepsValuesAcrossBlocks) {
    gmdk::Column<std::uint32_t> column;
    const std::size_t n = 2 * gmdk::Column<std::uint32_t>::kPerBlock + 3;
    for (std::size_t i = 0; i < n; ++i) column.push_back(static_cast<std::uint32_t>(i * 2654435761u));
    ASSERT_EQ(column.size(), n);
    EXPECT_EQ(column.back(), static_cast<std::uint32_t>((n - 1) * 2654435761u));
    std::size_t seen = 0, blocks = 0;
    column.forEachBlock([&](const std::uint32_t* v, std::size_t count) {
        ++blocks;
        for (std::size_t i = 0; i < count; ++i, ++seen) ASSERT_EQ(v[i], static_cast<std::uint32_t>(seen * 2654435761u));
    });
    EXPECT_EQ(seen, n);
    EXPECT_EQ(blocks, 3u);
    EXPECT_EQ(column[n / 2], static_cast<std::uint32_t>((n / 2) * 2654435761u));
}

}  // namespace
