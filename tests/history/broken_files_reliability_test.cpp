// Every file in tests/data/broken is checked against its line in outcomes.tsv: the readers of
// the settings, the problem sets and the history each meet the files people actually produce
// (other encodings, other line ends, cut-off copies, garbage) on the real disk. Then every reader
// meets the things that are not plain files at all.
#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "menu/problem_set_reader.h"
#include "menu/settings_file.h"
#include "platform/file_system.h"
#include "support/hostile_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace kestrum {
namespace {

const std::filesystem::path kBroken = std::filesystem::path(KESTRUM_TEST_DATA) / "broken";

struct BrokenFile {
    std::string file;
    std::string outcome;
};

// "\n" and "\xHH" in the table stand for the bytes they name.
std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<BrokenFile> table() {
    std::vector<BrokenFile> rows;
    std::ifstream in(kBroken / "outcomes.tsv");
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        rows.push_back({line.substr(0, tab), unescape(line.substr(tab + 1))});
    }
    return rows;
}

Bytes contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class BrokenFileTest : public ::testing::TestWithParam<BrokenFile> {
protected:
    testing::HistoryDir dir;
    DiskFileSystem disk;
    const Bytes content = contentOf(kBroken / GetParam().file);

    std::string settingsOutcome() {
        disk.writeFile(dir.path() / kSettingsFileName, content);
        Settings s;
        LoadSettings(s, disk, dir.path(), 1280);
        std::string numbers;
        for (const std::int32_t value : {s.distinct, s.guide, s.letter_type, s.distinct_shift,
                                         s.sound, s.practice_count, s.keyboard_size}) {
            numbers += (numbers.empty() ? "" : ",") + std::to_string(value);
        }
        return numbers + "|" + s.problem_set_name;
    }

    std::string problemSetOutcome() {
        std::filesystem::create_directory(dir.path() / "tdcs");
        disk.writeFile(dir.path() / "tdcs" / "broken.tdc", content);
        Settings settings;
        settings.problem_set_name = "broken";
        ProblemSet set;
        const ProblemSetLoad load = LoadProblemSet(set, disk, dir.path(), settings);
        if (load.ok) return "items=" + std::to_string(load.record.word_count);
        EXPECT_TRUE(load.record.words.empty());
        return load.messages.empty() ? "refused silently" : "refused=" + load.messages.back().text;
    }

    std::string historyOutcome() {
        dir.writeScore(content);
        ScoreFile scores(disk, dir.path());
        ScoreKey key = scoreKeyFor(0, "lesson1");
        key.speed = 200;
        key.accuracy = 97;
        const ScoreOutcome appended = scores.AppendScore(key);
        EXPECT_FALSE(dir.hasTemp());
        if (appended.result != 1) {
            EXPECT_EQ(dir.scoreBytes(), content);
            return appended.messages.empty() ? "refused silently"
                                             : "refused=" + appended.messages.back().text;
        }
        const ScoreReadOutcome read = scores.ReadScores(key);
        EXPECT_EQ(read.result, 1);
        const auto newest = static_cast<std::size_t>(std::max(read.count - 1, 0));
        EXPECT_EQ(read.speeds[newest], 200);
        EXPECT_EQ(read.accuracies[newest], 97);
        return "appended=" + std::to_string(read.count);
    }
};

TEST_P(BrokenFileTest, HasItsTabledOutcome) {
    const std::string extension = std::filesystem::path(GetParam().file).extension().string();
    std::string outcome;
    if (extension == ".ini") {
        outcome = settingsOutcome();
    } else if (extension == ".tdc") {
        outcome = problemSetOutcome();
    } else if (extension == ".dat") {
        outcome = historyOutcome();
    } else {
        FAIL() << "no reader for " << GetParam().file;
    }
    EXPECT_EQ(outcome, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Table, BrokenFileTest, ::testing::ValuesIn(table()),
                         [](const ::testing::TestParamInfo<BrokenFile>& info) {
                             std::string name = info.param.file;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(BrokenFiles, EveryFileInTheFolderHasOneLineInTheTable) {
    std::multiset<std::string> tabled;
    for (const BrokenFile& row : table())
        tabled.insert(row.file);
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(kBroken)) {
        if (entry.path().filename() != "outcomes.tsv") present.insert(entry.path().filename());
    }
    EXPECT_GE(present.size(), 14u);
    EXPECT_EQ(std::set<std::string>(tabled.begin(), tabled.end()), present);
    EXPECT_EQ(tabled.size(), present.size()) << "a file is tabled twice";
}

// In the place of each file: something that is not a plain file of ours. No reader hangs or
// floods memory; the settings fall back to the defaults, the problem set is refused, the history
// reports it cannot open the file and leaves it as it is, and starts afresh once it is gone.
TEST(HostileFiles, NoReaderHangsAndNoneChangesWhatItFound) {
    testing::HistoryDir dir;
    DiskFileSystem disk;
    std::filesystem::create_directory(dir.path() / "tdcs");
    const std::filesystem::path ini = dir.path() / kSettingsFileName;
    const std::filesystem::path tdc = dir.path() / "tdcs" / "set.tdc";
    const Messages tooLarge{infoMessage("ファイルが大きすぎます")};
    const Messages missing{infoMessage("ファイルが存在しません"), infoMessage(tdc.string())};
    const Messages cantOpen{plainMessage("Can't open file.")};
    const std::filesystem::path gone = dir.path() / "gone";
    const std::tuple<const char*, std::function<void(const std::filesystem::path&)>, Messages>
        impostors[] = {
            {"a directory", [](const auto& p) { std::filesystem::create_directory(p); }, missing},
            {"a dangling link", [&](const auto& p) { std::filesystem::create_symlink(gone, p); },
             missing},
            {"a named pipe", [](const auto& p) { testing::makeFifo(p); }, missing},
            {"a link to /dev/zero",
             [](const auto& p) { std::filesystem::create_symlink("/dev/zero", p); }, tooLarge},
            {"a link to /dev/urandom",
             [](const auto& p) { std::filesystem::create_symlink("/dev/urandom", p); }, tooLarge},
            {"a sparse file of 4 GiB", [](const auto& p) { testing::makeSparse(p, 4ull << 30); },
             tooLarge},
        };
    ScoreKey attempt = scoreKeyFor(0, "lesson1");
    attempt.speed = 150;
    attempt.accuracy = 99;
    for (const auto& [what, make, problemSetMessages] : impostors) {
        SCOPED_TRACE(what);
        for (const auto& path : {ini, tdc, dir.score()}) {
            std::filesystem::remove(path);
            make(path);
        }
        testing::FifoHangGuard iniGuard(ini);
        testing::FifoHangGuard tdcGuard(tdc);
        testing::FifoHangGuard scoreGuard(dir.score());
        const auto status = std::filesystem::symlink_status(dir.score()).type();

        Settings settings;
        settings.keyboard_size = 3;
        LoadSettings(settings, disk, dir.path(), 1280);
        EXPECT_EQ(settings, Settings{});
        settings.problem_set_name = "set";
        ProblemSet set;
        const ProblemSetLoad load = LoadProblemSet(set, disk, dir.path(), settings);
        EXPECT_FALSE(load.ok);
        EXPECT_EQ(load.messages, problemSetMessages);
        ScoreFile scores(disk, dir.path());
        EXPECT_EQ(scores.AppendScore(attempt).messages, cantOpen);
        EXPECT_EQ(scores.ReadScores(attempt).messages, cantOpen);
        EXPECT_EQ(scores.ClearScores(attempt).messages, cantOpen);
        EXPECT_FALSE(iniGuard.stop() || tdcGuard.stop() || scoreGuard.stop()) << "a read hung";
        EXPECT_EQ(std::filesystem::symlink_status(dir.score()).type(), status);
        EXPECT_FALSE(std::filesystem::exists(gone));
        EXPECT_FALSE(dir.hasTemp());

        std::filesystem::remove(dir.score());
        EXPECT_EQ(scores.AppendScore(attempt).result, 1);
        EXPECT_EQ(scores.ReadScores(attempt).count, 1);
    }
}

}  // namespace
}  // namespace kestrum
