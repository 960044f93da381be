// The editor's rules for items and set names (rows of tests/data), and its import of item lists.
#include "menu/problem_set_reader.h"
#include "problem_sets/problem_set_document.h"
#include "support/memory_file_system.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// The editor's verdict agrees with the reader's: an item it passes reads back unchanged and
// without a message from slot 199, the longest line; an item it refuses does not.
TEST(ProblemSetRules, ItemVerdictAgreesWithTheReader) {
    for (const auto& row : testing::tableRows("problem_items.tsv")) {
        SCOPED_TRACE(row[0]);
        const ProblemItem item{utf8ToCp932(row[0]), utf8ToCp932(row.at(1))};
        const bool sound = row.at(2) == "sound";
        EXPECT_EQ(!itemProblem(item).has_value(), sound);
        MemoryFileSystem files;
        files.files["/d/tdcs/t.tdc"] =
            "Amount=199\r\nText[199]=" + item.text + "\r\nComment[199]=" + item.comment + "\r\n";
        Settings settings;
        settings.problem_set_name = "t";
        ProblemSet set;
        const ProblemSetLoad load = LoadProblemSet(set, files, "/d", settings);
        EXPECT_EQ(load.ok && load.messages.empty() && set.count == 1 && set.texts[1] == item.text &&
                      set.text_comments[1] == item.comment,
                  sound);
    }
    // An emoji has no code page 932 form: it would be lost in the file.
    EXPECT_TRUE(itemProblem({"ok", toCp932(QString::fromUtf8("\xF0\x9F\x98\x80"))}));
}

// The editor marks the half of a row at fault, the text's before the comment's; a blank row is
// no item and is not marked.
TEST(ProblemSetRules, RowFaultNamesTheHalfAtFault) {
    const Bytes longComment(84, 'a');  // a comment line holds 83 bytes
    EXPECT_FALSE(rowFault({"", ""}));
    EXPECT_FALSE(rowFault({"ok", "fine"}));
    EXPECT_EQ(rowFault({"", "fine"})->part, RowFault::Part::Text);
    EXPECT_EQ(rowFault({"ok", longComment})->part, RowFault::Part::Comment);
    EXPECT_EQ(rowFault({"o@", longComment})->part, RowFault::Part::Text);
}

// A new set's title is its name cut at a character boundary within the title's 90 bytes.
TEST(ProblemSetRules, SetNamesAndTheTitlesMadeOfThem) {
    for (const auto& row : testing::tableRows("set_names.tsv"))
        EXPECT_EQ(setNameProblem(row[0]).has_value(), row.at(1) == "refused") << row[0];
    const auto kanji = [](int count) { return QStringLiteral("練").repeated(count).toStdString(); };
    EXPECT_EQ(titleFromName(kanji(48)), utf8ToCp932(kanji(45)));
    EXPECT_EQ(titleFromName("a" + kanji(47)), utf8ToCp932("a" + kanji(44)));
}

// One item a line in either encoding. A file over 1 MB, or holding a NUL byte (not a text), gives
// nothing and says why; no more items are read than the set has room for, and a byte-order mark
// is no item.
TEST(ProblemSetImport, ReadsBothEncodingsRefusesWhatIsNoTextAndReadsOnlyWhatFits) {
    const std::vector<ProblemItem> expected{{"sakura", utf8ToCp932("桜の花")}, {"no comment", ""}};
    EXPECT_EQ(importProblemItems("\xEF\xBB\xBFsakura\t桜の花\r\n\r\nno comment\n"), expected);
    // The same file in Shift-JIS: 桜 is 8D F7, の 82 CC, 花 89 D4.
    EXPECT_EQ(importProblemItems("sakura\t\x8D\xF7\x82\xCC\x89\xD4\r\nno comment\r\n"), expected);
    MemoryFileSystem files;
    files.files["/big.txt"] = Bytes(1024 * 1024 + 1, 'a');
    files.files["/nul.txt"] = Bytes("abc\0def\n", 8);
    for (const char* path : {"/big.txt", "/nul.txt", "/missing.txt"}) {
        const ImportedItems imported = importProblemFile(files, path, 199);
        EXPECT_TRUE(imported.items.empty()) << path;
        EXPECT_EQ(imported.messages.size(), 1u) << path;
    }
    files.files["/big.txt"].pop_back();
    EXPECT_EQ(importProblemFile(files, "/big.txt", 199).items.size(), 1u);

    Bytes list = "\xEF\xBB\xBF\r\n";
    for (int i = 1; i <= 300; ++i)
        list += "item" + std::to_string(i) + "\r\n \r\n";
    files.files["/list.txt"] = list;
    const ImportedItems three = importProblemFile(files, "/list.txt", 3);
    EXPECT_EQ(three.items, (std::vector<ProblemItem>{{"item1", ""}, {"item2", ""}, {"item3", ""}}));
    EXPECT_EQ(three.messages.size(), 1u);
    const ImportedItems all = importProblemFile(files, "/list.txt", 300);
    EXPECT_EQ(all.items.size(), 300u);
    EXPECT_TRUE(all.messages.empty());
}

}  // namespace
}  // namespace kestrum
