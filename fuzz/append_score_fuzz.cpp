// Any bytes as score.dat, any key: AppendScore never crashes; a failure leaves the file's bytes
// exactly as they were, and a success changes only the key's entry, which then ends with the new
// attempt after the newest earlier ones, never more than 100 in all.
#include "check.h"
#include "history/score_file.h"
#include "history_case.h"
#include "support/memory_file_system.h"

using namespace kestrum;
using namespace kestrum::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<HistoryCase> input = historyCase(data, size);
    if (!input) return 0;
    const Bytes& before = input->image;
    const ScoreKey& key = input->key;
    MemoryFileSystem files;
    files.files[kScorePath] = before;
    ScoreFile scores(files, kDataDir);

    const ScoreReadOutcome earlier = scores.ReadScores(key);
    const ScoreOutcome appended = scores.AppendScore(key);
    const Bytes after = files.files[kScorePath];
    check(files.files.count(kTempPath) == 0);

    const EntryPlace place = placeOf(before, key);
    if (place.outcome == EntryPlace::Outcome::Truncated) {
        check(appended.result == 0 && after == before &&
              appended.messages == Messages{plainMessage("error : unexpected EOF")});
        return 0;
    }
    check(appended.result == 1 && appended.messages.empty());

    if (place.outcome == EntryPlace::Outcome::Found) {
        // Everything around the entry is carried over byte for byte.
        const std::size_t tail = before.size() - place.end;
        check(after.size() >= place.countOffset + 1 + tail);
        check(after.compare(0, place.countOffset, before, 0, place.countOffset) == 0);
        check(after.compare(after.size() - tail, tail, before, place.end, tail) == 0);
    } else {
        check(after.compare(0, before.size(), before) == 0);
    }

    const ScoreReadOutcome now = scores.ReadScores(key);
    const int expected = std::min(earlier.count + 1, kMaxAttempts);
    check(now.result == 1 && now.count == expected);
    const auto last = static_cast<std::size_t>(now.count - 1);
    check(now.speeds[last] == (key.speed & 0xFFFF) && now.accuracies[last] == key.accuracy);
    // The earlier attempts kept are the newest ones, in their order.
    const auto shift = static_cast<std::size_t>(earlier.count + 1 - expected);
    for (std::size_t i = 0; i < last; ++i) {
        check(now.speeds[i] == earlier.speeds[i + shift] &&
              now.accuracies[i] == earlier.accuracies[i + shift]);
    }
    return 0;
}
