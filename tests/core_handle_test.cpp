// Opening, appending, truncating and closing handles.
#include <sys/stat.h>

#include "test_support.h"

using namespace gmdtest;

namespace {

bool exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

void writeTolerances(GMD_File* h, std::initializer_list<float> values) {
    for (float v : values) {
        ASSERT_EQ(GMD_SetTolerance(h, v), 1);
        ASSERT_EQ(GMD_WriteRecord(h), 1);
    }
}

std::vector<float> readTolerances(const char* path) {
    std::vector<float> values;
    Handle in(GMD_OpenReadFile(path));
    EXPECT_NE(in.h, nullptr);
    float v;
    while (in.h && GMD_GetRecord(in))
        if (GMD_GetTolerance(in, &v)) values.push_back(v);
    return values;
}

}  // namespace

TEST(Handle, OpenFailuresReturnNullAndCreateNothing) {
    TempFile missing;
    EXPECT_EQ(GMD_OpenReadFile(missing.c_str()), nullptr);
    EXPECT_FALSE(exists(missing.c_str()));
    EXPECT_EQ(GMD_OpenReadFile("."), nullptr) << "a folder is not a GMD file";
    EXPECT_EQ(GMD_OpenWriteFile("."), nullptr);
    EXPECT_EQ(GMD_OpenAppendFile("."), nullptr);
    EXPECT_EQ(GMD_OpenWriteFile("no_such_folder/x.gmd"), nullptr);
    EXPECT_EQ(GMD_OpenReadFile(nullptr), nullptr);
}

TEST(Handle, EmptyFileReadsNoRecord) {
    TempFile file;
    file.write({});
    Handle in(GMD_OpenReadFile(file.c_str()));
    ASSERT_NE(in.h, nullptr);
    EXPECT_EQ(GMD_GetRecord(in), 0);
    EXPECT_EQ(GMD_GetRecordType(in), 0);
}

TEST(Handle, WriteTruncatesAtOnceAndKeepsOrder) {
    TempFile file;
    file.write(Bytes(100, 0xAA));
    Handle out(GMD_OpenWriteFile(file.c_str()));
    ASSERT_NE(out.h, nullptr);
    EXPECT_TRUE(file.bytes().empty()) << "truncated before any record is written";
    writeTolerances(out, {1, 2, 3, 4, 5});
    out.close();
    EXPECT_EQ(readTolerances(file.c_str()), (std::vector<float>{1, 2, 3, 4, 5}));
}

TEST(Handle, ClosedWithoutRecordsLeavesEmptyFile) {
    TempFile file;
    Handle out(GMD_OpenWriteFile(file.c_str()));
    EXPECT_EQ(GMD_CloseFile(out.h), 1);
    out.h = nullptr;
    EXPECT_TRUE(exists(file.c_str()));
    EXPECT_TRUE(file.bytes().empty());
    EXPECT_EQ(GMD_CloseFile(nullptr), 0);
}

TEST(Handle, AppendCreatesAndNeverTouchesExistingBytes) {
    TempFile file;
    {
        Handle out(GMD_OpenAppendFile(file.c_str()));
        ASSERT_NE(out.h, nullptr);
        writeTolerances(out, {1, 2});
    }
    Bytes before = file.bytes();
    ASSERT_EQ(before.size(), 32u);
    {
        Handle out(GMD_OpenAppendFile(file.c_str()));
        writeTolerances(out, {3});
    }
    Bytes after = file.bytes();
    ASSERT_EQ(after.size(), 48u);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
    EXPECT_EQ(readTolerances(file.c_str()), (std::vector<float>{1, 2, 3}));
}

TEST(Handle, TwoHandlesOnOneFile) {
    TempFile file;
    {
        Handle out(GMD_OpenWriteFile(file.c_str()));
        writeTolerances(out, {1});
    }
    Handle in(GMD_OpenReadFile(file.c_str()));
    Handle out(GMD_OpenAppendFile(file.c_str()));
    ASSERT_NE(in.h, nullptr);
    ASSERT_NE(out.h, nullptr);
    writeTolerances(out, {2});
    out.close();
    float v = 0;
    ASSERT_EQ(GMD_GetRecord(in), 1);
    ASSERT_EQ(GMD_GetTolerance(in, &v), 1);
    EXPECT_EQ(v, 1.0f);
}

TEST(Handle, WrongDirectionIsRefusedAndLeavesFileAlone) {
    TempFile file;
    {
        Handle out(GMD_OpenWriteFile(file.c_str()));
        writeTolerances(out, {1, 2});
        // Reading through a write handle: refused, and the record in hand survives.
        ASSERT_EQ(GMD_SetTolerance(out, 9.0f), 1);
        EXPECT_EQ(GMD_GetRecord(out), 0);
        float v = 0;
        EXPECT_EQ(GMD_GetTolerance(out, &v), 1);
        EXPECT_EQ(v, 9.0f);
        EXPECT_EQ(GMD_WriteRecord(out), 1);
    }
    Bytes before = file.bytes();
    {
        Handle in(GMD_OpenReadFile(file.c_str()));
        ASSERT_EQ(GMD_GetRecord(in), 1);
        GMD_ResetRecord(in);
        GMD_SetTolerance(in, 5.0f);
        EXPECT_EQ(GMD_WriteRecord(in), 0);
        EXPECT_EQ(GMD_GetRecordType(in), 0) << "the record is emptied all the same";
        EXPECT_EQ(GMD_GetRecord(in), 1) << "reading goes on";
    }
    EXPECT_EQ(file.bytes(), before);
    EXPECT_EQ(readTolerances(file.c_str()), (std::vector<float>{1, 2, 9}));
}

TEST(Handle, FileChangedUnderAnOpenReadHandle) {
    TempFile file;
    {
        Handle out(GMD_OpenWriteFile(file.c_str()));
        writeTolerances(out, {1, 2, 3});
    }
    // Cut inside the third frame after the handle was opened: the two whole
    // frames are read, the torn one is not.
    Handle in(GMD_OpenReadFile(file.c_str()));
    Bytes all = file.bytes();
    file.write(Bytes(all.begin(), all.begin() + 40));
    float v = 0;
    ASSERT_EQ(GMD_GetRecord(in), 1);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    GMD_GetTolerance(in, &v);
    EXPECT_EQ(v, 2.0f);
    EXPECT_EQ(GMD_GetRecord(in), 0);

    // Frames appended before the reader reaches the end are read too.
    Handle again(GMD_OpenReadFile(file.c_str()));
    file.write(all);
    {
        Handle out(GMD_OpenAppendFile(file.c_str()));
        writeTolerances(out, {4});
    }
    int count = 0;
    while (GMD_GetRecord(again)) ++count;
    EXPECT_EQ(count, 4);
}
