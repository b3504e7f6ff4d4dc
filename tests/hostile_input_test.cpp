// Lengths that lie: memory must follow the bytes that actually arrive.
#include "alloc_hook.h"
#include "test_support.h"

using namespace gmdtest;

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

Bytes claimLength(uint32_t length, std::size_t payloadBytes) {
    Bytes b;
    appendLE32(b, length);
    b.insert(b.end(), {'v', 255, 0, 0});
    b.resize(b.size() + payloadBytes, 0x5A);
    return b;
}

}  // namespace

TEST(HostileInput, ClaimedLengthCostsOnlyWhatArrives) {
    struct Case {
        const char* name;
        uint32_t length;
        std::size_t present;
        std::size_t allowedBytes;
    } cases[] = {
        {"2 GiB claimed, nothing present", 0x7FFFFFFFu, 4, 4 * kMiB},
        {"2 GiB claimed, 3 MiB present", 0x7FFFFFF8u, 3 * kMiB, 16 * kMiB},
        {"1 GiB claimed, 100 bytes present", 0x40000000u, 100, 4 * kMiB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        file.write(claimLength(c.length, c.present));
        Handle in(GMD_OpenReadFile(file.c_str()));
        ASSERT_NE(in.h, nullptr);
        AllocationStats stats;
        {
            CountAllocations counter;
            EXPECT_EQ(GMD_GetRecord(in), 0);
            stats = counter.stats();
        }
        EXPECT_LE(stats.bytes, c.allowedBytes) << "largest single request " << stats.largest;
        EXPECT_EQ(GMD_GetRecord(in), 0);
    }
}

TEST(HostileInput, GenuineLargeRecordStillReads) {
    // 48 MiB in one frame: several growth steps of the payload reader.
    const uint32_t words = 12u * 1024 * 1024;
    TempFile file;
    {
        Bytes b;
        b.reserve(12 + std::size_t{words} * 4);
        appendLE32(b, 4 + words * 4);
        b.insert(b.end(), {'v', 255, 0, 0});
        for (uint32_t i = 0; i < words; ++i) appendLE32(b, i ^ 0x9E3779B9u);
        appendLE32(b, 4 + words * 4);
        file.write(b);
    }
    Handle in(GMD_OpenReadFile(file.c_str()));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 'v');
    EXPECT_EQ(GMD_GetRecord(in), 0);
}

TEST(HostileInput, AllocationFailureInAFrameIsAFailedRead) {
    TempFile file;
    std::vector<uint32_t> words(5000, 7u);
    file.write(concat({frame('v', words), frame('G', floatWords({1.0f}))}));
    // Fail each allocation of the first read in turn; the read fails cleanly
    // and the handle stays failed, as on a damaged frame.
    for (std::size_t n = 0;; ++n) {
        Handle in(GMD_OpenReadFile(file.c_str()));
        ASSERT_NE(in.h, nullptr);
        const auto [got, fired] = withFailingAllocation(n, [&] { return GMD_GetRecord(in); });
        if (!fired) {
            EXPECT_EQ(got, 1);
            break;
        }
        EXPECT_EQ(got, 0) << "allocation " << n;
        EXPECT_EQ(GMD_GetRecord(in), 0) << "a failed read is final";
        ASSERT_LT(n, 50u);
    }
}

TEST(HostileInput, AllocationFailureWhileOpeningIsARefusal) {
    TempFile file;  // its name is too long for any small-string buffer
    file.write(frame('G', floatWords({1.0f})));
    for (std::size_t n = 0;; ++n) {
        const auto [opened, fired] = withFailingAllocation(n, [&] { return GMD_OpenReadFile(file.c_str()); });
        Handle in(opened);
        if (!fired) {
            ASSERT_NE(in.h, nullptr);
            EXPECT_EQ(GMD_GetRecord(in), 1);
            break;
        }
        EXPECT_EQ(in.h, nullptr) << "allocation " << n;
        ASSERT_LT(n, 20u);
    }
}
