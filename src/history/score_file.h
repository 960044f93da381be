#pragma once

#include "platform/file_system.h"
#include "platform/message.h"
#include "records/score_key.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace kestrum {

constexpr int kMaxAttempts = 100;

struct ScoreOutcome {
    int result = 0;  // 1 success, 0 failure
    Messages messages;
};

struct ScoreReadOutcome {
    int result = 0;  // 1 when the lesson has an entry (count may be 0)
    int count = 0;
    std::array<std::int32_t, kMaxAttempts> speeds{};      // oldest first
    std::array<std::int32_t, kMaxAttempts> accuracies{};  // oldest first
    Messages messages;
};

// The history file score.dat in the data directory, replaced as a whole through temp.tmp on
// every change so that the old history stays intact until the new one is complete. A change
// holds the lock of score.dat from its read to the replacement, so changes from other threads
// or programs follow one another and none is lost; a read needs no lock.
class ScoreFile {
public:
    ScoreFile(FileSystem& files, std::filesystem::path dataDir);

    ScoreOutcome AppendScore(const ScoreKey& key);
    ScoreReadOutcome ReadScores(const ScoreKey& key);
    ScoreOutcome ClearScores(const ScoreKey& key);

private:
    FileSystem& files_;
    std::filesystem::path dataDir_;
};

}  // namespace kestrum
