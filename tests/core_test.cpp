// Handles, the record cycle, header bytes, the tolerance record, and frames
// on disk: exact bytes written and every way a frame can be damaged.
#include <thread>

#include "test_support.h"

using namespace gmdtest;

namespace {

void writeTolerances(GMD_File* h, std::initializer_list<float> values) {
    for (float v : values)
        EXPECT_TRUE(GMD_SetTolerance(h, 9.0f) && GMD_GetRecordType(h) == 'G' && GMD_SetTolerance(h, v) && GMD_WriteRecord(h));
}

int32_t groupOf(GMD_File* h, int32_t (*get)(GMD_File*, int32_t*) = GMD_GetGroup) {
    int32_t g = -999;
    EXPECT_EQ(get(h, &g), 1);
    return g;
}

}  // namespace

// Folders, missing files and null names open as null and create nothing.
// Append creates or keeps every byte, write truncates at once, and a handle
// refuses the other direction while reading goes on.
TEST(Handle, OpenFailuresDirectionsAndTruncation) {
    TempFile file;
    for (auto open : {GMD_OpenReadFile, GMD_OpenWriteFile, GMD_OpenAppendFile})
        EXPECT_TRUE(open(".") == nullptr && open("no_such_folder/x.gmd") == nullptr && open(nullptr) == nullptr);
    EXPECT_TRUE(GMD_OpenReadFile(file.c_str()) == nullptr && !std::ifstream(file.c_str()).is_open());
    writeTolerances(Handle(GMD_OpenAppendFile(file.c_str())), {3});
    EXPECT_EQ(file.bytes(), frame('G', floats({3})));
    Handle out(GMD_OpenWriteFile(file.c_str()));
    EXPECT_TRUE(file.bytes().empty() && GMD_GetRecord(out) == 0) << "write truncates at once and reads nothing";
    writeTolerances(out, {1, 2});
    out.close();
    writeTolerances(Handle(GMD_OpenAppendFile(file.c_str())), {3});
    EXPECT_EQ(file.bytes(), concat({frame('G', floats({1})), frame('G', floats({2})), frame('G', floats({3}))}));

    ReadFile in(file.bytes(), 1);
    EXPECT_TRUE(GMD_SetTolerance(in, 5.0f) && !GMD_WriteRecord(in) && !GMD_GetRecordType(in)) << "emptied all the same";
    EXPECT_EQ(nextType(in), 'G') << "reading goes on";
    // A full device shows as a failed write, at the write that notices and after.
    Handle full(GMD_OpenWriteFile("/dev/full"));
    int written = 0;
    while (full.h && written < 100000 && GMD_SetTolerance(full, 1.0f) && GMD_WriteRecord(full)) ++written;
    EXPECT_TRUE(!full.h || (written < 100000 && GMD_SetTolerance(full, 1.0f) && !GMD_WriteRecord(full)));
}

// Header bytes take -127 to 127 and are signed in a file; letters without a
// check are typed by their byte, as a signed value; a 'G' of any length is
// valid and read as far as it goes.
TEST(Cycle, HeaderBytesRecordTypeCodesAndNullHandles) {
    Scratch out;
    int32_t last = 0;
    for (int32_t value : {127, 128, -127, -128, 200, -1000, -5}) {
        last = value >= -127 && value <= 127 ? value : last;
        EXPECT_EQ(GMD_SetGroup(out, value) + GMD_SetGroup2(out, value), last == value ? 2 : 0) << value;
        EXPECT_TRUE(groupOf(out) == last && groupOf(out, GMD_GetGroup2) == last) << "after " << value;
    }
    EXPECT_EQ(GMD_WriteRecord(out), 1) << "the empty record is a frame of its own";
    EXPECT_TRUE(GMD_SetTolerance(out, 1.0f) && GMD_SetGroup(out, 4) && GMD_SetGroup2(out, 5) && GMD_ResetRecord(out));
    EXPECT_EQ(GMD_GetRecordType(out) + groupOf(out) + groupOf(out, GMD_GetGroup2), 0) << "reset clears the header bytes";
    out.h.close();
    EXPECT_EQ(out.file.bytes(), (Bytes{4, 0, 0, 0, 0, 0, 0xFB, 0xFB, 4, 0, 0, 0}));

    ReadFile in(concat({frame('G', floats({-3, 9}), 0x80, 0x81), frame('Q', {1}), frame(char(0x80), counting(12)),
                        frame('G', {}), frame('S', counting(4))}));
    EXPECT_EQ(nextType(in), 71);
    EXPECT_EQ(got(in, GMD_GetTolerance, 1), floats({-3}));
    EXPECT_EQ(groupOf(in), -128) << "a file may carry the byte the setter refuses";
    EXPECT_EQ(groupOf(in, GMD_GetGroup2), -127);
    for (int32_t expected : {81, -128, 71}) EXPECT_EQ(nextType(in), expected);
    EXPECT_EQ(got(in, GMD_GetTolerance, 1), std::nullopt) << "no word to read";
    EXPECT_EQ(nextType(in), 'S');
    EXPECT_EQ(GMD_SetTolerance(in, 1.0f), 0) << "a sphere is not a tolerance record";
    EXPECT_EQ(nextType(in), -1000);
    EXPECT_EQ(GMD_GetRecordType(in), 'S') << "the last record's code stays";

    EXPECT_EQ(GMD_GetRecord(nullptr) + GMD_WriteRecord(nullptr) + GMD_ResetRecord(nullptr) + GMD_GetRecordType(nullptr) +
                  GMD_GetGroup(nullptr, nullptr) + GMD_CloseFile(nullptr),
              0);
}

// Payloads of every length up to 80 bytes, after a longer frame that leaves
// stale bytes behind: the length decides, not the word count byte, and the
// rest of a partial last word reads as zero (which ends the name).
TEST(Frame, PayloadsOfEveryLengthReadBackByteForByte) {
    const Bytes stale = frame('M', Words(24, 0xFFFFFFFFu));
    for (uint8_t payload = 0; payload <= 80; ++payload) {
        std::string name;
        for (uint8_t i = 0; i < payload; ++i) name.push_back(static_cast<char>(0x11 + 3 * i));
        const Bytes length{uint8_t(4 + payload), 0, 0, 0};
        ReadFile in(concat({stale, length, {'M', 9, 0, 0}, Bytes(name.begin(), name.end()), length}), 2);
        EXPECT_EQ(textOf(in, GMD_GetMaterialName, 84), name) << int(payload);
    }
}

// Larger than the stream's buffer both ways, than one growth step of the
// payload reader, and than 2^24 bytes: a length of 0x01008004 bytes, whose
// bits 2, 15 and 24 each land in their own byte. The word count byte
// saturates at 255.
TEST(Frame, LargeRecordsGoOutAndComeBackWhole) {
    const Words adjacent = counting((1 << 22) + (1 << 13) - 3);
    const Bytes bytes = frameOf([&](GMD_File* h) {
        GMD_SetScattVertexPosition(h, asFloats(counting(3)));
        GMD_SetScattVertexAdjacent(h, int32_t(adjacent.size()), reinterpret_cast<const int32_t*>(adjacent.data()));
    });
    ASSERT_EQ(bytes, frame('v', join({counting(3), adjacent})));
    ReadFile in(concat({bytes, frame('G', floats({2}))}), 1);
    EXPECT_EQ(got(in, GMD_GetScattVertexAdjacent, adjacent.size()), adjacent);
    EXPECT_EQ(nextType(in), 'G');
}

// Every damaged frame fails the read for good; the header bytes are the
// damaged frame's when its header arrived.
TEST(Frame, DamagedFramesFailForGood) {
    const Bytes good = frame('G', floats({7}), 5, 6), sphere = frame('S', floats({1, 2, 3, 4}), 9);
    // Length 3 with a trailer of 3 where a reader that took the length would
    // look for it: at byte 7 in the buffered path, at byte 8 in the piecewise one.
    // The trailer of the third is off by one. With the flag the damaged frame is the file's last, as a cut frame can only be.
    const std::pair<Bytes, bool> cases[] = {
        {{3, 0, 0, 0, 'S', 0, 9, 3, 0, 0, 0}, false}, {{3, 0, 0, 0, 'S', 0, 9, 8, 3, 0, 0, 0}, false},
        {{8, 0, 0, 0, 'S', 1, 9, 0, 1, 0, 0, 0, 9, 0, 0, 0}, false}, {Bytes(sphere.begin(), sphere.begin() + 6), true},
        {Bytes(sphere.begin(), sphere.end() - 10), true}, {Bytes(sphere.begin(), sphere.end() - 2), true},
    };
    for (const auto& [damaged, cutAtEnd] : cases) {
        ReadFile in(cutAtEnd ? concat({good, damaged}) : concat({good, damaged, good}), 1);
        EXPECT_EQ(GMD_GetRecord(in), 0) << damaged.size();
        EXPECT_EQ(groupOf(in), damaged.size() < 8 ? 5 : 9) << "the damaged frame's once its header arrived";
        EXPECT_EQ(got(in, GMD_GetTolerance, 1), std::nullopt) << "the words are gone";
        EXPECT_EQ(GMD_GetRecord(in), 0) << "the good frame behind the damage is never reached";
    }
}

// Each thread writes and reads back its own file of 5000 records, more than
// the stream's buffer holds.
TEST(Frame, HandlesOnDifferentThreadsShareNothing) {
    std::vector<TempFile> files(8);
    std::vector<int> records(8, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &records, &files] {
            Handle out(GMD_OpenWriteFile(files[t].c_str()));
            for (int i = 0; i < 5000; ++i) writeTolerances(out, {float(i * 8 + t)});
            out.close();
            Handle in(GMD_OpenReadFile(files[t].c_str()));
            for (; GMD_GetRecord(in); ++records[t]) EXPECT_EQ(got(in, GMD_GetTolerance, 1), floats({float(records[t] * 8 + t)}));
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(records, std::vector<int>(8, 5000));
}
