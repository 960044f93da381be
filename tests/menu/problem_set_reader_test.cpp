// The reader's rules, input by input, are rows of tests/data/reader_cases.tsv; here: the record a
// load fills, which bytes are typeable, and the names that must never reach a file.
#include "menu/problem_set_reader.h"

#include "history/history_test_dir.h"
#include "platform/file_system.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kestrum {
namespace {

const Messages kBadName{infoMessage("問題集の名前が不正です")};

class ProblemSetReaderTest : public ::testing::Test {
protected:
    Messages loadNamed(const Bytes& name) {
        settings.problem_set_name = name;
        files.lastRead.clear();
        return LoadProblemSet(set, files, "/data", settings).messages;
    }

    MemoryFileSystem files;
    Settings settings;
    ProblemSet set;
};

TEST_F(ProblemSetReaderTest, TheRecordHoldsTheKeptItemsAndStartsEmptyEachTime) {
    settings.problem_set_name = "set";
    settings.practice_count = 7;
    files.files["/data/tdcs/set.tdc"] = "Amount=4\nText[1]=a\nText[2]=b\nComment[4]=c\nText[4]=d\n";
    const ProblemSetLoad result = LoadProblemSet(set, files, "/data", settings);
    ASSERT_TRUE(result.ok);
    const lesson& record = result.record;
    EXPECT_EQ(std::tie(record.name, record.words, record.comments, record.comment_index),
              std::tuple(Bytes("set"), std::vector<Bytes>{"a", "b", "d"},
                         std::vector<Bytes>{"", "", "c"}, std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(std::tuple(record.kind, record.word_count, record.comment_count,
                         record.comment_index_count, record.program_length),
              std::tuple(1, 3, 3, 3, 7));
    ASSERT_GE(record.program.size(), 100u);  // enough for the largest practice_count
    EXPECT_EQ(std::count(record.program.begin(), record.program.end(), -1),
              std::ssize(record.program));
    files.files["/data/tdcs/set.tdc"] = "Amount=3\nText[3]=d\n";
    EXPECT_EQ(LoadProblemSet(set, files, "/data", settings).record.words, std::vector<Bytes>{"d"});

    int typeable = 0;  // letters, digits, blank and , . / ; -
    for (int byte = 0; byte < 256; ++byte)
        typeable += IsProblemChar(byte) ? 1 : 0;
    EXPECT_EQ(typeable, 26 + 26 + 10 + 6);
}

// No name may reach a file outside tdcs, even one that exists: separators, "..", absolute paths,
// control bytes and names that are not whole code page 932 text ("ab\x95" once read ab.tdc) are
// refused before anything is read.
TEST_F(ProblemSetReaderTest, BadNamesAreRefusedBeforeAnyRead) {
    for (const char* path : {"/data/tdcs/ab.tdc", "/data/tdcs/.tdc", "/data/outside.tdc"})
        files.files[path] = "Amount=1\nText[1]=abc\n";
    EXPECT_EQ(loadNamed(""), Messages{infoMessage("辞書が選択されていません")});
    std::vector<Bytes> names{
        "../outside", "./../outside", "..\\outside", "/data/outside", "a/b",   "..",      ".",
        "a\\b",       "\x95",         "ab\x95",      "\x85\x40",      "a\x80", "\x81/..", "\xFF"};
    for (int control = 1; control < 128; control = control == 31 ? 127 : control + 1)
        names.push_back("a" + Bytes(1, static_cast<char>(control)) + "b");
    for (const Bytes& name : names) {
        EXPECT_EQ(loadNamed(name), kBadName) << ::testing::PrintToString(name);
        EXPECT_TRUE(files.lastRead.empty());
    }
    // Whole characters whose second byte is '\' or '|', and dots inside a name, name their file.
    for (const char* name : {"\x95\x5C", "\x83\x7C", "Vol..2", "a..", "..b"}) {
        EXPECT_NE(loadNamed(name), kBadName) << name;
        EXPECT_EQ(files.lastRead.parent_path(), "/data/tdcs");
    }
}

TEST(ProblemSetOnDisk, AJapaneseNameFindsItsFileAndATdcsFileIsAMissingFolder) {
    testing::HistoryDir dir;
    DiskFileSystem disk;
    ProblemSet set;
    Settings settings;
    std::ofstream(dir.path() / "tdcs") << "Amount=1\nText[1]=abc\n";
    settings.problem_set_name = "set";
    EXPECT_EQ(LoadProblemSet(set, disk, dir.path(), settings).messages.front(),
              infoMessage("ファイルが存在しません"));
    std::filesystem::remove(dir.path() / "tdcs");
    std::filesystem::create_directory(dir.path() / "tdcs");
    // The second byte of 表 is the byte of '\', which must not count as a separator.
    settings.problem_set_name = utf8ToCp932("表現");
    ASSERT_TRUE(disk.writeFile(dir.path() / "tdcs" / "表現.tdc", "Amount=1\nText[1]=hyougenn\n"));
    EXPECT_TRUE(LoadProblemSet(set, disk, dir.path(), settings).ok);
}

}  // namespace
}  // namespace kestrum
