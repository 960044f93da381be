#include "menu/problem_set_reader.h"

#include "history/history_test_dir.h"
#include "platform/file_system.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kestrum {
namespace {

const std::filesystem::path kDir = "/data";
const char* const kInvalidFile = "不正なファイルです\n読み込みを中止します";
const char* const kBadChar = "不正なファイルです。不正な文字が含まれています。";
const char* const kNoItems = "練習できる問題がありません";

class ProblemSetReaderTest : public ::testing::Test {
protected:
    ProblemSetReaderTest() {
        settings.problem_set_name = "set";
        settings.practice_count = 7;
    }
    ProblemSetLoad load(const Bytes& content) {
        files.files[kDir / "tdcs" / "set.tdc"] = content;
        return LoadProblemSet(set, files, kDir, settings);
    }
    Messages loadNamed(const Bytes& name) {
        settings.problem_set_name = name;
        files.lastRead.clear();
        return LoadProblemSet(set, files, kDir, settings).messages;
    }

    MemoryFileSystem files;
    Settings settings;
    ProblemSet set;
};

TEST_F(ProblemSetReaderTest, KeptItemsCloseTheGapsAndFillTheRecord) {
    // Slots beyond Amount are read but not kept; later lines replace earlier ones; a blank after
    // '=' belongs to the text; titles and lines without '=' pass silently.
    const Bytes home = utf8ToCp932("ホーム");
    const ProblemSetLoad result = load(
        "Title=mine\n\n   no equals sign\nAmount=9\nText[5]=abc\nAmount=4\nText[1]=old\r\n"
        "Text[1]= abc\nText[2]=x\nComment[2]=a=b\nComment[4]=" +
        home + "\n\t Text[4]=last  \t\n");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    const lesson& record = result.record;
    EXPECT_EQ(
        std::tie(record.name, record.words, record.comments, record.comment_index),
        std::tuple(Bytes("set"), std::vector<Bytes>{" abc", "x", "last"},
                   std::vector<Bytes>{"", "a=b", home}, std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(std::tuple(record.kind, record.word_count, record.comment_count,
                         record.comment_index_count, record.program_length),
              std::tuple(1, 3, 3, 3, 7));
    ASSERT_GE(record.program.size(), 100u);  // enough for the largest practice_count
    EXPECT_EQ(std::count(record.program.begin(), record.program.end(), -1),
              std::ssize(record.program));

    EXPECT_EQ(load("Amount=3\nText[3]=d\n").record.words, std::vector<Bytes>{"d"});  // starts empty
}

TEST_F(ProblemSetReaderTest, LimitsAtTheirEdges) {
    EXPECT_TRUE(load("Amount=1\nText[1]=" + Bytes(25, 'a') + "\n").ok);
    const Bytes line96 = "Comment[1]=" + Bytes(85, 'c');
    EXPECT_TRUE(load("Amount=1\nText[1]=a\n" + line96 + "\r\n").ok);
    EXPECT_EQ(load("Amount=1\nText[1]=a\n" + line96 + "c\n").messages,
              Messages{infoMessage("Over flow buffer!")});
    EXPECT_TRUE(load("Amount=1\nText[1]=a\n" + line96 + "c").ok);
    EXPECT_FALSE(load("Amount=1\nText[1]=a\n" + line96 + "cc").ok);
    const ProblemSetLoad wide = load("Amount=5000\nText[1]=first\nText[199]=last\n");
    EXPECT_EQ(wide.record.words, (std::vector<Bytes>{"first", "last"}));  // slots 1..199 kept
    for (int index = -1; index <= 300; ++index) {
        const std::string i = std::to_string(index);
        EXPECT_EQ(load("Amount=300\nText[" + i + "]=a\nComment[" + i + "]=c\n").ok,
                  index >= 1 && index <= 199)
            << index;
    }

    EXPECT_EQ(load("Amount=1\nFoo=1\nText[1]=a\n=\nam=1\n").messages,
              Messages(3, infoMessage("無効な情報があります")));
    Bytes many = "Amount=1\nText[1]=a\n";
    for (int i = 0; i < 100000; ++i)
        many += "x=\n";
    EXPECT_EQ(load(many).messages.size(), 10u);  // reported ten times at most

    Bytes huge = "Amount=1\nText[1]=a\n";
    huge.resize(kMaxProblemSetFileBytes + 1, '\n');
    EXPECT_EQ(load(huge).messages, Messages{infoMessage("ファイルが大きすぎます")});
}

TEST_F(ProblemSetReaderTest, EachBrokenRuleStopsTheLoadWithItsMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"Amount=0\nText[1]=a\n", "要素数が０です"},
        {"Amount=1\nText[0]=a\n", "インデックスが無効です"},
        {"Amount=1\nComment[200]=a\n", "インデックスが無効です"},
        {"Amount=x\nText[1]=a\n", kInvalidFile},
        {"Amount=1\nText[]=abc\n", kInvalidFile},
        {"Amount=1\nText1]=abc\n", kInvalidFile},
        {"Amount=1\nText]1[=abc\n", kInvalidFile},
        {"Amount=1\nText[99999999999]=abc\n", kInvalidFile},
        {"Amount=+-3\nText[1]=a\n", kInvalidFile},  // a sign is followed by digits only
        {"Amount=-+3\nText[1]=a\n", kInvalidFile},
        {"Amount=1\nText[++1]=a\n", kInvalidFile},
        {"Amount=2\nText[1]=fine\nText[2]=wow!\n", kBadChar},
        {"Amount=2\nText[1]=fine\nText[2]=a_b\n", kBadChar},
        {"Amount=1\nText[1]=\x82\xA0\n", kBadChar},
        {"Amount=2\nText[1]=bad!\nText[2]=aaaaaaaaaaaaaaaaaaaaaaaaaa\n", "文が長すぎます。"},
        {"Text[1]=abc\n", "要素数(Amount)が指定されていません"},
        {"Amount=-3\nText[1]=abc\n", kNoItems},
        {"Amount=2\nText[3]=abc\nComment[1]=only\n", kNoItems},
    };
    for (const auto& [content, message] : cases) {
        const ProblemSetLoad result = load(content);
        EXPECT_FALSE(result.ok || !result.record.words.empty()) << content;
        EXPECT_EQ(result.messages, Messages{infoMessage(message)}) << content;
    }
    EXPECT_TRUE(load("Amount=1\nText[1]=azAZ09 ,./;-\n").ok);  // every kind of typeable byte
    int typeable = 0;
    for (int byte = 0; byte < 256; ++byte)
        typeable += IsProblemChar(byte) ? 1 : 0;
    EXPECT_EQ(typeable, 26 + 26 + 10 + 6);
    EXPECT_EQ(loadNamed(""), Messages{infoMessage("辞書が選択されていません")});
}

// No name may reach a file outside tdcs, even one that exists: separators, "..", absolute paths,
// control bytes and names that are not whole code page 932 text ("ab\x95" once read ab.tdc) are
// refused before anything is read.
TEST_F(ProblemSetReaderTest, BadNamesAreRefusedBeforeAnyRead) {
    for (const char* path : {"/data/tdcs/ab.tdc", "/data/tdcs/.tdc", "/data/outside.tdc"})
        files.files[path] = "Amount=1\nText[1]=abc\n";
    const Messages badName{infoMessage("問題集の名前が不正です")};
    std::vector<Bytes> names{
        "../outside", "./../outside", "..\\outside", "/data/outside", "a/b",   "..",      ".",
        "a\\b",       "\x95",         "ab\x95",      "\x85\x40",      "a\x80", "\x81/..", "\xFF"};
    for (int control = 1; control < 128; control = control == 31 ? 127 : control + 1)
        names.push_back("a" + Bytes(1, static_cast<char>(control)) + "b");
    for (const Bytes& name : names) {
        EXPECT_EQ(loadNamed(name), badName) << ::testing::PrintToString(name);
        EXPECT_TRUE(files.lastRead.empty());
    }
    // Whole characters whose second byte is '\' or '|', and dots inside a name, name their file.
    for (const char* name : {"\x95\x5C", "\x83\x7C", "Vol..2", "a..", "..b"}) {
        EXPECT_NE(loadNamed(name), badName) << name;
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
    ASSERT_TRUE(
        disk.writeFile(dir.path() / "tdcs" / "表現.tdc", "Amount=1\r\nText[1]=hyougenn\r\n"));
    EXPECT_TRUE(LoadProblemSet(set, disk, dir.path(), settings).ok);
}

}  // namespace
}  // namespace kestrum
