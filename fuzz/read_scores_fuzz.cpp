// Any bytes as score.dat, any key: ReadScores never crashes, never changes the file, and returns
// exactly the newest attempts (at most 100) of the first matching entry.
#include "check.h"
#include "history/score_file.h"
#include "history_case.h"
#include "support/memory_file_system.h"

using namespace kestrum;
using namespace kestrum::fuzz;

namespace {

unsigned byteAt(const Bytes& image, std::size_t offset) {
    return static_cast<unsigned char>(image[offset]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<HistoryCase> input = historyCase(data, size);
    if (!input) return 0;
    MemoryFileSystem files;
    files.files[kScorePath] = input->image;
    ScoreFile scores(files, kDataDir);

    const ScoreReadOutcome read = scores.ReadScores(input->key);
    check(files.files.size() == 1 && files.files[kScorePath] == input->image);

    const EntryPlace place = placeOf(input->image, input->key);
    switch (place.outcome) {
        case EntryPlace::Outcome::NotFound:
            check(read.result == 0 && read.count == 0 && read.messages.empty());
            return 0;
        case EntryPlace::Outcome::Truncated:
            check(read.result == 0 && read.count == 0 &&
                  read.messages == Messages{plainMessage("error : unexpected EOF")});
            return 0;
        case EntryPlace::Outcome::Found:
            break;
    }
    check(read.result == 1 && read.messages.empty());
    const unsigned count = std::min(place.stored, static_cast<unsigned>(kMaxAttempts));
    check(read.count == static_cast<int>(count));
    std::size_t offset = place.end - 3 * count;
    for (unsigned i = 0; i < count; ++i, offset += 3) {
        check(read.speeds[i] == static_cast<std::int32_t>(byteAt(input->image, offset) << 8 |
                                                          byteAt(input->image, offset + 1)));
        check(read.accuracies[i] == static_cast<std::int32_t>(byteAt(input->image, offset + 2)));
    }
    return 0;
}
