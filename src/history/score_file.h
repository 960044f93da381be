#pragma once

#include "history/score_key.h"
#include "platform/file_system.h"
#include "platform/message.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

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

    // A problem set's history follows its file. Renaming gives the entry of `from` the name of
    // `to` where it stands and drops an entry `to` had (a deleted set's); erasing removes the
    // key's entry whole. `alongside` then runs while the lock is still held, so that a second
    // record of the same history changes in the same step; it does not run when score.dat could
    // not be changed.
    ScoreOutcome RenameScores(const ScoreKey& from, const ScoreKey& to,
                              const std::function<void()>& alongside = {});
    ScoreOutcome EraseScores(const ScoreKey& key, const std::function<void()>& alongside = {});

private:
    FileSystem& files_;
    std::filesystem::path dataDir_;
};

}  // namespace kestrum
