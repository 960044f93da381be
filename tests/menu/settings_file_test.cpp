// Saves of the settings line, and saves that cannot finish: the settings file is the only place
// the current problem set is named, so a failed save must leave the old file whole. How each
// input loads is a row of tests/data/reader_cases.tsv.
#include "menu/settings_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <functional>

namespace kestrum {
namespace {

class SettingsSaveTest : public ::testing::Test {
protected:
    Bytes onDisk() const { return testing::fileBytes(dir.path() / kSettingsFileName); }
    bool scratchLeft() const { return std::filesystem::exists(dir.path() / kSettingsScratchName); }

    testing::HistoryDir dir;
    FaultFileSystem files;
};

TEST_F(SettingsSaveTest, WritesTheLineByteForByteAndLoadsItBack) {
    ASSERT_TRUE(SaveSettings(Settings{}, files, dir.path()));
    EXPECT_EQ(onDisk(), "1,0,0,1,0,5,0\r\n");
    const Settings chosen{0, 2, 1, 0, 2, 100, 3, utf8ToCp932("英単語 (2)")};
    ASSERT_TRUE(SaveSettings(chosen, files, dir.path()));
    EXPECT_EQ(onDisk(), "0,2,1,0,2,100,3\r\n" + chosen.problem_set_name + "\r\n");
    Settings loaded;
    LoadSettings(loaded, files, dir.path(), 1280);
    EXPECT_EQ(loaded, chosen);
}

TEST_F(SettingsSaveTest, ASaveThatCannotFinishKeepsTheOldFileAndItsName) {
    const Bytes before = "0,2,1,0,2,60,3\r\nmy set\r\n";
    const Settings changed{1, 1, 0, 1, 0, 5, 0, "my set"};
    const std::function<void()> faults[] = {
        [&] { files.diskFullAfter(0); },
        [&] { files.diskFullAfter(5); },
        [&] { files.diskFullAfter(22); },  // before the name's line end
        [&] { files.fail(FaultFileSystem::FileOp::Replace); },
        [&] { files.powerLossAfter(FaultFileSystem::FileOp::WriteFile); },
    };
    for (const auto& arm : faults) {
        SCOPED_TRACE(&arm - faults);
        ASSERT_TRUE(files.writeFile(dir.path() / kSettingsFileName, before));
        arm();
        EXPECT_FALSE(SaveSettings(changed, files, dir.path()));
        files.restore();
        EXPECT_EQ(onDisk(), before);
        ASSERT_TRUE(SaveSettings(changed, files, dir.path()));
        EXPECT_EQ(onDisk(), "1,1,0,1,0,5,0\r\nmy set\r\n");
        EXPECT_FALSE(scratchLeft());
    }
}

// A stale scratch link cannot send the save elsewhere; a directory in the file's place stays.
TEST_F(SettingsSaveTest, NothingInTheWayIsWrittenThroughOrReplaced) {
    testing::HistoryDir elsewhere;
    const std::filesystem::path notes = elsewhere.path() / "notes.txt";
    std::ofstream(notes) << "keep me";
    std::filesystem::create_symlink(notes, dir.path() / kSettingsScratchName);
    ASSERT_TRUE(SaveSettings(Settings{}, files, dir.path()));
    EXPECT_EQ(onDisk(), "1,0,0,1,0,5,0\r\n");
    EXPECT_EQ(testing::fileBytes(notes), "keep me");

    std::filesystem::remove(dir.path() / kSettingsFileName);
    std::filesystem::create_directory(dir.path() / kSettingsFileName);
    std::ofstream(dir.path() / kSettingsFileName / "inside") << "x";
    EXPECT_FALSE(SaveSettings(Settings{}, files, dir.path()));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / kSettingsFileName / "inside"));
    EXPECT_FALSE(scratchLeft());
}

}  // namespace
}  // namespace kestrum
