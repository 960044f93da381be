#include "menu/problem_set_reader.h"
#include "problem_sets/problem_set_document.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <QString>

#include <tuple>

namespace kestrum {
namespace {

// Each refusal the editor knows, beside items that must pass: a blank after '=' is kept, a
// trailing one the reader trims away; 25 characters at most; a comment fills the line at 83 bytes.
// The text and the comment as typed (UTF-8), and whether the item is sound.
const std::tuple<const char*, std::string, bool> kItems[] = {
    {"asdf jkl;", "ホームポジション", true},
    {"AZaz09 ,./;-", "", true},
    {" lead", "", true},
    {"abcdefghijklmnopqrstuvwxy", "", true},
    {"abcdefghijklmnopqrstuvwxyz", "", false},
    {"", "comment only", false},
    {"hello!", "", false},
    {"さくら", "", false},
    {"tab\there", "", false},
    {"trail ", "", false},
    {"ok", std::string(83, '1'), true},
    {"ok", std::string(84, '1'), false}};

// Reads `file` as the problem set "t" in /d.
ProblemSetLoad readSet(const Bytes& file, ProblemSet& set) {
    MemoryFileSystem files;
    files.files["/d/tdcs/t.tdc"] = file;
    Settings settings;
    settings.problem_set_name = "t";
    return LoadProblemSet(set, files, "/d", settings);
}

// The editor's verdict agrees with the reader's: an item it passes reads back unchanged and
// without a message from slot 199, the longest line; an item it refuses does not.
TEST(ProblemSetRules, ItemVerdictAgreesWithTheReader) {
    for (const auto& [text, comment, sound] : kItems) {
        SCOPED_TRACE(text);
        const ProblemItem item{toCp932(QString::fromUtf8(text)), utf8ToCp932(comment)};
        EXPECT_EQ(!itemProblem(item).has_value(), sound);
        ProblemSet set;
        const ProblemSetLoad load = readSet(
            "Amount=199\r\nText[199]=" + item.text + "\r\nComment[199]=" + item.comment + "\r\n",
            set);
        const bool readBack = load.ok && load.messages.empty() && set.count == 1 &&
                              set.texts[1] == item.text && set.text_comments[1] == item.comment;
        EXPECT_EQ(readBack, sound);
    }
    // An emoji has no code page 932 form: it would be lost in the file.
    EXPECT_TRUE(itemProblem({"ok", toCp932(QString::fromUtf8("\xF0\x9F\x98\x80"))}));
}

TEST(ProblemSetRules, SetNames) {
    for (const char* name : {"mine", "練習 1", "Vol..2"})
        EXPECT_FALSE(setNameProblem(name)) << name;
    for (const char* name :
         {"", " mine", "mine ", "a/b", "a\\b", ".", "..", "tab\tname", "\xF0\x9F\x98\x80"})
        EXPECT_TRUE(setNameProblem(name)) << name;
    EXPECT_FALSE(setNameProblem(std::string(97, 'n')));
    EXPECT_TRUE(setNameProblem(std::string(98, 'n')));
    // Counted in the file's bytes: あ is 3 bytes of UTF-8 but 2 of code page 932.
    EXPECT_FALSE(setNameProblem(std::string(48, 'n') + "あ" + std::string(47, 'n')));
}

TEST(ProblemSetRules, WholeSetRefusals) {
    const ProblemItem good{"abc", ""};
    EXPECT_TRUE(documentProblem({"t", {}}));
    EXPECT_FALSE(documentProblem({"t", std::vector<ProblemItem>(199, good)}));
    EXPECT_TRUE(documentProblem({"t", std::vector<ProblemItem>(200, good)}));
    EXPECT_TRUE(documentProblem({"t", {good, {"x!", ""}}}));
    EXPECT_TRUE(documentProblem({Bytes(91, 't'), {good}}));
}

TEST(ProblemSetImport, BothEncodingsOneItemPerLine) {
    const Bytes expectedComment = utf8ToCp932("桜の花");
    const std::vector<ProblemItem> expected{{"sakura", expectedComment}, {"no comment", ""}};
    const std::string utf8 = "\xEF\xBB\xBFsakura\t桜の花\r\n\r\nno comment\n";
    EXPECT_EQ(importProblemItems(utf8), expected);
    // The same file in Shift-JIS: 桜 is 8D F7, の 82 CC, 花 89 D4.
    const std::string sjis = "sakura\t\x8D\xF7\x82\xCC\x89\xD4\r\nno comment\r\n";
    EXPECT_EQ(importProblemItems(sjis), expected);
}

}  // namespace
}  // namespace kestrum
