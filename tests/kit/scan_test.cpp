// The scanner's verdict on crafted files: where reading stops, why, and the
// last good record, the same from bytes in memory and from a file, and in
// agreement with how many records libgmd itself delivers.
#include <string>

#include "gmd.h"
#include "gmdkit.h"
#include "kit_support.h"
#include "scan.h"

namespace {

using kittest::Bytes;
using kittest::cut;
using kittest::frame;
using kittest::TempFile;
using kittest::operator+;

Bytes lengthAndHeader(std::int32_t length, char letter) {
    Bytes out;
    kittest::put32(out, static_cast<std::uint32_t>(length));
    out.insert(out.end(), {static_cast<std::uint8_t>(letter), 0, 0, 0});
    return out;
}

std::string describe(int status, const GMDK_Report& report) {
    char text[300];
    gmdk_describe(status, &report, text, sizeof text);
    return text;
}

std::uint64_t recordsLibgmdReads(const char* path) {
    GMD_File* file = GMD_OpenReadFile(path);
    std::uint64_t n = 0;
    while (file != nullptr && GMD_GetRecord(file)) ++n;
    GMD_CloseFile(file);
    return n;
}

struct ScanCase {
    const char* name;
    Bytes bytes;
    int status;
    int stop;
    std::uint64_t offset;
    std::int64_t lastGood;
    const char* words;            // part of the description
    const char* path = nullptr;  // a file to scan instead of the bytes
};

TEST(Scan, StopsWhereAndWhyTheBytesSay) {
    const Bytes sphere = frame('S', 16);  // 28 bytes
    const Bytes polygon = frame('P', 36);  // 48 bytes
    const Bytes good = sphere + polygon;    // 76 bytes
    const std::string text = "solid cube\n  facet normal 0 0 1\n    outer loop\n";
    // Beyond the read buffer: skipped by seeking, or gathered when kept.
    const std::size_t largePayload = gmdk::FrameScanner::kBufferSize * 2 + 6;
    const Bytes large = frame('N', largePayload);
    const ScanCase cases[] = {
        {"clean", good, GMDK_STATUS_OK, GMDK_STOP_END, 76, 1, "clean end after 2 record(s), 76 bytes"},
        {"empty", {}, GMDK_STATUS_OK, GMDK_STOP_END, 0, -1, "clean end after 0 record(s)"},
        {"frame larger than the buffer", sphere + large + sphere, GMDK_STATUS_OK, GMDK_STOP_END,
         56 + large.size(), 2, "clean end"},
        {"larger frame cut", sphere + cut(large, 100), GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, 28, 0, "payload"},
        {"larger frame's trailer", sphere + frame('N', largePayload, -4) + sphere, GMDK_STATUS_DAMAGED,
         GMDK_STOP_TRAILER, 28, 0, "trailer"},
        {"letters no family uses, after the first", sphere + frame('Q', 4) + frame('\x90', 0), GMDK_STATUS_OK,
         GMDK_STOP_END, 56, 2, "clean end"},
        {"payload not whole words", frame('G', 2) + sphere, GMDK_STATUS_OK, GMDK_STOP_END, 42, 1, "clean end"},
        {"cut in the length", good + cut(sphere, 26), GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, 76, 1,
         "damaged at byte 76: the file ends 2 byte(s) into a frame's length field (after record 1)"},
        {"cut in the header", good + cut(sphere, 22), GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, 76, 1, "header"},
        {"cut in the payload", good + cut(polygon, 10), GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, 76, 1,
         "frame's payload: length 40 needs 48 bytes, 38 remain"},
        {"trailer missing", good + cut(polygon, 4), GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, 76, 1,
         "trailing length"},
        {"length field far beyond the file", good + lengthAndHeader(0x7fffffff, 'N') + Bytes(100, 0),
         GMDK_STATUS_DAMAGED, GMDK_STOP_TRUNCATED, 76, 1, "payload"},
        {"length 3", good + lengthAndHeader(3, 'S') + Bytes(8, 0), GMDK_STATUS_DAMAGED, GMDK_STOP_SHORT_LENGTH, 76,
         1, "frame length 3 is below 4"},
        {"negative length", sphere + lengthAndHeader(-8, 'S') + sphere, GMDK_STATUS_DAMAGED, GMDK_STOP_SHORT_LENGTH,
         28, 0, "frame length -8 is below 4 (after record 0)"},
        {"trailer differs", good + frame('S', 16, 4), GMDK_STATUS_DAMAGED, GMDK_STOP_TRAILER, 76, 1,
         "trailer 24 differs from length 20"},
        {"text file", Bytes(text.begin(), text.end()), GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, 0, -1,
         "not a GMD file"},
        {"first frame beyond the file", cut(sphere, 1), GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, 0, -1,
         "not a GMD file: the first frame claims 28 bytes but the file holds 27"},
        {"first frame's trailer", frame('S', 16, 1) + polygon, GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, 0, -1,
         "trailer"},
        {"first frame's length 0", Bytes(64, 0), GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, 0, -1, "below 4"},
        {"first frame's letter", frame('#', 4) + sphere, GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, 0, -1,
         "letter 0x23"},
        {"three bytes", Bytes{1, 2, 3}, GMDK_STATUS_NOT_GMD, GMDK_STOP_NOT_GMD, 0, -1, "not a GMD file"},
        {"folder", {}, GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, 0, -1, "cannot open: it is a folder", "."},
        {"missing file", {}, GMDK_STATUS_OPEN_FAILED, GMDK_STOP_UNREADABLE, 0, -1, "No such file", "kittest_none"},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file;
        file.write(c.bytes);
        const char* path = c.path != nullptr ? c.path : file.c_str();
        GMDK_Report report;
        const int status = gmdk_scan_file(path, &report);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(report.stop, c.stop);
        EXPECT_EQ(report.stop_offset, c.offset);
        EXPECT_EQ(report.last_good_record, c.lastGood);
        EXPECT_EQ(report.frames, static_cast<std::uint64_t>(c.lastGood + 1));
        EXPECT_NE(describe(status, report).find(c.words), std::string::npos) << describe(status, report);
        EXPECT_EQ(c.stop == GMDK_STOP_END, report.reason[0] == '\0');
        EXPECT_EQ(report.os_error != 0, c.path != nullptr);
        if (c.path != nullptr) continue;

        EXPECT_EQ(report.file_size, c.bytes.size());
        std::uint64_t byLetter = 0;
        for (std::uint64_t n : report.letters) byLetter += n;
        EXPECT_EQ(byLetter, report.frames);
        GMDK_Report inMemory;
        EXPECT_EQ(gmdk_scan_bytes(c.bytes.data(), c.bytes.size(), &inMemory), status);
        EXPECT_EQ(describe(status, inMemory), describe(status, report));
        gmdk::FrameScanner kept(gmdk::FrameScanner::Payloads::Keep);
        ASSERT_EQ(kept.openFile(path), GMDK_STATUS_OK);
        while (kept.next()) {
            const std::uint8_t* payload = kept.payload();
            ASSERT_EQ(Bytes(payload, payload + kept.frame().payloadSize()), Bytes(kept.frame().payloadSize(), 0x11));
        }
        EXPECT_EQ(describe(kept.status(), kept.report()), describe(status, report));
        // Damage and the end fall where libgmd's reading stops.
        if (c.stop != GMDK_STOP_NOT_GMD) {
            EXPECT_EQ(recordsLibgmdReads(file.c_str()), report.frames);
        }
        if (c.offset == 56) {
            EXPECT_EQ(report.letters[0x90], 1u);
        }
    }
}

}  // namespace
