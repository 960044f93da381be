// One table of inputs for every reader (tests/data/reader_cases.tsv): the edges of each rule and
// the files people actually produce. Then every reader meets things that are not plain files.
#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "menu/own_options_file.h"
#include "menu/problem_set_reader.h"
#include "menu/settings_file.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::attemptOf;
const fs::path kData = KESTRUM_TEST_DATA;

std::string joined(const std::vector<Bytes>& parts, bool asUtf8) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : "|") + (asUtf8 ? cp932ToUtf8(parts[i]) : parts[i]);
    return out;
}

// What `reader` ("ini@<screen width>", "tdc" or "dat") makes of a file holding `content`.
std::string outcomeOf(const std::string& reader, const Bytes& content) {
    testing::HistoryDir dir;
    DiskFileSystem disk;
    if (reader.starts_with("ini@")) {
        disk.writeFile(dir.path() / kSettingsFileName, content);
        Settings s;
        s.guide = 3;  // the loader must start from the defaults, not from these
        s.problem_set_name = "stale";
        LoadSettings(s, disk, dir.path(), std::stoi(reader.substr(4)));
        std::string out;
        for (const std::int32_t value : {s.distinct, s.guide, s.letter_type, s.distinct_shift,
                                         s.sound, s.practice_count, s.keyboard_size})
            out += (out.empty() ? "" : ",") + std::to_string(value);
        return out + "|" + s.problem_set_name;
    }
    if (reader == "options") {
        disk.writeFile(dir.path() / "options.ini", content);
        Settings s;
        LoadOwnOptions(s, disk, dir.path());
        return "romaji_spellings=" + std::to_string(s.romaji_spellings);
    }
    if (reader == "tdc") {
        fs::create_directory(dir.path() / "tdcs");
        disk.writeFile(dir.path() / "tdcs" / "t.tdc", content);
        Settings settings;
        settings.problem_set_name = "t";
        ProblemSet set;
        const ProblemSetLoad load = LoadProblemSet(set, disk, dir.path(), settings);
        if (!load.ok) {
            EXPECT_TRUE(load.record.words.empty());
            return load.messages.empty() ? "refused silently"
                                         : "refused=" + load.messages.back().text;
        }
        std::string out = "items=" + joined(load.record.words, false);
        const auto& comments = load.record.comments;
        if (std::any_of(comments.begin(), comments.end(), [](auto& c) { return !c.empty(); }))
            out += " comments=" + joined(comments, true);
        if (!load.messages.empty())
            out +=
                " notes=" + std::to_string(load.messages.size()) + "×" + load.messages.back().text;
        return out;
    }
    dir.writeScore(content);
    ScoreFile scores(disk, dir.path());
    const ScoreKey attempt = attemptOf(0, "lesson1", 200, 97);
    const ScoreOutcome appended = scores.AppendScore(attempt);
    EXPECT_FALSE(dir.hasTemp());
    if (appended.result != 1) {
        EXPECT_EQ(scores.ReadScores(attempt).messages, appended.messages);
        EXPECT_EQ(scores.ClearScores(attempt).messages, appended.messages);
        EXPECT_EQ(dir.scoreBytes(), content);
        return appended.messages.empty() ? "refused silently"
                                         : "refused=" + appended.messages.back().text;
    }
    const ScoreReadOutcome read = scores.ReadScores(scoreKeyFor(0, "lesson1"));
    EXPECT_EQ(std::pair(read.speeds[read.count - 1], read.accuracies[read.count - 1]),
              std::pair(200, 97));
    return "appended=" + std::to_string(read.count);
}

// A row's input may be a file of tests/data, named after an @.
TEST(ReaderCases, EachInputHasItsTabledOutcome) {
    for (const auto& row : testing::tableRows("reader_cases.tsv")) {
        ASSERT_EQ(row.size(), 3u) << row[0];
        const bool named = row[1].starts_with('@');
        const Bytes input = named ? testing::fileBytes(kData / row[1].substr(1)) : row[1];
        EXPECT_FALSE(named && input.empty()) << row[1];
        EXPECT_EQ(outcomeOf(row[0], input), row[2]) << row[1];
    }
}

// No reader hangs (the alarm ends a test that does) or floods memory: the settings fall back to
// the defaults, the problem set is refused, the history cannot open the file, leaves it as it is
// and starts afresh once it is gone.
TEST(HostileFiles, NoReaderHangsAndNoneChangesWhatItFound) {
    testing::HistoryDir dir;
    DiskFileSystem disk;
    ProblemSet set;
    Settings named{.problem_set_name = "set"};
    std::ofstream(dir.path() / "tdcs") << "Amount=1\nText[1]=abc\n";  // a file, not a folder
    EXPECT_EQ(LoadProblemSet(set, disk, dir.path(), named).messages.front(),
              infoMessage("ファイルが存在しません"));
    fs::remove(dir.path() / "tdcs");
    fs::create_directory(dir.path() / "tdcs");
    const fs::path tdc = dir.path() / "tdcs" / "set.tdc";
    const Messages tooLarge{infoMessage("ファイルが大きすぎます")};
    const Messages missing{infoMessage("ファイルが存在しません"), infoMessage(tdc.string())};
    const fs::path gone = dir.path() / "gone";
    using Make = std::function<void(const fs::path&)>;
    const std::pair<Make, Messages> impostors[] = {
        {[](const auto& p) { fs::create_directory(p); }, missing},
        {[&](const auto& p) { fs::create_symlink(gone, p); }, missing},
        {[](const auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, missing},
        {[](const auto& p) { fs::create_symlink("/dev/zero", p); }, tooLarge},
        {[](const auto& p) { fs::create_symlink("/dev/urandom", p); }, tooLarge},
        {[](const auto& p) {
             std::ofstream(p) << "Amount=1\n";
             fs::resize_file(p, 4ull << 30);  // sparse: no disk space taken
         },
         tooLarge},
    };
    const ScoreKey attempt = attemptOf(0, "lesson1", 150, 99);
    for (const auto& impostor : impostors) {
        SCOPED_TRACE(&impostor - impostors);
        const auto& [make, problemSetMessages] = impostor;
        for (const auto& path : {dir.path() / kSettingsFileName, tdc, dir.score()}) {
            fs::remove(path);
            make(path);
        }
        const auto status = fs::symlink_status(dir.score()).type();
        ::alarm(20);
        Settings settings;
        LoadSettings(settings, disk, dir.path(), 1280);
        EXPECT_EQ(settings, Settings{});
        const ProblemSetLoad load = LoadProblemSet(set, disk, dir.path(), named);
        EXPECT_EQ(std::pair(load.ok, load.messages), std::pair(false, problemSetMessages));
        ScoreFile scores(disk, dir.path());
        const Messages cantOpen{plainMessage("Can't open file.")};
        EXPECT_EQ(
            std::tuple(scores.AppendScore(attempt).messages, scores.ReadScores(attempt).messages,
                       scores.ClearScores(attempt).messages),
            std::tuple(cantOpen, cantOpen, cantOpen));
        ::alarm(0);
        EXPECT_EQ(fs::symlink_status(dir.score()).type(), status);
        EXPECT_FALSE(fs::exists(gone));
        EXPECT_FALSE(dir.hasTemp());

        fs::remove(dir.score());
        EXPECT_EQ(scores.AppendScore(attempt).result, 1);
        EXPECT_EQ(scores.ReadScores(attempt).count, 1);
    }
}

}  // namespace
}  // namespace kestrum
