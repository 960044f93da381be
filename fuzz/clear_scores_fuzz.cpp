// Any bytes as score.dat, any key: ClearScores never crashes; it empties exactly the first
// matching entry in its place and leaves every other byte alone, and when it finds nothing to
// clear or fails, the file is unchanged.
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
    MemoryFileSystem files;
    files.files[kScorePath] = before;
    ScoreFile scores(files, kDataDir);

    const ScoreOutcome cleared = scores.ClearScores(input->key);
    const Bytes after = files.files[kScorePath];
    check(files.files.count(kTempPath) == 0);

    const EntryPlace place = placeOf(before, input->key);
    switch (place.outcome) {
        case EntryPlace::Outcome::NotFound:
            check(cleared.result == 0 && cleared.messages.empty() && after == before);
            return 0;
        case EntryPlace::Outcome::Truncated:
            check(cleared.result == 0 && after == before &&
                  cleared.messages == Messages{plainMessage("error : unexpected EOF")});
            return 0;
        case EntryPlace::Outcome::Found:
            break;
    }
    check(cleared.result == 1 && cleared.messages.empty());
    check(after == before.substr(0, place.countOffset) + '\0' + before.substr(place.end));

    const ScoreReadOutcome read = scores.ReadScores(input->key);
    check(read.result == 1 && read.count == 0);
    // Clearing again finds the emptied entry and writes the same bytes.
    check(scores.ClearScores(input->key).result == 1 && files.files[kScorePath] == after);
    return 0;
}
