// The record cycle, record type codes, group bytes and the tolerance record.
#include "test_support.h"

using namespace gmdtest;

TEST(Cycle, TypeIsZeroWhenEmpty) {
    TempFile file;
    Handle out(GMD_OpenWriteFile(file.c_str()));
    EXPECT_EQ(GMD_GetRecordType(out), 0);
    GMD_SetTolerance(out, 1.0f);
    EXPECT_EQ(GMD_GetRecordType(out), 'G');
    GMD_WriteRecord(out);
    EXPECT_EQ(GMD_GetRecordType(out), 0);
    GMD_SetTolerance(out, 1.0f);
    GMD_SetGroup(out, 4);
    EXPECT_EQ(GMD_ResetRecord(out), 1);
    EXPECT_EQ(GMD_GetRecordType(out), 0);
    int32_t group = -1;
    GMD_GetGroup(out, &group);
    EXPECT_EQ(group, 0) << "reset clears the header bytes";
}

TEST(Cycle, UncheckedLettersAreTypedByTheirByte) {
    TempFile file;
    file.write(concat({frame('G', floatWords({1, 2, 3})), frame('Q', {1}), frame(char(0x90), {}),
                       frame('G', {})}));
    Handle in(GMD_OpenReadFile(file.c_str()));
    for (int32_t expected : {71, 81, -112, 71}) {
        ASSERT_EQ(GMD_GetRecord(in), 1);
        EXPECT_EQ(GMD_GetRecordType(in), expected);
    }
    EXPECT_EQ(GMD_GetRecord(in), 0);
    EXPECT_EQ(GMD_GetRecordType(in), 71) << "the last record's code stays";
}

TEST(Cycle, NullHandlesAreRefused) {
    EXPECT_EQ(GMD_GetRecord(nullptr), 0);
    EXPECT_EQ(GMD_WriteRecord(nullptr), 0);
    EXPECT_EQ(GMD_ResetRecord(nullptr), 0);
    EXPECT_EQ(GMD_GetRecordType(nullptr), 0);
    int32_t i = 0;
    float f = 0;
    EXPECT_EQ(GMD_GetGroup(nullptr, &i), 0);
    EXPECT_EQ(GMD_SetGroup2(nullptr, 1), 0);
    EXPECT_EQ(GMD_GetTolerance(nullptr, &f), 0);
    EXPECT_EQ(GMD_SetTolerance(nullptr, 1.0f), 0);
}

TEST(GroupBytes, RangeIsMinus127To127) {
    TempFile file;
    Handle out(GMD_OpenWriteFile(file.c_str()));
    struct Case {
        int32_t value;
        int expected;
    } cases[] = {{127, 1}, {-127, 1}, {0, 1}, {128, 0}, {-128, 0}, {200, 0}, {-1000, 0}};
    for (auto setter : {GMD_SetGroup, GMD_SetGroup2}) {
        auto getter = setter == GMD_SetGroup ? GMD_GetGroup : GMD_GetGroup2;
        ASSERT_EQ(setter(out, 42), 1);
        int32_t last = 42;
        for (const auto& c : cases) {
            EXPECT_EQ(setter(out, c.value), c.expected) << c.value;
            if (c.expected) last = c.value;
            int32_t now = 0;
            EXPECT_EQ(getter(out, &now), 1);
            EXPECT_EQ(now, last) << "after " << c.value;
        }
    }
}

TEST(GroupBytes, SignedBytesSurviveTheFile) {
    TempFile file;
    Bytes bytes = writtenBytes(file, [](GMD_File* h) {
        GMD_SetGroup(h, -5);
        GMD_SetTolerance(h, 2.0f);  // a setter leaves the group byte alone
        GMD_SetGroup2(h, -127);
        GMD_WriteRecord(h);
    });
    EXPECT_EQ(bytes, frame('G', floatWords({2.0f}), -5, -127));
    EXPECT_EQ(bytes[6], 0xFB);

    Bytes withMinus128 = concat({bytes, frame('G', floatWords({1}), char(0x80), char(0x80))});
    file.write(withMinus128);
    Handle in(GMD_OpenReadFile(file.c_str()));
    int32_t group = 0, group2 = 0;
    ASSERT_EQ(GMD_GetRecord(in), 1);
    GMD_GetGroup(in, &group);
    GMD_GetGroup2(in, &group2);
    EXPECT_EQ(group, -5);
    EXPECT_EQ(group2, -127);
    ASSERT_EQ(GMD_GetRecord(in), 1);
    GMD_GetGroup(in, &group);
    GMD_GetGroup2(in, &group2);
    EXPECT_EQ(group, -128) << "a file may carry the byte the setter refuses";
    EXPECT_EQ(group2, -128);
}

TEST(Tolerance, ExactFrame) {
    TempFile file;
    Bytes bytes = writtenBytes(file, [](GMD_File* h) {
        EXPECT_EQ(GMD_SetTolerance(h, 5.0f), 1);
        EXPECT_EQ(GMD_SetTolerance(h, 0.001f), 1);  // the second value wins
        EXPECT_EQ(GMD_WriteRecord(h), 1);
    });
    Bytes expected{8, 0, 0, 0, 'G', 1, 0, 0};
    appendLE32(expected, floatBits(0.001f));
    appendLE32(expected, 8);
    EXPECT_EQ(bytes, expected);
}

TEST(Tolerance, ReadRecordsOfAnyLength) {
    TempFile file;
    file.write(concat({frame('G', floatWords({-3.0f, 9.0f, 9.0f})), frame('G', {}), frame('S', floatWords({1, 2, 3, 4}))}));
    Handle in(GMD_OpenReadFile(file.c_str()));
    float v = 0;
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 71);
    EXPECT_EQ(GMD_GetTolerance(in, &v), 1);
    EXPECT_EQ(v, -3.0f);

    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_GetRecordType(in), 71) << "no check on 'G'";
    v = 42.0f;
    EXPECT_EQ(GMD_GetTolerance(in, &v), 0) << "no word to read";
    EXPECT_EQ(v, 42.0f);
    EXPECT_EQ(GMD_SetTolerance(in, 6.0f), 1) << "the empty 'G' record is given its word";
    EXPECT_EQ(GMD_GetTolerance(in, &v), 1);
    EXPECT_EQ(v, 6.0f);

    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(GMD_SetTolerance(in, 1.0f), 0) << "a sphere is not a tolerance record";
    EXPECT_EQ(GMD_GetTolerance(in, &v), 0);
}
