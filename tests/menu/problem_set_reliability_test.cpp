// Problem-set names come from a hand-edited settings file and problem sets from anywhere: no
// name may reach a file outside tdcs or a file it does not name.
#include "menu/problem_set_reader.h"

#include "platform/file_system.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace kestrum {
namespace {

const Messages kBadName{infoMessage("問題集の名前が不正です")};

// No name may reach a file outside tdcs, even one that exists: separators, "..", absolute paths
// and control bytes are refused before anything is read. So are names that are not whole code
// page 932 text, which used to be converted into the name of another file ("ab\x95" read ab.tdc).
TEST(ProblemSetNames, BadNamesAreRefusedBeforeAnyRead) {
    MemoryFileSystem files;
    for (const char* path :
         {"/data/tdcs/ab.tdc", "/data/tdcs/.tdc", "/data/outside.tdc", "/data/settings.tdc"}) {
        files.files[path] = "Amount=1\nText[1]=abc\n";
    }
    ProblemSet set;
    Settings settings;
    for (const char* name :
         {"../settings", "../outside", "./../outside", "..\\outside", "/data/outside", "a/b", "..",
          ".", "a\\b", "x\x01y", "\x95", "ab\x95", "\x85\x40", "a\x80", "\x81/..", "\xFF"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(name)));
        settings.problem_set_name = name;
        files.lastRead.clear();
        const ProblemSetLoad load = LoadProblemSet(set, files, "/data", settings);
        EXPECT_FALSE(load.ok);
        EXPECT_EQ(load.messages, kBadName);
        EXPECT_TRUE(files.lastRead.empty());
    }
    for (int control = 1; control < 128; control = control == 31 ? 127 : control + 1) {
        settings.problem_set_name = "a" + Bytes(1, static_cast<char>(control)) + "b";
        EXPECT_EQ(LoadProblemSet(set, files, "/data", settings).messages, kBadName) << control;
    }
    // Whole characters whose second byte is '\' or '|', and dots inside a name, still name
    // their file.
    for (const char* name : {"\x95\x5C", "\x83\x7C", "Vol..2", "a..", "..b"}) {
        settings.problem_set_name = name;
        EXPECT_NE(LoadProblemSet(set, files, "/data", settings).messages, kBadName);
        EXPECT_EQ(files.lastRead.parent_path(), "/data/tdcs");
    }
}

class ProblemSetOnDiskTest : public ::testing::Test {
protected:
    ProblemSetOnDiskTest() {
        EXPECT_TRUE(temp.isValid());
        std::filesystem::create_directory(tdcs);
        settings.problem_set_name = "set";
    }
    ProblemSetLoad load() { return LoadProblemSet(set, disk, dir, settings); }
    std::filesystem::path file() const { return tdcs / "set.tdc"; }

    QTemporaryDir temp;
    const std::filesystem::path dir = temp.path().toStdString();
    const std::filesystem::path tdcs = dir / "tdcs";
    DiskFileSystem disk;
    Settings settings;
    ProblemSet set;
};

TEST_F(ProblemSetOnDiskTest, ATdcsThatIsAFileIsAMissingFolder) {
    std::filesystem::remove(tdcs);
    std::ofstream(tdcs) << "Amount=1\nText[1]=abc\n";
    const ProblemSetLoad result = load();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages.front(), infoMessage("ファイルが存在しません"));
}

}  // namespace
}  // namespace kestrum
