#pragma once

#include "platform/message.h"

#include <string>

namespace kestrum {

class AttemptStore;
class ScoreFile;

// A problem set's history in both of its records, score.dat (what the result window and the
// graph read) and the attempt store, kept under the set's name as the set is renamed or deleted.
// Names are UTF-8 as the files are named.
class SetHistory {
public:
    SetHistory(ScoreFile& scores, AttemptStore& attempts);

    // True when either record keeps attempts under the name.
    bool exists(const std::string& name);

    // Moves the history of `from` to `to`, replacing what `to` had, in one step under the lock
    // of score.dat; empty when done, else the messages that say what failed.
    Messages move(const std::string& from, const std::string& to);
    Messages erase(const std::string& name);

private:
    ScoreFile& scores_;
    AttemptStore& attempts_;
};

}  // namespace kestrum
