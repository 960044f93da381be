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
    ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) override {
        pause();
        return disk_.readFile(path, maxBytes);
    }
    std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                      std::size_t maxBytes) override {
        pause();
        return disk_.readOrCreate(path, maxBytes);
    }
    bool writeFile(const std::filesystem::path& path, std::string_view bytes) override {
        pause();
        return disk_.writeFile(path, bytes);
    }
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        pause();
        return disk_.replace(from, to);
    }
    bool remove(const std::filesystem::path& path) override {
        pause();
        return disk_.remove(path);
    }
    std::unique_ptr<Lock> lockExclusive(const std::filesystem::path& path) override {
        pause();
        return disk_.lockExclusive(path);
    }

private:
    static void pause() {
        thread_local std::minstd_rand random(std::random_device{}());
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
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
    const ScoreReadOutcome shared = scores.ReadScores(scoreKeyFor(1, "shared"));
    std::vector<int> sharedSpeeds(shared.speeds.begin(), shared.speeds.begin() + shared.count);
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(recorded[w].size(), static_cast<std::size_t>(kRounds)) << "writer " << w;
        std::vector<int> own, inShared;
        for (const int speed : recorded[w])
            (speed % 2 ? inShared : own).push_back(speed);
        const ScoreReadOutcome mine = scores.ReadScores(scoreKeyFor(0, "own" + std::to_string(w)));
        EXPECT_EQ(std::vector<int>(mine.speeds.begin(), mine.speeds.begin() + mine.count), own);
        // The shared lesson holds each writer's attempts in the order that writer made them.
        std::vector<int> fromThisWriter;
        for (const int speed : sharedSpeeds)
            if (speed / 1000 == w + 1) fromThisWriter.push_back(speed);
        EXPECT_EQ(fromThisWriter, inShared);
    }
    EXPECT_FALSE(dir.hasTemp());
}

}  // namespace
}  // namespace kestrum
