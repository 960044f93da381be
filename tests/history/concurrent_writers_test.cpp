// Two writers of one history (two programs on one folder, or an older copy) change it at the
// same time, each pausing at random inside its read-change-replace: no attempt that was
// reported recorded may be lost, and a reader never sees anything but a whole history.
#include "history/score_file.h"

#include "history_test_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace kestrum {
namespace {

// The real disk, with a random pause of up to half a millisecond before every step.
class JitteryDisk final : public FileSystem {
public:
    using Path = std::filesystem::path;
    ReadResult readFile(const Path& p, std::size_t max) override { return disk().readFile(p, max); }
    std::optional<Bytes> readOrCreate(const Path& p, std::size_t max) override {
        return disk().readOrCreate(p, max);
    }
    bool writeFile(const Path& p, std::string_view b) override { return disk().writeFile(p, b); }
    bool replace(const Path& from, const Path& to) override { return disk().replace(from, to); }
    bool remove(const Path& p) override { return disk().remove(p); }
    std::unique_ptr<Lock> lockExclusive(const Path& p) override { return disk().lockExclusive(p); }

private:
    DiskFileSystem& disk() {
        thread_local std::minstd_rand random(std::random_device{}());
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
        return disk_;
    }
    DiskFileSystem disk_;
};

TEST(ConcurrentWriters, EveryReportedAttemptIsKeptAndReadersSeeWholeFiles) {
    constexpr int kWriters = 2;
    constexpr int kRounds = 80;  // below 100, so no attempt may drop off the front
    testing::HistoryDir dir;
    std::vector<std::vector<int>> recorded(kWriters);
    std::atomic<bool> writing = true;
    std::atomic<int> brokenReads = 0;

    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            JitteryDisk disk;
            ScoreFile scores(disk, dir.path());
            // Both write the shared lesson and each its own, so every change rewrites the
            // other's entry too.
            for (int round = 0; round < kRounds; ++round) {
                ScoreKey key =
                    scoreKeyFor(round % 2, round % 2 ? "shared" : "own" + std::to_string(w));
                key.speed = 1000 * (w + 1) + round;
                key.accuracy = round;
                if (scores.AppendScore(key).result == 1) recorded[w].push_back(key.speed);
            }
        });
    }
    std::thread reader([&] {
        JitteryDisk disk;
        ScoreFile scores(disk, dir.path());
        while (writing) {
            const ScoreReadOutcome read = scores.ReadScores(scoreKeyFor(1, "shared"));
            if (!read.messages.empty()) ++brokenReads;
        }
    });
    for (std::thread& writer : writers)
        writer.join();
    writing = false;
    reader.join();

    EXPECT_EQ(brokenReads, 0);
    DiskFileSystem disk;
    ScoreFile scores(disk, dir.path());
    const auto speeds = [&](const ScoreKey& key) {
        const ScoreReadOutcome read = scores.ReadScores(key);
        return std::vector<int>(read.speeds.begin(), read.speeds.begin() + read.count);
    };
    const std::vector<int> shared = speeds(scoreKeyFor(1, "shared"));
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(recorded[w].size(), static_cast<std::size_t>(kRounds)) << "writer " << w;
        // Each lesson holds the writer's attempts in the order that writer made them.
        std::vector<int> own, inShared, fromThisWriter;
        for (const int speed : recorded[w])
            (speed % 2 ? inShared : own).push_back(speed);
        for (const int speed : shared)
            if (speed / 1000 == w + 1) fromThisWriter.push_back(speed);
        EXPECT_EQ(speeds(scoreKeyFor(0, "own" + std::to_string(w))), own);
        EXPECT_EQ(fromThisWriter, inShared);
    }
    EXPECT_FALSE(dir.hasTemp());
}

}  // namespace
}  // namespace kestrum
