// The reader's rules, input by input, are rows of tests/data/reader_cases.tsv; here: the record a
// load fills, the names that must never reach a file, and the name as the menu shows it.
#include "menu/problem_set_reader.h"

#include "menu/menu_caption.h"
#include "support/memory_file_system.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

const Messages kBadName{infoMessage("問題集の名前が不正です")};

class ProblemSetReaderTest : public ::testing::Test {
protected:
    ProblemSetLoad load(const Bytes& name) {
        settings.problem_set_name = name;
        files.lastRead.clear();
        return LoadProblemSet(set, files, "/data", settings);
    }

    MemoryFileSystem files;
    Settings settings;
    ProblemSet set;
};

// The record holds the kept items in order and their comment numbers; a later load starts from an
// empty record.
TEST_F(ProblemSetReaderTest, TheRecordHoldsTheKeptItemsAndStartsEmptyEachTime) {
    settings.practice_count = 7;
    files.files["/data/tdcs/set.tdc"] = "Amount=4\nText[1]=a\nText[2]=b\nComment[4]=c\nText[4]=d\n";
    const lesson record = load("set").record;
    EXPECT_EQ(std::tie(record.name, record.words, record.comments, record.comment_index),
              std::tuple(Bytes("set"), std::vector<Bytes>{"a", "b", "d"},
                         std::vector<Bytes>{"", "", "c"}, std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(std::tuple(record.kind, record.word_count, record.comment_count,
                         record.comment_index_count, record.program_length),
              std::tuple(1, 3, 3, 3, 7));
    files.files["/data/tdcs/set.tdc"] = "Amount=3\nText[3]=d\n";
    EXPECT_EQ(load("set").record.words, std::vector<Bytes>{"d"});
}

// No name may reach a file outside tdcs: separators, "..", absolute paths, control bytes and names
// that are not whole code page 932 text ("ab\x95" once read ab.tdc) are refused before any read.
TEST_F(ProblemSetReaderTest, BadNamesAreRefusedBeforeAnyRead) {
    for (const char* path : {"/data/tdcs/ab.tdc", "/data/tdcs/.tdc", "/data/outside.tdc"})
        files.files[path] = "Amount=1\nText[1]=abc\n";
    EXPECT_EQ(load("").messages, Messages{infoMessage("辞書が選択されていません")});
    std::vector<Bytes> names{
        "../outside", "./../outside", "..\\outside", "/data/outside", "a/b",   "..",      ".",
        "a\\b",       "\x95",         "ab\x95",      "\x85\x40",      "a\x80", "\x81/..", "\xFF"};
    for (int control = 1; control < 128; control = control == 31 ? 127 : control + 1)
        names.push_back("a" + Bytes(1, static_cast<char>(control)) + "b");
    for (const Bytes& name : names) {
        EXPECT_EQ(load(name).messages, kBadName) << ::testing::PrintToString(name);
        EXPECT_TRUE(files.lastRead.empty());
    }
    // Whole characters whose second byte is '\' or '|', and dots inside a name, name their file.
    for (const char* name : {"\x95\x5C", "\x83\x7C", "Vol..2", "a..", "..b"}) {
        EXPECT_NE(load(name).messages, kBadName) << name;
        EXPECT_EQ(files.lastRead.parent_path(), "/data/tdcs");
    }
}

// The menu shows the name of the set chosen, cut to fit (rows of tests/data/menu_caption.tsv).
TEST(ProblemSetCaption, CutsAfterElevenBytesAtACharacterBoundary) {
    for (const auto& row : testing::tableRows("menu_caption.tsv"))
        EXPECT_EQ(problemSetCaption(utf8ToCp932(row[0])), utf8ToCp932(row.at(1))) << row[0];
}

}  // namespace
}  // namespace kestrum
