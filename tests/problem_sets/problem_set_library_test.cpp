#include "problem_sets/problem_set_library.h"

#include "history/history_test_dir.h"
#include "menu/problem_set_reader.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using testing::fileBytes;

class ProblemSetLibraryTest : public ::testing::Test {
protected:
    Bytes tdc(const std::string& name) const { return fileBytes(root / "tdcs" / (name + ".tdc")); }

    testing::HistoryDir dir;
    std::filesystem::path root = dir.path();
    DiskFileSystem files;
    DiskFolders folders;
    ProblemSetLibrary library{files, folders, root};
    Settings settings;
    const ProblemSetDocument twoItems{utf8ToCp932("果物の名前"),
                                      {{"apple", utf8ToCp932("りんご")}, {" pear", ""}}};
};

// A saved set reads back through the reader without a message (表 ends in the byte of '\\'). A
// set the editor's rules refuse (name, no items, an item, 200 items, the title) is not written.
TEST_F(ProblemSetLibraryTest, SavedSetsReadBackAndARefusedOrReadOnlyOneStays) {
    ASSERT_TRUE(library.save("表現", twoItems).ok);
    const Bytes saved = tdc("表現");
    EXPECT_EQ(saved,
              utf8ToCp932("Title=果物の名前\r\nAmount=2\r\nText[1]=apple\r\nComment[1]=りんご\r\n"
                          "Text[2]= pear\r\nComment[2]=\r\n"));
    settings.problem_set_name = utf8ToCp932("表現");
    ProblemSet set;
    const ProblemSetLoad load = LoadProblemSet(set, files, root, settings);
    EXPECT_TRUE(load.ok && load.messages.empty());
    EXPECT_EQ(load.record.words, (std::vector<Bytes>{"apple", " pear"}));
    EXPECT_EQ(library.load("表現"), twoItems);
    std::ofstream(root / "tdcs" / "notes.txt") << "Title=t\r\nAmount=1\r\nText[1]=a\r\n";
    EXPECT_EQ(library.list(), (std::vector<ProblemSetEntry>{{"表現", twoItems.title, 2}}));

    EXPECT_FALSE(library.save("a/b", twoItems).ok);
    const ProblemItem good{"abc", ""};
    for (const ProblemSetDocument& refused : {ProblemSetDocument{"t", {}},
                                              {"t", {good, {"abc!", ""}}},
                                              {"t", std::vector<ProblemItem>(200, good)},
                                              {Bytes(91, 't'), {good}}}) {
        const LibraryResult result = library.save("表現", refused);
        EXPECT_FALSE(result.ok || result.messages.empty()) << refused.items.size();
        EXPECT_EQ(tdc("表現"), saved);
    }
    // The editor keeps a comment-only row, drops an empty one and reads Amount as the drill does.
    std::ofstream(root / "tdcs" / "hand.tdc")
        << "Title=t\r\nAmount=+3\r\nText[1]=a\r\nComment[2]=c\r\nText[3]=\r\nText[4]=z\r\n";
    EXPECT_EQ(library.load("hand").items, (std::vector<ProblemItem>{{"a", ""}, {"", "c"}}));
    const ProblemSetDocument most{"t", std::vector<ProblemItem>(199, good)};
    EXPECT_TRUE(library.save("表現", most).ok);
    EXPECT_EQ(library.load("表現"), most);
    // A set saved as UTF-8 by an editor opens as the reader reads it; once its file is read-only
    // it is not replaced.
    std::ofstream(root / "tdcs" / "u.tdc") << "\xEF\xBB\xBFTitle=果物の名前\r\nText[1]=apple\r\n"
                                              "Comment[1]=りんご\r\nText[2]= pear\r\n";
    EXPECT_EQ(library.load("u"), twoItems);
    std::filesystem::permissions(root / "tdcs" / "u.tdc", std::filesystem::perms::owner_read);
    const LibraryResult readOnly = library.save("u", twoItems);
    EXPECT_FALSE(readOnly.ok || readOnly.messages.empty());
    EXPECT_TRUE(tdc("u").starts_with("\xEF\xBB\xBF"));
}

// Choosing writes the name on line 2 of kestruml.ini at once; renaming or deleting the current
// set carries the change there too. A set the reader refuses cannot be chosen.
TEST_F(ProblemSetLibraryTest, CreateCopyRenameDeleteAndTheCurrentSet) {
    ASSERT_TRUE(library.create("empty").ok);
    EXPECT_EQ(library.list(), (std::vector<ProblemSetEntry>{{"empty", "empty", 0}}));
    EXPECT_FALSE(library.create("empty").ok);  // taken
    EXPECT_EQ(library.choose("empty", settings).messages, Messages{infoMessage("要素数が０です")});
    EXPECT_FALSE(folders.exists(root / "kestruml.ini"));

    ASSERT_TRUE(library.save("練習", twoItems).ok);
    ASSERT_TRUE(library.copy("練習", "copy").ok);
    EXPECT_FALSE(library.copy("練習", "copy").ok);
    EXPECT_EQ(library.load("copy"), twoItems);
    ASSERT_TRUE(library.choose("練習", settings).ok);
    EXPECT_EQ(fileBytes(root / "kestruml.ini"), "1,0,0,1,0,5,0\r\n" + utf8ToCp932("練習") + "\r\n");
    EXPECT_FALSE(library.rename("練習", "copy", settings).ok);
    ASSERT_TRUE(library.rename("練習", "drill", settings).ok);
    EXPECT_EQ(fileBytes(root / "kestruml.ini"), "1,0,0,1,0,5,0\r\ndrill\r\n");
    ASSERT_TRUE(library.remove("drill", settings).ok);
    EXPECT_EQ(fileBytes(root / "kestruml.ini"), "1,0,0,1,0,5,0\r\n");
    EXPECT_TRUE(settings.problem_set_name.empty());
    EXPECT_EQ(folders.fileNames(root / "tdcs"),
              (std::vector<std::string>{"copy.tdc", "empty.tdc"}));
}

}  // namespace
}  // namespace kestrum
