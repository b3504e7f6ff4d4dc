// Frames on disk: exact bytes written, and every way a frame can be damaged.
#include <cerrno>
#include <thread>

#include "core/file_stream.h"
#include "core/record_frame.h"
#include "test_support.h"

using namespace gmdtest;

namespace {

// Writes one record built directly in a RecordBuffer through the frame layer.
Bytes writeOneFrame(const TempFile& file, const gmd::RecordBuffer& record) {
    gmd::FileStream stream;
    EXPECT_TRUE(stream.open(file.c_str(), gmd::FileStream::Direction::Write));
    EXPECT_EQ(gmd::writeFrame(stream, record), 1);
    stream.close();
    return file.bytes();
}

}  // namespace

TEST(Frame, EmptyRecordIsTwelveBytes) {
    TempFile file;
    Bytes bytes = writtenBytes(file, [](GMD_File* h) {
        GMD_SetGroup(h, 3);
        GMD_SetGroup2(h, -2);
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
    EXPECT_EQ(bytes, (Bytes{4, 0, 0, 0, 0, 0, 3, 0xFE, 4, 0, 0, 0}));

    Handle in(GMD_OpenReadFile(file.c_str()));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    int32_t group = 0, group2 = 0;
    GMD_GetGroup(in, &group);
    GMD_GetGroup2(in, &group2);
    EXPECT_EQ(group, 3);
    EXPECT_EQ(group2, -2);
    EXPECT_EQ(GMD_GetRecordType(in), 0);
    EXPECT_EQ(GMD_GetRecord(in), 0);
}

TEST(Frame, WordCountByteSaturatesAt255) {
    TempFile file;
    gmd::RecordBuffer record;
    record.letter = 'v';
    record.group = 1;
    record.group2 = 2;
    record.resize(300);
    for (int i = 0; i < 300; ++i) record.setInt(i, i * 7);
    Bytes bytes = writeOneFrame(file, record);
    ASSERT_EQ(bytes.size(), 12u + 1200u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 1204);
    EXPECT_EQ(bytes[5], 255);
    std::vector<uint32_t> words;
    for (int i = 0; i < 300; ++i) words.push_back(static_cast<uint32_t>(i * 7));
    EXPECT_EQ(bytes, frame('v', words, 1, 2));

    gmd::FileStream stream;
    ASSERT_TRUE(stream.open(file.c_str(), gmd::FileStream::Direction::Read));
    gmd::RecordBuffer back;
    ASSERT_TRUE(gmd::readFrame(stream, back));
    ASSERT_EQ(back.wordCount(), 300);
    EXPECT_EQ(back.getInt(299), 299 * 7);
}

TEST(Frame, LengthDecidesNotTheWordCountByte) {
    TempFile file;
    file.write(frame('G', floatWords({1.5f, 2.5f}), 0, 0, /*countByte=*/9));
    Handle in(GMD_OpenReadFile(file.c_str()));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    float tolerance = 0;
    EXPECT_EQ(GMD_GetTolerance(in, &tolerance), 1);
    EXPECT_EQ(tolerance, 1.5f);
}

TEST(Frame, PartialLastWordIsZeroFilled) {
    // A three-word frame first leaves stale bytes in the reused word array.
    Bytes partial;
    appendLE32(partial, 6);
    for (uint8_t b : {uint8_t('G'), uint8_t(1), uint8_t(0), uint8_t(0), uint8_t(0xAB), uint8_t(0xCD)}) partial.push_back(b);
    appendLE32(partial, 6);
    TempFile file;
    file.write(concat({frame('G', {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}), partial}));

    Handle in(GMD_OpenReadFile(file.c_str()));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    float tolerance = 0;
    ASSERT_EQ(GMD_GetTolerance(in, &tolerance), 1);
    EXPECT_EQ(floatBits(tolerance), 0x0000CDABu);
    EXPECT_EQ(GMD_GetRecord(in), 0);
}

// Payloads of every length up to 80 bytes, across the sizes that the buffered
// path copies inline, come back byte for byte with the rest of a partial last
// word zero; whole-word records go out as the same bytes.
TEST(Frame, ShortPayloadsOfEveryLength) {
    // A longer frame first leaves stale bytes in the reused word array.
    const Bytes stale = frame('v', Words(24, 0xFFFFFFFFu));
    for (uint32_t payload = 0; payload <= 80; ++payload) {
        SCOPED_TRACE(payload);
        const uint32_t words = (payload + 3) / 4;
        Bytes framed;
        appendLE32(framed, 4 + payload);
        for (uint32_t b : {uint32_t{'v'}, words, 0u, 0u}) framed.push_back(static_cast<uint8_t>(b));
        for (uint32_t i = 0; i < payload; ++i) framed.push_back(static_cast<uint8_t>(0x11 + 3 * i));
        appendLE32(framed, 4 + payload);
        TempFile file;
        file.write(concat({stale, framed}));

        gmd::FileStream stream;
        ASSERT_TRUE(stream.open(file.c_str(), gmd::FileStream::Direction::Read));
        gmd::RecordBuffer record;
        ASSERT_TRUE(gmd::readFrame(stream, record));
        ASSERT_TRUE(gmd::readFrame(stream, record));
        ASSERT_EQ(record.wordCount(), static_cast<int32_t>(words));
        for (uint32_t i = 0; i < 4 * words; ++i)
            ASSERT_EQ(record.byte(i), i < payload ? static_cast<uint8_t>(0x11 + 3 * i) : 0) << "byte " << i;

        if (payload % 4 == 0) {
            TempFile out;
            EXPECT_EQ(writeOneFrame(out, record), framed);
        }
    }
}

// Every damaged frame fails the read for good; what the record keeps depends
// on how far the frame got.
TEST(Frame, DamagedFramesFailForGood) {
    Bytes good = frame('G', floatWords({7.0f}), 5, 6);
    // Length 3 with a trailer of 3 where a reader that took the length would
    // look for it: at byte 7 in the buffered path, at byte 8 in the piecewise
    // one. Only the length check refuses these.
    const Bytes lengthThreeBuffered = {3, 0, 0, 0, 'S', 0, 9, 3, 0, 0, 0};
    const Bytes lengthThreePiecewise = {3, 0, 0, 0, 'S', 0, 9, 8, 3, 0, 0, 0};
    Bytes negativeLength = frame('S', {}, 9, 8);
    negativeLength[3] = 0x80;
    Bytes trailerOff = frame('S', floatWords({1, 2, 3, 4}), 9, 8);
    trailerOff[trailerOff.size() - 4] += 1;
    Bytes cutPayload = frame('S', floatWords({1, 2, 3, 4}), 9, 8);
    cutPayload.resize(cutPayload.size() - 10);
    Bytes cutTrailer = frame('S', floatWords({1, 2, 3, 4}), 9, 8);
    cutTrailer.resize(cutTrailer.size() - 2);
    Bytes cutHeader = frame('S', {}, 9, 8);
    cutHeader.resize(6);
    Bytes hugeClaim = frame('S', floatWords({1, 2}), 9, 8);
    hugeClaim[0] = 0xF0, hugeClaim[1] = 0xFF, hugeClaim[2] = 0xFF, hugeClaim[3] = 0x7F;

    struct Case {
        const char* name;
        Bytes damaged;
        int32_t groupAfter;  // the damaged frame's when its header arrived
        bool cutAtEnd;       // a cut frame can only be the file's last
    } cases[] = {
        {"length 3, buffered trailer matches", lengthThreeBuffered, 9, false},
        {"length 3, piecewise trailer matches", lengthThreePiecewise, 9, false},
        {"negative length", negativeLength, 9, false},
        {"trailer off by one", trailerOff, 9, false}, {"payload cut", cutPayload, 9, true},
        {"trailer cut", cutTrailer, 9, true},     {"header cut", cutHeader, 5, true},
        {"length claims 2 GiB", hugeClaim, 9, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        file.write(c.cutAtEnd ? concat({good, c.damaged}) : concat({good, c.damaged, good}));
        Handle in(GMD_OpenReadFile(file.c_str()));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(GMD_GetRecordType(in), 'G');
        EXPECT_EQ(GMD_GetRecord(in), 0);
        int32_t group = 0;
        GMD_GetGroup(in, &group);
        EXPECT_EQ(group, c.groupAfter);
        float tolerance = 0;
        EXPECT_EQ(GMD_GetTolerance(in, &tolerance), 0) << "the words are gone";
        // The good frame behind the damage is never reached.
        EXPECT_EQ(GMD_GetRecord(in), 0);
        EXPECT_EQ(GMD_GetRecord(in), 0);
    }
}

TEST(Frame, LargeRecordReadsWhole) {
    // Larger than one growth step of the payload reader.
    std::vector<uint32_t> words(700000);
    for (size_t i = 0; i < words.size(); ++i) words[i] = static_cast<uint32_t>(i * 2654435761u);
    TempFile file;
    file.write(concat({frame('v', words), frame('G', floatWords({2.0f}))}));
    gmd::FileStream stream;
    ASSERT_TRUE(stream.open(file.c_str(), gmd::FileStream::Direction::Read));
    gmd::RecordBuffer record;
    ASSERT_TRUE(gmd::readFrame(stream, record));
    ASSERT_EQ(record.wordCount(), 700000);
    for (int i = 0; i < record.wordCount(); i += 9973) ASSERT_EQ(record.raw(i), words[static_cast<size_t>(i)]);
    EXPECT_EQ(record.raw(699999), words[699999]);
    ASSERT_TRUE(gmd::readFrame(stream, record));
    EXPECT_EQ(record.letter, 'G');
    EXPECT_FALSE(gmd::readFrame(stream, record));
}

TEST(Frame, FullDeviceFailsAtTheWriteThatNoticesAndAfter) {
    Handle out(GMD_OpenWriteFile("/dev/full"));
    if (!out.h) GTEST_SKIP() << "no /dev/full here";
    int firstFailure = -1;
    for (int i = 0; i < 100000 && firstFailure < 0; ++i) {
        GMD_SetTolerance(out, 1.0f);
        if (GMD_WriteRecord(out) == 0) firstFailure = i;
    }
    ASSERT_GE(firstFailure, 0) << "a full device must show as a failed write";
    for (int i = 0; i < 10; ++i) {
        GMD_SetTolerance(out, 1.0f);
        EXPECT_EQ(GMD_WriteRecord(out), 0);
    }
    EXPECT_EQ(GMD_CloseFile(out.h), 1);
    out.h = nullptr;
}

TEST(Frame, HandlesOnDifferentThreadsShareNothing) {
    std::vector<std::thread> threads;
    std::vector<int> ok(8, 0);
    std::vector<TempFile> files(8);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &ok, &files] {
            GMD_File* out = GMD_OpenWriteFile(files[t].c_str());
            for (int i = 0; i < 2000; ++i) {
                GMD_SetGroup(out, t);
                GMD_SetTolerance(out, static_cast<float>(i * 8 + t));
                GMD_WriteRecord(out);
            }
            GMD_CloseFile(out);
            GMD_File* in = GMD_OpenReadFile(files[t].c_str());
            int i = 0, good = 1;
            for (; GMD_GetRecord(in); ++i) {
                float v = 0;
                int32_t g = 0;
                GMD_GetTolerance(in, &v);
                GMD_GetGroup(in, &g);
                if (v != static_cast<float>(i * 8 + t) || g != t) good = 0;
            }
            GMD_CloseFile(in);
            ok[t] = good && i == 2000;
        });
    }
    for (auto& th : threads) th.join();
    for (int t = 0; t < 8; ++t) EXPECT_EQ(ok[t], 1) << "thread " << t;
}
