// What the learner does to the files by hand, outside the program: line 2 of kestruml.ini
// edited while the program runs, private permission bits, a settings file that is a link.
#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "menu/settings_file.h"

#include <gtest/gtest.h>

#include <optional>

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;

void write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The program loads line 2 `atStart`, may choose a name itself, and closes after the learner left
// line 2 as `atClose` (null: deleted the file); the practice count is the program's.
TEST(LearnerEdits, TheCloseKeepsALine2EditedMeanwhileUnlessTheProgramChangedTheName) {
    struct Case {
        const char* atStart;
        std::optional<Bytes> programsName;
        const char* atClose;
        const char* saved;
    };
    const Case cases[] = {
        {"old", {}, "new set", "new set"}, {"", {}, "sample", "sample"},   {"old", {}, "", ""},
        {"old", {}, nullptr, ""},          {"old", "mine", "new", "mine"}, {"old", "", "new", ""}};
    const auto file = [](const char* line1, const Bytes& line2) {
        return line1 + (line2.empty() ? "" : line2 + "\r\n");
    };
    testing::HistoryDir dir;
    const fs::path ini = dir.path() / "kestruml.ini";
    DiskFileSystem files;
    for (const Case& c : cases) {
        write(ini, file("1,0,0,1,0,5,0\r\n", c.atStart));
        Settings settings;
        LoadSettings(settings, files, dir.path(), 1280);
        const Bytes nameAtLoad = settings.problem_set_name;
        settings.practice_count = 8;
        if (c.programsName) settings.problem_set_name = *c.programsName;
        c.atClose ? write(ini, file("1,0,0,1,0,5,0\n", c.atClose)) : void(fs::remove(ini));
        EXPECT_TRUE(SaveSettingsAtClose(settings, nameAtLoad, files, dir.path()));
        EXPECT_EQ(fileBytes(ini), file("1,0,0,1,0,8,0\r\n", c.saved))
            << c.atStart << " " << c.saved;
    }
}

// A replaced file keeps its permission bits, and a settings file that is a link is written
// through the link, leaving no scratch file beside its target.
TEST(LearnerEdits, ReplacedFilesKeepTheirModeAndLinks) {
    testing::HistoryDir dir;
    DiskFileSystem files;
    ScoreFile scores(files, dir.path());
    write(dir.score(), "");
    fs::permissions(dir.score(), fs::perms(0600));
    const ScoreKey key = scoreKeyFor(0, "lesson1");
    EXPECT_EQ(scores.AppendScore(key).result, 1);
    EXPECT_EQ(fs::status(dir.score()).permissions(), fs::perms(0600));
    EXPECT_EQ(scores.ClearScores(key).result, 1);
    EXPECT_EQ(fs::status(dir.score()).permissions(), fs::perms(0600));

    const fs::path kept = dir.path() / "kept" / "my.ini";
    fs::create_directories(kept.parent_path());
    write(kept, "1,0,0,1,0,5,0\r\nold\r\n");
    fs::permissions(kept, fs::perms(0640));
    fs::create_symlink("kept/my.ini", dir.path() / "kestruml.ini");
    Settings settings;
    settings.guide = 2;
    settings.problem_set_name = "set";
    EXPECT_TRUE(SaveSettings(settings, files, dir.path()));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "kestruml.ini"));
    EXPECT_EQ(fileBytes(kept), "1,2,0,1,0,5,0\r\nset\r\n");
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(kept.parent_path()), {}), 1);
}

}  // namespace
}  // namespace kestrum
