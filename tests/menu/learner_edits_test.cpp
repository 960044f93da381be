// What the learner does to the files by hand, outside the program: line 2 of kestruml.ini
// edited while the program runs, private permission bits, a settings file that is a link.
#include "history/score_file.h"
#include "menu/settings_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace kestrum {
namespace {

namespace fs = std::filesystem;

Bytes contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

unsigned mode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class LearnerEditsTest : public ::testing::Test {
protected:
    void write(const fs::path& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    QTemporaryDir temp;
    const fs::path dir = temp.path().toStdString();
    const fs::path ini = dir / "kestruml.ini";
    DiskFileSystem files;
};

TEST_F(LearnerEditsTest, TheCloseKeepsALine2EditedMeanwhileUnlessTheProgramChangedTheName) {
    struct Case {
        const char* atStart;                // kestruml.ini when the program starts
        std::optional<Bytes> programsName;  // a name the program itself chose, if any
        const char* atClose;                // the file as the learner left it; null: deleted
        const char* saved;
    };
    const Case cases[] = {
        {"1,0,0,1,0,5,0\r\nold\r\n",
         {},
         "1,0,0,1,0,5,0\r\nnew set\r\n",
         "1,0,0,1,0,8,0\r\nnew set\r\n"},
        {"1,0,0,1,0,5,0\r\n", {}, "1,0,0,1,0,5,0\nsample\n", "1,0,0,1,0,8,0\r\nsample\r\n"},
        {"1,0,0,1,0,5,0\r\nold\r\n", {}, "1,0,0,1,0,5,0\r\n", "1,0,0,1,0,8,0\r\n"},
        {"1,0,0,1,0,5,0\r\nold\r\n", {}, nullptr, "1,0,0,1,0,8,0\r\n"},
        {"1,0,0,1,0,5,0\r\nold\r\n", "mine", "1,0,0,1,0,5,0\r\nnew\r\n",
         "1,0,0,1,0,8,0\r\nmine\r\n"},
        {"1,0,0,1,0,5,0\r\nold\r\n", "", "1,0,0,1,0,5,0\r\nnew\r\n", "1,0,0,1,0,8,0\r\n"},
    };
    for (const Case& c : cases) {
        write(ini, c.atStart);
        Settings settings;
        LoadSettings(settings, files, dir, 1280);
        const Bytes nameAtLoad = settings.problem_set_name;
        settings.practice_count = 8;
        if (c.programsName) settings.problem_set_name = *c.programsName;
        if (c.atClose != nullptr)
            write(ini, c.atClose);
        else
            fs::remove(ini);

        EXPECT_TRUE(SaveSettingsAtClose(settings, nameAtLoad, files, dir));
        EXPECT_EQ(contents(ini), c.saved) << c.atStart << " / " << (c.atClose ? c.atClose : "gone");
    }
}

TEST_F(LearnerEditsTest, ReplacedFilesKeepTheirPermissionBits) {
    ScoreFile scores(files, dir);
    for (const unsigned bits : {0600u, 0640u, 0664u}) {
        write(dir / "score.dat", "");
        fs::permissions(dir / "score.dat", fs::perms(bits));
        write(ini, "1,0,0,1,0,5,0\r\n");
        fs::permissions(ini, fs::perms(bits));

        ScoreKey key = scoreKeyFor(0, "lesson1");
        EXPECT_EQ(scores.AppendScore(key).result, 1);
        EXPECT_EQ(mode(dir / "score.dat"), bits);
        EXPECT_EQ(scores.ClearScores(key).result, 1);
        EXPECT_EQ(mode(dir / "score.dat"), bits);
        EXPECT_TRUE(SaveSettings(Settings{}, files, dir));
        EXPECT_EQ(mode(ini), bits);
    }
}

TEST_F(LearnerEditsTest, ALinkedSettingsFileIsWrittenThroughTheLink) {
    const fs::path kept = dir / "kept" / "my.ini";
    fs::create_directories(kept.parent_path());
    write(kept, "1,0,0,1,0,5,0\r\nold\r\n");
    fs::permissions(kept, fs::perms(0600));
    fs::create_symlink("kept/my.ini", ini);

    Settings settings;
    settings.guide = 2;
    settings.problem_set_name = "set";
    EXPECT_TRUE(SaveSettings(settings, files, dir));

    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(contents(kept), "1,2,0,1,0,5,0\r\nset\r\n");
    EXPECT_EQ(mode(kept), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(kept.parent_path()), {}), 1);  // no scratch
}

}  // namespace
}  // namespace kestrum
