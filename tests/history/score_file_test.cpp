// The history's byte layout, and what other programs do to it, one at a time or at once (faults
// are in tests/platform/safe_writes_test.cpp, cut files in tests/data/reader_cases.tsv).
#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace kestrum {
namespace {

using testing::attemptOf;
using testing::entryBytes;
using testing::HistoryDir;
using testing::numberedAttempts;

class ScoreFileTest : public ::testing::Test {
protected:
    HistoryDir dir;
    DiskFileSystem files;
    ScoreFile scores{files, dir.path()};

    std::vector<testing::Attempt> attempts(const ScoreKey& key) {
        const ScoreReadOutcome read = scores.ReadScores(key);
        EXPECT_EQ(read.result, 1);
        std::vector<testing::Attempt> out;
        for (int i = 0; i < read.count; ++i)
            out.push_back({read.speeds[i], read.accuracies[i]});
        return out;
    }
};

TEST_F(ScoreFileTest, AttemptsAccumulateInTheDocumentedLayoutUpToAHundred) {
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).result, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.score()));
    EXPECT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 300, 95)).result, 1);
    EXPECT_EQ(dir.scoreBytes(), Bytes("\x00\x07lesson1\x01\x01\x2C\x5F", 13));
    scores.AppendScore(attemptOf(0, "lesson1", 300 + 65536, 256 + 7));  // kept modulo a byte pair
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", {{300, 95}, {300, 7}}));
    EXPECT_EQ(attempts(scoreKeyFor(0, "lesson1")),
              (std::vector<testing::Attempt>{{300, 95}, {300, 7}}));
    // A name is stored with its length in one byte: 255 at most.
    dir.writeScore("");
    ASSERT_EQ(scores.AppendScore(attemptOf(1, Bytes(255, 'n'), 80, 85)).result, 1);
    const ScoreKey tooLong = attemptOf(1, Bytes(256, 'n'), 80, 85);
    EXPECT_EQ(scores.AppendScore(tooLong).result + scores.ClearScores(tooLong).result, 0);
    EXPECT_EQ(dir.scoreBytes(), entryBytes(1, Bytes(255, 'n'), {{80, 85}}));
    const Bytes after = entryBytes(0, "lesson2", {{1, 1}});
    dir.writeScore(entryBytes(0, "lesson1", numberedAttempts(0, 150)) + after);
    EXPECT_EQ(attempts(scoreKeyFor(0, "lesson1")), numberedAttempts(50, 100));
    ASSERT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 7, 8)).result, 1);
    std::vector<testing::Attempt> expected = numberedAttempts(51, 99);
    expected.push_back({7, 8});
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", expected) + after);
}

TEST_F(ScoreFileTest, AChangeTouchesOnlyTheFirstEntryOfItsKindAndExactName) {
    const Bytes a = entryBytes(0, "lesson1", {{120, 90}});
    const Bytes c = entryBytes(1, "\x93\xfa\x96\x7b", {{50, 70}, {60, 80}});  // a Japanese set name
    const Bytes twin = entryBytes(0, "lesson2", {{7, 7}});
    dir.writeScore(a + entryBytes(0, "lesson2", {{100, 99}, {101, 98}}) + c + twin);

    EXPECT_EQ(scores.ClearScores(scoreKeyFor(0, "lesson2")).result, 1);
    EXPECT_EQ(dir.scoreBytes(), a + entryBytes(0, "lesson2", {}) + c + twin);
    EXPECT_TRUE(attempts(scoreKeyFor(0, "lesson2")).empty());
    scores.AppendScore(attemptOf(0, "lesson2", 130, 97));
    for (const char* other : {"Lesson2", "lesson22", "lesson"})
        scores.AppendScore(attemptOf(0, other, 1, 2));
    scores.AppendScore(attemptOf(1, "lesson2", 3, 4));
    EXPECT_EQ(dir.scoreBytes(),
              a + entryBytes(0, "lesson2", {{130, 97}}) + c + twin +
                  entryBytes(0, "Lesson2", {{1, 2}}) + entryBytes(0, "lesson22", {{1, 2}}) +
                  entryBytes(0, "lesson", {{1, 2}}) + entryBytes(1, "lesson2", {{3, 4}}));
    EXPECT_EQ(scores.ClearScores(scoreKeyFor(0, "lesson5")).result, 0);
}

// A history linked from elsewhere is read through the link and replaced beside it.
TEST_F(ScoreFileTest, AHistoryLinkedFromElsewhereIsReplacedBesideTheLink) {
    const Bytes before = entryBytes(0, "lesson1", {{120, 90}, {130, 95}});
    HistoryDir elsewhere;
    elsewhere.writeScore(before);
    std::filesystem::create_symlink(elsewhere.score(), dir.score());
    ASSERT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 150, 99)).result, 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.score())));
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", {{120, 90}, {130, 95}, {150, 99}}));
    EXPECT_EQ(elsewhere.scoreBytes(), before);
}

// Two programs on one folder change the history at once, each pausing at random (up to half a
// millisecond) before every step: no attempt reported recorded is lost, no read sees half a file.
FaultFileSystem& jittery(FaultFileSystem& disk) {
    disk.beforeEachCall = [random = std::minstd_rand{std::random_device{}()}]() mutable {
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
    };
    return disk;
}

TEST(ConcurrentWriters, EveryReportedAttemptIsKeptAndReadersSeeWholeFiles) {
    constexpr int kWriters = 2;
    constexpr int kRounds = 45;  // 90 in all, so no attempt may drop off the front
    const ScoreKey shared = scoreKeyFor(1, "shared");
    testing::HistoryDir dir;
    std::vector<std::vector<int>> recorded(kWriters);
    std::atomic<bool> writing = true;
    std::atomic<int> brokenReads = 0;
    std::thread reader([&] {
        FaultFileSystem disk;
        ScoreFile scores(jittery(disk), dir.path());
        while (writing)
            brokenReads += scores.ReadScores(shared).messages.empty() ? 0 : 1;
    });
    for (std::vector<std::jthread> writers; writers.size() < kWriters;) {
        const int w = static_cast<int>(writers.size());
        writers.emplace_back([&, w] {
            FaultFileSystem disk;
            ScoreFile scores(jittery(disk), dir.path());
            for (int round = 0; round < kRounds; ++round) {
                ScoreKey key = shared;
                key.speed = 1000 * (w + 1) + round;
                if (scores.AppendScore(key).result == 1) recorded[w].push_back(key.speed);
            }
        });
    }  // the writers are joined here
    writing = false;
    reader.join();

    EXPECT_EQ(brokenReads, 0);
    // Every attempt each writer made, in its order, among the other writer's.
    DiskFileSystem disk;
    const ScoreReadOutcome read = ScoreFile(disk, dir.path()).ReadScores(shared);
    std::vector<std::vector<int>> kept(kWriters);
    for (int i = 0; i < read.count; ++i)
        kept.at(static_cast<std::size_t>(read.speeds[i] / 1000 - 1)).push_back(read.speeds[i]);
    EXPECT_EQ(read.count, kWriters * kRounds);
    EXPECT_EQ(kept, recorded);
    EXPECT_FALSE(dir.hasTemp());
}

}  // namespace
}  // namespace kestrum
