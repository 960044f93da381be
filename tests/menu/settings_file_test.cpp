#include "menu/settings_file.h"

#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using namespace std::string_literals;

const std::filesystem::path kDir = "/data";

class SettingsFileTest : public ::testing::Test {
protected:
    Settings load(const Bytes& content, int screenWidth = 1280) {
        files.files[kDir / "kestruml.ini"] = content;
        return loadExisting(screenWidth);
    }
    Settings loadExisting(int screenWidth = 1280) {
        Settings settings;
        settings.guide = 3;  // the loader must start from the defaults, not from this
        LoadSettings(settings, files, kDir, screenWidth);
        return settings;
    }
    Bytes saved() { return files.files[kDir / "kestruml.ini"]; }

    MemoryFileSystem files;
};

Settings numbers(std::int32_t distinct, std::int32_t guide, std::int32_t letterType,
                 std::int32_t distinctShift, std::int32_t sound, std::int32_t practiceCount,
                 std::int32_t keyboardSize, Bytes name = {}) {
    return {distinct, guide,         letterType,   distinctShift,
            sound,    practiceCount, keyboardSize, std::move(name)};
}

TEST_F(SettingsFileTest, MissingOrOversizedFileLeavesTheDefaultsUnfitted) {
    EXPECT_EQ(loadExisting(640), Settings{});
    // Fitting would turn this keyboard size into 0 on a narrow screen; an oversized file must
    // not reach that step.
    Bytes huge = "1,0,0,1,0,5,7\n";
    huge.resize(kMaxSettingsFileBytes + 1, 'x');
    EXPECT_EQ(load(huge, 1280), Settings{});
}

TEST_F(SettingsFileTest, RepairsAndScreenFittingFollowTheExamples) {
    EXPECT_EQ(load("2,9,5,7,3,200,1\r\n", 800), numbers(1, 0, 0, 1, 0, 5, 3));
    EXPECT_EQ(load("0,1,2,0,1,50,1\r\n", 1280), numbers(0, 1, 2, 0, 1, 50, 2));
    EXPECT_EQ(load("0,1,2,0,1,50,2\r\n", 640), numbers(0, 1, 2, 0, 1, 50, 0));
    EXPECT_EQ(load("1,0,0,1,0,5,2\r\n", 801), numbers(1, 0, 0, 1, 0, 5, 2));
    EXPECT_EQ(load("1,0,0,1,0,5,7\r\n", 1024), numbers(1, 0, 0, 1, 0, 5, 7));
    EXPECT_EQ(load("1,3,1,0,2,4,3\r\n", 800), numbers(1, 3, 1, 0, 2, 5, 3));
    EXPECT_EQ(load("1,0,0,1,0,101,0\r\n"), Settings{});
    EXPECT_EQ(load("1,0,0,1,0,100,0\r\n").practice_count, 100);
}

TEST_F(SettingsFileTest, FormattedReading) {
    EXPECT_EQ(load("1 0 0 1 0 5 0\n"), Settings{});
    EXPECT_EQ(load("0,1,2,0,1,50,3\nset\n"), load("0,1,2,0,1,50,3\r\nset\r\n"));
    EXPECT_EQ(load("\n  +0,\t-0 2\n\n1"), numbers(0, 0, 2, 1, 0, 5, 0));
    // A comma is taken only straight after a value; anywhere else it is not a number.
    EXPECT_EQ(load("0,1\n,2,1"), numbers(0, 1, 0, 1, 0, 5, 0, ",2,1"));
    EXPECT_EQ(load("1,0,x,1,0,5,0\r\n"), numbers(1, 0, 0, 1, 0, 5, 0, "x,1,0,5,0"));
    EXPECT_EQ(load("0,3,-y\n"), numbers(0, 3, 0, 1, 0, 5, 0, "y"));
    EXPECT_EQ(load("0,1,2,0,1,50,3\r\n\r\n   my set \t \r\nignored\r\n"),
              numbers(0, 1, 2, 0, 1, 50, 3, "my set"));
    EXPECT_EQ(load("0,1,2,0,1,50,3"), numbers(0, 1, 2, 0, 1, 50, 3));
    // A sign followed by a sign is not a number.
    EXPECT_EQ(load("1,0,0,1,0,5,+-2\n").keyboard_size, 0);
    EXPECT_EQ(load("1,0,0,1,0,5,-+2\n").keyboard_size, 0);
    EXPECT_EQ(load(""), Settings{});
    EXPECT_EQ(load("1,0,0,1,0,5,0\nab\0cd\n"s).problem_set_name, "ab");
}

TEST_F(SettingsFileTest, NameIsTheFirst97BytesOfItsLine) {
    const Bytes longName(120, 'n');
    EXPECT_EQ(load("1,0,0,1,0,5,0\r\n" + longName + "\r\n").problem_set_name, Bytes(97, 'n'));
    const Bytes japanese = utf8ToCp932("日本語の問題集");
    EXPECT_EQ(load("1,0,0,1,0,5,0\r\n" + japanese + "\r\n").problem_set_name, japanese);
}

TEST_F(SettingsFileTest, NumbersBeyond32BitsAreClampedThenRepaired) {
    // Wrapping modulo 2^32 would turn these into the valid 1 and 50.
    EXPECT_EQ(load("1,-4294967295,0,1,0,4294967346,0\r\n"), Settings{});
    EXPECT_EQ(load("1,0,0,1,0,5,99999999999999999999999999\r\n", 1280).keyboard_size, 2147483647);
    EXPECT_EQ(load("1,0,0,1,0,5,-2147483648\r\n", 1280).keyboard_size, -2147483647 - 1);
}

TEST_F(SettingsFileTest, AMegabyteLineNeverBreaksTheRecord) {
    const Bytes megabyte(1 << 20, 'z');
    EXPECT_EQ(load("1,0,0,1,0,5,0\r\n" + megabyte), numbers(1, 0, 0, 1, 0, 5, 0, Bytes(97, 'z')));
    EXPECT_EQ(load("0,2,1,0,2,60,3\r\nset\r\n" + megabyte, 1280),
              numbers(0, 2, 1, 0, 2, 60, 3, "set"));
    EXPECT_EQ(load(Bytes(1 << 20, ' ') + "0,2,1,0,2,60,3\nset").problem_set_name, "set");
}

TEST_F(SettingsFileTest, SaveWritesTheLineByteForByteAndKeepsTheName) {
    ASSERT_TRUE(SaveSettings(Settings{}, files, kDir));
    EXPECT_EQ(saved(), "1,0,0,1,0,5,0\r\n");

    const Settings chosen = numbers(0, 2, 1, 0, 2, 100, 3, utf8ToCp932("英単語 (2)"));
    ASSERT_TRUE(SaveSettings(chosen, files, kDir));
    EXPECT_EQ(saved(), "0,2,1,0,2,100,3\r\n" + chosen.problem_set_name + "\r\n");
    EXPECT_EQ(loadExisting(1280), chosen);

    // A name that came from a value that was not a number survives the round trip too.
    const Settings odd = load("1,0,x,1,0,5,0\r\n");
    ASSERT_TRUE(SaveSettings(odd, files, kDir));
    EXPECT_EQ(loadExisting(), odd);
}

}  // namespace
}  // namespace kestrum
