// The settings line, its repairs, and saves that cannot finish: the settings file is the only
// place the current problem set is named, so a failed save must leave the old file whole.
#include "menu/settings_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrum {
namespace {

using namespace std::string_literals;

Settings numbers(std::int32_t distinct, std::int32_t guide, std::int32_t letterType,
                 std::int32_t distinctShift, std::int32_t sound, std::int32_t practiceCount,
                 std::int32_t keyboardSize, Bytes name = {}) {
    return {distinct, guide, letterType, distinctShift, sound, practiceCount, keyboardSize, name};
}

Settings load(const Bytes& content, int screenWidth = 1280) {
    MemoryFileSystem files;
    files.files["/data/kestruml.ini"] = content;
    Settings settings;
    settings.guide = 3;  // the loader must start from the defaults, not from this
    LoadSettings(settings, files, "/data", screenWidth);
    return settings;
}

TEST(SettingsFile, RepairsAndScreenFitting) {
    MemoryFileSystem none;
    Settings missing;
    LoadSettings(missing, none, "/data", 640);
    EXPECT_EQ(missing, Settings{});  // the defaults, not fitted to the screen
    Bytes huge = "1,0,0,1,0,5,7\n";
    huge.resize(kMaxSettingsFileBytes + 1, 'x');
    EXPECT_EQ(load(huge), Settings{});  // never read, so never fitted either

    EXPECT_EQ(load("2,9,5,7,3,200,1\r\n", 800), numbers(1, 0, 0, 1, 0, 5, 3));
    EXPECT_EQ(load("0,1,2,0,1,50,1\r\n", 1280), numbers(0, 1, 2, 0, 1, 50, 2));
    EXPECT_EQ(load("0,1,2,0,1,50,2\r\n", 640), numbers(0, 1, 2, 0, 1, 50, 0));
    EXPECT_EQ(load("1,0,0,1,0,5,2\r\n", 801), numbers(1, 0, 0, 1, 0, 5, 2));
    EXPECT_EQ(load("1,3,1,0,2,4,3\r\n", 800), numbers(1, 3, 1, 0, 2, 5, 3));
    EXPECT_EQ(load("1,0,0,1,0,101,0\r\n").practice_count, 5);
    EXPECT_EQ(load("1,0,0,1,0,100,0\r\n").practice_count, 100);
    // Numbers beyond 32 bits are clamped, never wrapped into the valid-looking 1 and 50.
    EXPECT_EQ(load("1,-4294967295,0,1,0,4294967346,0\r\n"), Settings{});
    EXPECT_EQ(load("1,0,0,1,0,5,99999999999999999999999999\r\n").keyboard_size, 2147483647);
    EXPECT_EQ(load("1,0,0,1,0,5,-2147483648\r\n").keyboard_size, -2147483647 - 1);
}

TEST(SettingsFile, FormattedReading) {
    EXPECT_EQ(load("1 0 0 1 0 5 0\n"), Settings{});
    EXPECT_EQ(load("\n  +0,\t-0 2\n\n1"), numbers(0, 0, 2, 1, 0, 5, 0));
    // A comma is taken only straight after a value; anywhere else it is not a number.
    EXPECT_EQ(load("0,1\n,2,1"), numbers(0, 1, 0, 1, 0, 5, 0, ",2,1"));
    EXPECT_EQ(load("1,0,x,1,0,5,0\r\n"), numbers(1, 0, 0, 1, 0, 5, 0, "x,1,0,5,0"));
    EXPECT_EQ(load("0,3,-y\n"), numbers(0, 3, 0, 1, 0, 5, 0, "y"));
    EXPECT_EQ(load("0,1,2,0,1,50,3\r\n\r\n   my set \t \r\nignored\r\n"),
              numbers(0, 1, 2, 0, 1, 50, 3, "my set"));
    // A sign followed by a sign is not a number.
    EXPECT_EQ(load("1,0,0,1,0,5,+-2\n").keyboard_size, 0);
    EXPECT_EQ(load("1,0,0,1,0,5,-+2\n").keyboard_size, 0);
    EXPECT_EQ(load("1,0,0,1,0,5,0\nab\0cd\n"s).problem_set_name, "ab");
    // The name is the first 97 bytes of its line, however long the line.
    EXPECT_EQ(load("1,0,0,1,0,5,0\r\n" + Bytes(1 << 20, 'z')).problem_set_name, Bytes(97, 'z'));
    EXPECT_EQ(load(Bytes(1 << 20, ' ') + "0,2,1,0,2,60,3\nset").problem_set_name, "set");
}

class SettingsSaveTest : public ::testing::Test {
protected:
    Bytes onDisk() const { return testing::fileBytes(dir.path() / kSettingsFileName); }
    Settings loaded() {
        Settings s;
        LoadSettings(s, files, dir.path(), 1280);
        return s;
    }

    testing::HistoryDir dir;
    FaultFileSystem files;
};

TEST_F(SettingsSaveTest, WritesTheLineByteForByteAndLoadsItBack) {
    ASSERT_TRUE(SaveSettings(Settings{}, files, dir.path()));
    EXPECT_EQ(onDisk(), "1,0,0,1,0,5,0\r\n");
    const Settings chosen = numbers(0, 2, 1, 0, 2, 100, 3, utf8ToCp932("英単語 (2)"));
    ASSERT_TRUE(SaveSettings(chosen, files, dir.path()));
    EXPECT_EQ(onDisk(), "0,2,1,0,2,100,3\r\n" + chosen.problem_set_name + "\r\n");
    EXPECT_EQ(loaded(), chosen);
}

TEST_F(SettingsSaveTest, ASaveThatCannotFinishKeepsTheOldFileAndItsName) {
    const Bytes before = "0,2,1,0,2,60,3\r\nmy set\r\n";
    Settings changed;
    changed.problem_set_name = "my set";
    changed.guide = 1;
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
        EXPECT_EQ(loaded().problem_set_name, "my set");
        ASSERT_TRUE(SaveSettings(changed, files, dir.path()));
        EXPECT_EQ(onDisk(), "1,1,0,1,0,5,0\r\nmy set\r\n");
        EXPECT_FALSE(std::filesystem::exists(dir.path() / kSettingsScratchName));
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
    EXPECT_FALSE(std::filesystem::exists(dir.path() / kSettingsScratchName));
}

}  // namespace
}  // namespace kestrum
