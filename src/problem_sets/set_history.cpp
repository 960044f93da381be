#include "problem_sets/set_history.h"

#include "history/score_file.h"
#include "progress/attempt_store.h"
#include "records/lesson.h"

namespace kestrum {

namespace {

ScoreKey keyOf(const std::string& name) {
    return scoreKeyFor(kProblemSetKind, utf8ToCp932(name));
}

// What score.dat said, then what the attempt store said when it failed.
Messages outcomeOf(const ScoreOutcome& scores, bool stored, AttemptStore& attempts,
                   const std::string& failed) {
    Messages messages;
    if (scores.result != 1) messages.push_back(infoMessage(failed));
    messages.insert(messages.end(), scores.messages.begin(), scores.messages.end());
    if (!stored) {
        const Messages store = attempts.pendingMessages();
        messages.insert(messages.end(), store.begin(), store.end());
    }
    return messages;
}

}  // namespace

SetHistory::SetHistory(ScoreFile& scores, AttemptStore& attempts)
    : scores_(scores), attempts_(attempts) {}

bool SetHistory::exists(const std::string& name) {
    if (scores_.ReadScores(keyOf(name)).count > 0) return true;
    // A store that cannot be read keeps nothing to lose; it says so when the history moves.
    return attempts_.holds({kProblemSetKind, name});
}

Messages SetHistory::move(const std::string& from, const std::string& to) {
    bool stored = true;
    const ScoreOutcome scores = scores_.RenameScores(keyOf(from), keyOf(to), [&] {
        stored = attempts_.renameLesson({kProblemSetKind, from}, to);
    });
    return outcomeOf(scores, stored, attempts_,
                     "「" + from + "」の成績を「" + to + "」に移せませんでした");
}

Messages SetHistory::erase(const std::string& name) {
    bool stored = true;
    const ScoreOutcome scores = scores_.EraseScores(keyOf(name), [&] {
        stored = attempts_.eraseLesson({kProblemSetKind, name});
    });
    return outcomeOf(scores, stored, attempts_, "「" + name + "」の成績を消せませんでした");
}

}  // namespace kestrum
