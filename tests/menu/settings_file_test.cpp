// kestruml.ini as the program saves it and as the learner edits it by hand, and the program's own
// options file. Loading is in reader_cases.tsv, what the disk does to a save in safe_writes_test.
#include "menu/settings_file.h"

#include "history/history_test_dir.h"
#include "keyboard/options_logic.h"
#include "menu/own_options_file.h"
#include "support/memory_file_system.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;

void write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Through a link to a file elsewhere the link stays and its target takes the line, keeping its
// mode; a directory in the file's place stays, and the save says it failed.
TEST(SettingsSave, WritesTheLineByteForByte) {
    testing::HistoryDir dir;
    DiskFileSystem files;
    const fs::path ini = dir.path() / kSettingsFileName;
    ASSERT_TRUE(SaveSettings(Settings{}, files, dir.path()));
    EXPECT_EQ(fileBytes(ini), "1,0,0,1,0,5,0\r\n");
    const Settings chosen{0, 2, 1, 0, 2, 100, 3, utf8ToCp932("英単語 (2)")};
    ASSERT_TRUE(SaveSettings(chosen, files, dir.path()));
    const Bytes line = "0,2,1,0,2,100,3\r\n" + chosen.problem_set_name + "\r\n";
    EXPECT_EQ(fileBytes(ini), line);  // which loads as reader_cases.tsv shows

    const fs::path kept = dir.path() / "kept" / "my.ini";
    fs::create_directories(kept.parent_path());
    write(kept, "old\r\n");
    fs::permissions(kept, fs::perms(0640));
    fs::remove(ini);
    fs::create_symlink("kept/my.ini", ini);
    ASSERT_TRUE(SaveSettings(chosen, files, dir.path()));
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(fileBytes(kept), line);
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(kept.parent_path()), {}), 1);

    fs::remove(ini);
    fs::create_directories(ini / "inside");
    EXPECT_FALSE(SaveSettings(Settings{}, files, dir.path()));
    EXPECT_TRUE(fs::exists(ini / "inside"));
    EXPECT_FALSE(fs::exists(dir.path() / kSettingsScratchName));
}

// The program loads line 2, may choose a name itself, and closes after the learner edited line 2
// (rows of tests/data/learner_edits.tsv); the practice count is the program's.
TEST(LearnerEdits, TheCloseKeepsALine2EditedMeanwhileUnlessTheProgramChangedTheName) {
    const auto file = [](const char* line1, const Bytes& line2) {
        return line1 + (line2.empty() ? "" : line2 + "\r\n");
    };
    testing::HistoryDir dir;
    const fs::path ini = dir.path() / kSettingsFileName;
    DiskFileSystem files;
    for (const auto& row : testing::tableRows("learner_edits.tsv")) {
        write(ini, file("1,0,0,1,0,5,0\r\n", row[0]));
        Settings settings;
        LoadSettings(settings, files, dir.path(), 1280);
        const Bytes nameAtLoad = settings.problem_set_name;
        settings.practice_count = 8;
        if (row.at(1) != "keeps") settings.problem_set_name = row[1];
        row.at(2) == "(deleted)" ? void(fs::remove(ini))
                                 : write(ini, file("1,0,0,1,0,5,0\n", row[2]));
        EXPECT_TRUE(SaveSettingsAtClose(settings, nameAtLoad, files, dir.path()));
        EXPECT_EQ(fileBytes(ini), file("1,0,0,1,0,8,0\r\n", row.at(3))) << row[0] << " " << row[2];
    }
}

// The romaji option: the options dialog's check box, kept in the program's own file beside
// kestruml.ini, which stays exactly as it was. How its lines load are rows of reader_cases.tsv.
TEST(RomajiOption, OffByDefaultAndKeptInTheProgramsOwnFile) {
    Settings settings;
    for (const bool on : {true, false}) {
        OptionsControls controls = OptionsLogic::FormShow(settings, 1280);
        EXPECT_EQ(controls.chk_romaji_spellings, !on);  // off at first, then as set below
        controls.chk_romaji_spellings = on;
        OptionsLogic::BitBtn1Click(controls, settings);
        MemoryFileSystem files;
        ASSERT_TRUE(SaveSettings(settings, files, "/d") && SaveOwnOptions(settings, files, "/d"));
        EXPECT_EQ(files.files["/d/kestruml.ini"], "1,0,0,1,0,5,0\r\n");
        EXPECT_EQ(files.files["/d/options.ini"], "romaji_spellings=" + std::to_string(on) + "\r\n");
    }
}

}  // namespace
}  // namespace kestrum
