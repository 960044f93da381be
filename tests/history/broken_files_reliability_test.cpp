// Every file in tests/data/broken against its line in outcomes.tsv: the readers of the settings,
// the problem sets and the history meet the files people actually produce. Then every reader
// meets things that are not plain files at all.
#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "menu/problem_set_reader.h"
#include "menu/settings_file.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::attemptOf;
const std::filesystem::path kBroken = std::filesystem::path(KESTRUM_TEST_DATA) / "broken";

// Each row: the file name, then its outcome with "\n" and "\xHH" standing for those bytes.
std::vector<std::pair<std::string, std::string>> table() {
    std::vector<std::pair<std::string, std::string>> rows;
    std::ifstream in(kBroken / "outcomes.tsv");
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        std::string outcome;
        for (std::size_t i = tab + 1; i < line.size(); ++i) {
            if (line.compare(i, 2, "\\n") == 0) {
                outcome += '\n';
                ++i;
            } else if (line.compare(i, 2, "\\x") == 0) {
                outcome += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                outcome += line[i];
            }
        }
        rows.emplace_back(line.substr(0, tab), outcome);
    }
    return rows;
}

std::string outcomeOf(const std::string& file) {
    const Bytes content = testing::fileBytes(kBroken / file);
    testing::HistoryDir dir;
    DiskFileSystem disk;
    const std::string extension = std::filesystem::path(file).extension();
    if (extension == ".ini") {
        disk.writeFile(dir.path() / kSettingsFileName, content);
        Settings s;
        LoadSettings(s, disk, dir.path(), 1280);
        std::string out;
        for (const std::int32_t value : {s.distinct, s.guide, s.letter_type, s.distinct_shift,
                                         s.sound, s.practice_count, s.keyboard_size})
            out += (out.empty() ? "" : ",") + std::to_string(value);
        return out + "|" + s.problem_set_name;
    }
    if (extension == ".tdc") {
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
    dir.writeScore(content);
    ScoreFile scores(disk, dir.path());
    const ScoreOutcome appended = scores.AppendScore(attemptOf(0, "lesson1", 200, 97));
    EXPECT_FALSE(dir.hasTemp());
    if (appended.result != 1) {
        EXPECT_EQ(dir.scoreBytes(), content);
        return appended.messages.empty() ? "refused silently"
                                         : "refused=" + appended.messages.back().text;
    }
    const ScoreReadOutcome read = scores.ReadScores(scoreKeyFor(0, "lesson1"));
    const int newest = std::max(read.count, 1) - 1;
    EXPECT_EQ(read.speeds[newest], 200);
    EXPECT_EQ(read.accuracies[newest], 97);
    return "appended=" + std::to_string(read.count);
}

// The folder and the table stay in step: one line per file, no line without its file.
TEST(BrokenFiles, EachHasItsTabledOutcome) {
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(kBroken))
        present.insert(entry.path().filename());
    present.erase("outcomes.tsv");
    EXPECT_GE(present.size(), 14u);
    for (const auto& [file, outcome] : table()) {
        EXPECT_EQ(present.erase(file), 1u) << file << " is not in the folder or tabled twice";
        EXPECT_EQ(outcomeOf(file), outcome) << file;
    }
    EXPECT_TRUE(present.empty()) << *present.begin() << " has no line";
}

// In the place of each file: something that is not a plain file of ours. No reader hangs (the
// alarm ends a test that does) or floods memory; the settings fall back to the defaults, the
// problem set is refused, the history says it cannot open the file and leaves it as it is, and
// starts afresh once it is gone.
TEST(HostileFiles, NoReaderHangsAndNoneChangesWhatItFound) {
    testing::HistoryDir dir;
    DiskFileSystem disk;
    std::filesystem::create_directory(dir.path() / "tdcs");
    const std::filesystem::path tdc = dir.path() / "tdcs" / "set.tdc";
    const Messages tooLarge{infoMessage("ファイルが大きすぎます")};
    const Messages missing{infoMessage("ファイルが存在しません"), infoMessage(tdc.string())};
    const std::filesystem::path gone = dir.path() / "gone";
    using Make = std::function<void(const std::filesystem::path&)>;
    const std::pair<Make, Messages> impostors[] = {
        {[](const auto& p) { std::filesystem::create_directory(p); }, missing},
        {[&](const auto& p) { std::filesystem::create_symlink(gone, p); }, missing},
        {[](const auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, missing},
        {[](const auto& p) { std::filesystem::create_symlink("/dev/zero", p); }, tooLarge},
        {[](const auto& p) { std::filesystem::create_symlink("/dev/urandom", p); }, tooLarge},
        {[](const auto& p) {
             std::ofstream(p) << "Amount=1\n";
             std::filesystem::resize_file(p, 4ull << 30);  // sparse: no disk space taken
         },
         tooLarge},
    };
    const ScoreKey attempt = attemptOf(0, "lesson1", 150, 99);
    for (const auto& impostor : impostors) {
        SCOPED_TRACE(&impostor - impostors);
        const auto& [make, problemSetMessages] = impostor;
        for (const auto& path : {dir.path() / kSettingsFileName, tdc, dir.score()}) {
            std::filesystem::remove(path);
            make(path);
        }
        const auto status = std::filesystem::symlink_status(dir.score()).type();
        ::alarm(20);
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
        const Messages cantOpen{plainMessage("Can't open file.")};
        EXPECT_EQ(
            std::tuple(scores.AppendScore(attempt).messages, scores.ReadScores(attempt).messages,
                       scores.ClearScores(attempt).messages),
            std::tuple(cantOpen, cantOpen, cantOpen));
        ::alarm(0);
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
