// Name records ('M', 'm', 'Z'): padding, empty names, letters and the
// junction group's header byte.
#include <functional>
#include <string>

#include "surfaces_support.h"

using namespace gmdtest;

namespace {

using Setter = int32_t (*)(GMD_File*, const char*);
using Getter = int32_t (*)(GMD_File*, char*);

struct NameRecord {
    char letter;
    Setter set;
    Getter get;
    int8_t setterHeaderByte;  // -1: the caller's byte is kept
};

const NameRecord kRecords[] = {
    {'M', GMD_SetGroupMaterialName, GMD_GetMaterialName, -1},
    {'m', GMD_SetVolumeMaterialName, GMD_GetMaterialName, -1},
    {'Z', GMD_SetJunctionGroupName, GMD_GetJunctionGroupName, 0x20},
};

// A buffer of exactly 4 x word count + 1 bytes, so that the sanitizers
// catch a getter that writes one byte too many.
std::string nameOf(GMD_File* h, Getter get, std::size_t words) {
    std::vector<char> buffer(4 * words + 1, '#');
    EXPECT_EQ(get(h, buffer.data()), 1);
    return std::string(buffer.data());
}

}  // namespace

TEST(Names, ExactRecordsAndReadBack) {
    struct Case {
        const char* text;
        std::vector<uint32_t> words;
        std::string readBack;
    } cases[] = {
        {"Copper1", {0x70706F43u, 0x20317265u}, "Copper1 "},
        {"", {}, ""},
        {"Twelve chars", {0x6C657754u, 0x63206576u, 0x73726168u}, "Twelve chars"},
        {"abc", {0x20636261u}, "abc "},
    };
    for (const auto& record : kRecords) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(1, record.letter) + " '" + c.text + "'");
            TempFile file;
            Bytes bytes = writtenBytes(file, [&](GMD_File* h) {
                GMD_SetGroup(h, -4);
                GMD_SetGroup2(h, 6);
                ASSERT_EQ(record.set(h, c.text), 1);
                EXPECT_EQ(GMD_GetRecordType(h), record.letter);
                EXPECT_EQ(nameOf(h, record.get, c.words.size()), c.readBack);
                EXPECT_EQ(GMD_WriteRecord(h), 1);
            });
            EXPECT_EQ(bytes, frame(record.letter, c.words, -4, record.setterHeaderByte < 0 ? 6 : record.setterHeaderByte));

            ReadFile in(bytes);
            ASSERT_EQ(GMD_GetRecord(in), 1);
            EXPECT_EQ(GMD_GetRecordType(in), record.letter);
            EXPECT_EQ(nameOf(in, record.get, c.words.size()), c.readBack);
        }
    }
}

TEST(Names, LettersDecideWhatIsAccepted) {
    TempFile file;
    Handle h(GMD_OpenWriteFile(file.c_str()));
    char out[16];
    ASSERT_EQ(GMD_SetGroupMaterialName(h, "first name"), 1);
    ASSERT_EQ(GMD_SetGroupMaterialName(h, "Cu"), 1) << "a second name replaces the first";
    EXPECT_EQ(nameOf(h, GMD_GetMaterialName, 1), "Cu  ");
    EXPECT_EQ(GMD_SetVolumeMaterialName(h, "Al"), 0);
    EXPECT_EQ(GMD_SetJunctionGroupName(h, "J"), 0);
    EXPECT_EQ(GMD_GetJunctionGroupName(h, out), 0);
    EXPECT_EQ(GMD_SetGroupMaterialName(h, nullptr), 0);
    EXPECT_EQ(nameOf(h, GMD_GetMaterialName, 1), "Cu  ");

    ASSERT_EQ(GMD_ResetRecord(h), 1);
    EXPECT_EQ(GMD_GetMaterialName(h, out), 0) << "the empty record has no name";
    ASSERT_EQ(GMD_SetJunctionGroupName(h, "group"), 1);
    GMD_SetGroup2(h, 3);
    ASSERT_EQ(GMD_SetJunctionGroupName(h, "other"), 1);
    int32_t group2 = 0;
    GMD_GetGroup2(h, &group2);
    EXPECT_EQ(group2, 0x20) << "whatever the byte was";
    EXPECT_EQ(GMD_GetMaterialName(h, out), 0);
    EXPECT_EQ(GMD_SetGroupMaterialName(h, "Cu"), 0);
    EXPECT_EQ(GMD_SetJunctionGroupName(h, nullptr), 0);
    EXPECT_EQ(nameOf(h, GMD_GetJunctionGroupName, 2), "other   ");

    ASSERT_EQ(GMD_ResetRecord(h), 1);
    ASSERT_EQ(GMD_SetTolerance(h, 1.0f), 1);
    for (const auto& record : kRecords) {
        EXPECT_EQ(record.set(h, "x"), 0) << record.letter;
        EXPECT_EQ(record.get(h, out), 0) << record.letter;
    }
    EXPECT_EQ(GMD_GetRecordType(h), 'G');
}

TEST(Names, StoredBytesComeBackUpToTheFirstNul) {
    ReadFile in(concat({frame('m', {0x00424241u, 0x44434241u}), frame('Z', {0x20202020u})}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(nameOf(in, GMD_GetMaterialName, 2), "ABB");
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(nameOf(in, GMD_GetJunctionGroupName, 1), "    ") << "a name of spaces stays spaces";
}
