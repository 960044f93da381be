#include "menu/problem_set_reader.h"

#include "platform/file_system.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>

namespace kestrum {
namespace {

const std::filesystem::path kDir = "/data";
const char* const kInvalidFile = "不正なファイルです\n読み込みを中止します";
const char* const kNoItems = "練習できる問題がありません";

Messages infos(std::initializer_list<const char*> texts) {
    Messages messages;
    for (const char* text : texts)
        messages.push_back(infoMessage(text));
    return messages;
}

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

    MemoryFileSystem files;
    Settings settings;
    ProblemSet set;
};

TEST_F(ProblemSetReaderTest, KeptItemsCloseTheGapsAndFillTheRecord) {
    const Bytes home = utf8ToCp932("ホーム");
    const ProblemSetLoad result =
        load("Amount=3\r\nText[1]=asdf\r\nText[3]=jkl;\r\nComment[3]=" + home + "\r\n");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(set.count, 2);
    EXPECT_EQ(set.texts[1], "asdf");
    EXPECT_EQ(set.text_comments[1], "");
    EXPECT_EQ(set.texts[2], "jkl;");
    EXPECT_EQ(set.text_comments[2], home);

    const lesson& record = result.record;
    EXPECT_EQ(record.name, "set");
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.words, (std::vector<Bytes>{"asdf", "jkl;"}));
    EXPECT_EQ(record.comments, (std::vector<Bytes>{"", home}));
    EXPECT_EQ(record.word_count, 2);
    EXPECT_EQ(record.comment_count, 2);
    EXPECT_EQ(record.comment_index_count, 2);
    EXPECT_EQ(record.comment_index, (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(record.program_length, 7);
    ASSERT_GE(record.program.size(), 100u);  // enough for the largest practice_count
    for (const std::int32_t step : record.program)
        EXPECT_EQ(step, -1);
}

TEST_F(ProblemSetReaderTest, LinesAreReadAsTheFormatSays) {
    // Slots beyond Amount are read but not kept; later lines replace earlier ones; a blank
    // after '=' belongs to the text; titles and lines without '=' pass silently.
    const ProblemSetLoad result = load(
        "Title=mine\n\n   no equals sign\nAmount=9\nText[5]=abc\nAmount=3\nText[1]=old\n"
        "Text[1]= abc\nText[2]=x\nComment[2]=a=b\n\t Text[3]=last  \t\n");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.record.words, (std::vector<Bytes>{" abc", "x", "last"}));
    EXPECT_EQ(result.record.comments[1], "a=b");
}

TEST_F(ProblemSetReaderTest, LimitsAtTheirEdges) {
    const Bytes text25(25, 'a');
    EXPECT_TRUE(load("Amount=1\nText[1]=" + text25 + "\n").ok);
    EXPECT_EQ(load("Amount=1\nText[1]=" + text25 + "a\n").messages, infos({"文が長すぎます。"}));

    const Bytes comment = "Comment[1]=";
    const Bytes line96 = comment + Bytes(96 - comment.size(), 'c');
    EXPECT_TRUE(load("Amount=1\nText[1]=a\n" + line96 + "\r\n").ok);
    EXPECT_EQ(load("Amount=1\nText[1]=a\n" + line96 + "c\n").messages,
              infos({"Over flow buffer!"}));
    EXPECT_TRUE(load("Amount=1\nText[1]=a\n" + line96 + "c").ok);
    EXPECT_FALSE(load("Amount=1\nText[1]=a\n" + line96 + "cc").ok);

    // Amounts above 199 keep slots 1..199.
    const ProblemSetLoad wide = load("Amount=5000\nText[1]=first\nText[199]=last\n");
    ASSERT_TRUE(wide.ok);
    EXPECT_EQ(wide.record.words, (std::vector<Bytes>{"first", "last"}));
}

struct FailureCase {
    const char* content;
    const char* message;
};

class ProblemSetFailureTest : public ProblemSetReaderTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ProblemSetFailureTest, StopsWithItsMessage) {
    const ProblemSetLoad result = load(GetParam().content);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages, infos({GetParam().message}));
    EXPECT_TRUE(result.record.words.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, ProblemSetFailureTest,
    ::testing::Values(FailureCase{"Amount=0\nText[1]=a\n", "要素数が０です"},
                      FailureCase{"Amount=1\nText[0]=a\n", "インデックスが無効です"},
                      FailureCase{"Amount=1\nComment[200]=a\n", "インデックスが無効です"},
                      FailureCase{"Amount=x\nText[1]=a\n", kInvalidFile},
                      FailureCase{"Amount=1\nText[]=abc\n", kInvalidFile},
                      FailureCase{"Amount=1\nText1]=abc\n", kInvalidFile},
                      FailureCase{"Amount=1\nText]1[=abc\n", kInvalidFile},
                      FailureCase{"Amount=1\nText[99999999999]=abc\n", kInvalidFile},
                      // A sign is followed by digits, never by another sign.
                      FailureCase{"Amount=+-3\nText[1]=a\n", kInvalidFile},
                      FailureCase{"Amount=-+3\nText[1]=a\n", kInvalidFile},
                      FailureCase{"Amount=1\nText[++1]=a\n", kInvalidFile},
                      FailureCase{"Amount=2\nText[1]=fine\nText[2]=wow!\n",
                                  "不正なファイルです。不正な文字が含まれています。"},
                      FailureCase{"Amount=1\nText[1]=\x82\xA0\n",
                                  "不正なファイルです。不正な文字が含まれています。"},
                      // A long text is reported before any bad character.
                      FailureCase{"Amount=2\nText[1]=bad!\nText[2]=aaaaaaaaaaaaaaaaaaaaaaaaaa\n",
                                  "文が長すぎます。"},
                      FailureCase{"Text[1]=abc\n", "要素数(Amount)が指定されていません"},
                      FailureCase{"Amount=-3\nText[1]=abc\n", kNoItems},
                      FailureCase{"Amount=2\nText[3]=abc\nComment[1]=only\n", kNoItems}));

TEST_F(ProblemSetReaderTest, UnknownLinesAreReportedAndSkipped) {
    const ProblemSetLoad result = load("Amount=1\nFoo=1\nText[1]=a\n=\nam=1\n");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.messages,
              infos({"無効な情報があります", "無効な情報があります", "無効な情報があります"}));

    Bytes many = "Amount=1\nText[1]=a\n";
    for (int i = 0; i < 100000; ++i)
        many += "x=\n";
    const ProblemSetLoad flooded = load(many);
    EXPECT_TRUE(flooded.ok);
    EXPECT_EQ(flooded.messages.size(), 10u);
}

TEST_F(ProblemSetReaderTest, EachLoadStartsFromEmptySlots) {
    ASSERT_TRUE(load("Amount=3\nText[1]=a\nText[2]=b\nText[3]=c\nComment[3]=z\n").ok);
    const ProblemSetLoad second = load("Amount=3\nText[3]=d\n");
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.record.words, std::vector<Bytes>{"d"});
    EXPECT_EQ(second.record.comments, std::vector<Bytes>{""});
}

TEST_F(ProblemSetReaderTest, NoNameOrAnOversizedFileIsRefused) {
    settings.problem_set_name.clear();
    EXPECT_EQ(LoadProblemSet(set, files, kDir, settings).messages,
              infos({"辞書が選択されていません"}));
    settings.problem_set_name = "set";
    Bytes huge = "Amount=1\nText[1]=a\n";
    huge.resize(kMaxProblemSetFileBytes + 1, '\n');
    EXPECT_EQ(load(huge).messages, infos({"ファイルが大きすぎます"}));
}

TEST_F(ProblemSetReaderTest, IndicesOutsideTheSlotsAreRefused) {
    for (int index = -1; index <= 300; ++index) {
        const ProblemSetLoad result = load("Amount=300\nText[" + std::to_string(index) +
                                           "]=a\nComment[" + std::to_string(index) + "]=c\n");
        EXPECT_EQ(result.ok, index >= 1 && index <= 199) << index;
    }
}

TEST(ProblemSetOnDisk, AJapaneseNameFindsItsFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path root = dir.path().toStdString();
    std::filesystem::create_directory(root / "tdcs");
    DiskFileSystem disk;
    ProblemSet set;
    Settings settings;

    // The second byte of 表 is the byte of '\', which must not count as a separator.
    settings.problem_set_name = utf8ToCp932("表現");
    ASSERT_TRUE(disk.writeFile(root / "tdcs" / "表現.tdc", "Amount=1\r\nText[1]=hyougenn\r\n"));
    const ProblemSetLoad found = LoadProblemSet(set, disk, root, settings);
    ASSERT_TRUE(found.ok);
    EXPECT_EQ(found.record.name, settings.problem_set_name);
}

TEST(ProblemSetHelpers, ProblemCharsAreAsciiLettersDigitsAndFivePunctuationMarks) {
    int accepted = 0;
    for (int byte = 0; byte < 256; ++byte)
        accepted += IsProblemChar(byte) ? 1 : 0;
    EXPECT_EQ(accepted, 26 + 26 + 10 + 6);
    for (const unsigned char c : std::string("azAZ09 ,./;-"))
        EXPECT_TRUE(IsProblemChar(c));
    for (const unsigned char c : std::string("!:'\"_[]=\t\x7F\x80\xFF")) {
        EXPECT_FALSE(IsProblemChar(c));
    }
}

}  // namespace
}  // namespace kestrum
