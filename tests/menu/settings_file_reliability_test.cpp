// The settings file is the only place the current problem set is named: a save that cannot
// finish must leave the old file whole.
#include "menu/settings_file.h"

#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace kestrum {
namespace {

using FileOp = FaultFileSystem::FileOp;

class SettingsFileReliabilityTest : public ::testing::Test {
protected:
    SettingsFileReliabilityTest() { EXPECT_TRUE(temp.isValid()); }

    Bytes onDisk() const {
        std::ifstream in(ini(), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path ini() const { return dir / kSettingsFileName; }
    std::filesystem::path scratch() const { return dir / kSettingsScratchName; }

    QTemporaryDir temp;
    const std::filesystem::path dir = temp.path().toStdString();
    FaultFileSystem files;
};

TEST_F(SettingsFileReliabilityTest, ASaveThatCannotFinishKeepsTheOldFileAndItsName) {
    const Bytes before = "0,2,1,0,2,60,3\r\nmy set\r\n";
    Settings changed;
    changed.problem_set_name = "my set";
    changed.guide = 1;

    const std::pair<const char*, std::function<void()>> faults[] = {
        {"disk full at once", [&] { files.diskFullAfter(0); }},
        {"disk full inside line 1", [&] { files.diskFullAfter(5); }},
        {"disk full before the name's line end", [&] { files.diskFullAfter(22); }},
        {"rename refused", [&] { files.fail(FileOp::Replace); }},
        {"power lost after the write", [&] { files.powerLossAfter(FileOp::WriteFile); }},
    };
    for (const auto& [fault, arm] : faults) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(files.writeFile(ini(), before));
        arm();
        EXPECT_FALSE(SaveSettings(changed, files, dir));
        files.restore();
        EXPECT_EQ(onDisk(), before);
        Settings loaded;
        LoadSettings(loaded, files, dir, 1280);
        EXPECT_EQ(loaded.problem_set_name, "my set");

        ASSERT_TRUE(SaveSettings(changed, files, dir));
        EXPECT_EQ(onDisk(), "1,1,0,1,0,5,0\r\nmy set\r\n");
        EXPECT_FALSE(std::filesystem::exists(scratch()));
    }
}

TEST_F(SettingsFileReliabilityTest, AStaleScratchLinkCannotRedirectTheSave) {
    QTemporaryDir elsewhere;
    const std::filesystem::path outside = elsewhere.path().toStdString() + "/notes.txt";
    std::ofstream(outside) << "keep me";
    std::filesystem::create_symlink(outside, scratch());
    ASSERT_TRUE(SaveSettings(Settings{}, files, dir));
    EXPECT_EQ(onDisk(), "1,0,0,1,0,5,0\r\n");
    std::ifstream notes(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "keep me");
}

TEST_F(SettingsFileReliabilityTest, ASaveOverADirectoryFailsAndLeavesIt) {
    std::filesystem::create_directory(ini());
    std::ofstream(ini() / "inside") << "x";
    EXPECT_FALSE(SaveSettings(Settings{}, files, dir));
    EXPECT_TRUE(std::filesystem::is_directory(ini()));
    EXPECT_TRUE(std::filesystem::exists(ini() / "inside"));
    EXPECT_FALSE(std::filesystem::exists(scratch()));
}

}  // namespace
}  // namespace kestrum
