// Name records ('M', 'm', 'Z'): padding, empty names, letters and the
// junction group's header byte.
#include "test_support.h"

using namespace gmdtest;

namespace {

struct NameRecord {
    char letter;
    int32_t (*set)(GMD_File*, const char*);
    int32_t (*get)(GMD_File*, char*);
    int headerByte;  // what the setter leaves in the second header byte; -1: the caller's
} const kRecords[] = {
    {'M', GMD_SetGroupMaterialName, GMD_GetMaterialName, -1},
    {'m', GMD_SetVolumeMaterialName, GMD_GetMaterialName, -1},
    {'Z', GMD_SetJunctionGroupName, GMD_GetJunctionGroupName, 0x20},
};

}  // namespace

TEST(Names, ExactRecordsAndReadBack) {
    struct Case {
        const char* text;
        std::vector<uint32_t> words;
        std::string readBack;
    } cases[] = {
        {"Copper1", {textWord("Copp"), textWord("er1 ")}, "Copper1 "},
        {"", {}, ""},
        {"Twelve chars", {textWord("Twel"), textWord("ve c"), textWord("hars")}, "Twelve chars"},
    };
    for (const auto& record : kRecords) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(1, record.letter) + " '" + c.text + "'");
            const std::size_t room = 4 * c.words.size() + 1;
            Bytes bytes = written([&](GMD_File* h) {
                GMD_SetGroup(h, -4);
                GMD_SetGroup2(h, 6);
                ASSERT_EQ(record.set(h, c.text), 1);
                EXPECT_EQ(textOf(h, record.get, room), c.readBack);
                EXPECT_EQ(GMD_WriteRecord(h), 1);
            });
            EXPECT_EQ(bytes, frame(record.letter, c.words, -4, static_cast<int8_t>(record.headerByte < 0 ? 6 : record.headerByte)));

            ReadFile in(bytes);
            ASSERT_EQ(GMD_GetRecord(in), 1);
            EXPECT_EQ(GMD_GetRecordType(in), record.letter);
            EXPECT_EQ(textOf(in, record.get, room), c.readBack);
        }
    }
}

TEST(Names, LettersDecideWhatIsAccepted) {
    Scratch h;
    char out[16];
    ASSERT_EQ(GMD_SetGroupMaterialName(h, "first name"), 1);
    ASSERT_EQ(GMD_SetGroupMaterialName(h, "Cu"), 1) << "a second name replaces the first";
    EXPECT_EQ(GMD_SetVolumeMaterialName(h, "Al"), 0);
    EXPECT_EQ(GMD_SetJunctionGroupName(h, "J"), 0);
    EXPECT_EQ(GMD_GetJunctionGroupName(h, out), 0);
    EXPECT_EQ(GMD_SetGroupMaterialName(h, nullptr), 0);
    EXPECT_EQ(textOf(h, GMD_GetMaterialName, 5), "Cu  ");

    ASSERT_EQ(GMD_ResetRecord(h), 1);
    EXPECT_EQ(GMD_GetMaterialName(h, out), 0) << "the empty record has no name";
    ASSERT_EQ(GMD_SetJunctionGroupName(h, "group"), 1);
    GMD_SetGroup2(h, 3);
    ASSERT_EQ(GMD_SetJunctionGroupName(h, "other"), 1);
    int32_t group2 = 0;
    GMD_GetGroup2(h, &group2);
    EXPECT_EQ(group2, 0x20) << "whatever the byte was";
    EXPECT_EQ(GMD_GetMaterialName(h, out), 0);

    ASSERT_EQ(GMD_ResetRecord(h), 1);
    ASSERT_EQ(GMD_SetTolerance(h, 1.0f), 1);
    for (const auto& record : kRecords) {
        EXPECT_EQ(record.set(h, "x"), 0) << record.letter;
        EXPECT_EQ(record.get(h, out), 0) << record.letter;
    }
    EXPECT_EQ(GMD_GetRecordType(h), 'G');
}

TEST(Names, StoredBytesComeBackUpToTheFirstNul) {
    ReadFile in(concat({frame('m', {0x00424241u, textWord("ABCD")}), frame('Z', {textWord("    ")})}));
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(textOf(in, GMD_GetMaterialName, 9), "ABB");
    ASSERT_EQ(GMD_GetRecord(in), 1);
    EXPECT_EQ(textOf(in, GMD_GetJunctionGroupName, 5), "    ") << "a name of spaces stays spaces";
}
