// Two writers of one history (two programs on one folder, or an older copy) change it at the
// same time, each pausing at random inside its read-change-replace: no attempt that was
// reported recorded may be lost, and a reader never sees anything but a whole history.
#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace kestrum {
namespace {

// The real disk, with a random pause of up to half a millisecond before every step.
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
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            FaultFileSystem disk;
            ScoreFile scores(jittery(disk), dir.path());
            for (int round = 0; round < kRounds; ++round) {
                ScoreKey key = shared;
                key.speed = 1000 * (w + 1) + round;
                if (scores.AppendScore(key).result == 1) recorded[w].push_back(key.speed);
            }
        });
    }
    std::thread reader([&] {
        FaultFileSystem disk;
        ScoreFile scores(jittery(disk), dir.path());
        while (writing)
            brokenReads += scores.ReadScores(shared).messages.empty() ? 0 : 1;
    });
    for (std::thread& writer : writers)
        writer.join();
    writing = false;
    reader.join();

    EXPECT_EQ(brokenReads, 0);
    // Every attempt each writer made, in its order, among the other writer's.
    DiskFileSystem disk;
    const ScoreReadOutcome read = ScoreFile(disk, dir.path()).ReadScores(shared);
    std::vector<std::vector<int>> kept(kWriters);
    for (int i = 0; i < read.count; ++i)
        kept.at(static_cast<std::size_t>(read.speeds[i] / 1000 - 1)).push_back(read.speeds[i]);
    for (int w = 0; w < kWriters; ++w)
        EXPECT_EQ(recorded[w].size(), static_cast<std::size_t>(kRounds)) << "writer " << w;
    EXPECT_EQ(kept, recorded);
    EXPECT_FALSE(dir.hasTemp());
}

}  // namespace
}  // namespace kestrum
