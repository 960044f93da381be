#include "history/score_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrum {

namespace {

// A history holds at most a few hundred bytes per lesson; anything near this is not ours.
constexpr std::size_t kMaxFileBytes = 64u * 1024u * 1024u;
constexpr std::size_t kMaxNameBytes = 255;  // one length byte
constexpr std::size_t kAttemptBytes = 3;

constexpr const char* kCantOpen = "Can't open file.";
constexpr const char* kUnexpectedEof = "error : unexpected EOF";
constexpr const char* kNameTooLong = "error : lesson name longer than 255 bytes";

unsigned byteAt(std::string_view image, std::size_t offset) {
    return static_cast<unsigned char>(image[offset]);
}

// Where the key's entry lies in the byte image. Entries are walked only up to the first match:
// what follows it is carried over untouched, as it always was.
struct EntrySearch {
    enum class Outcome { Found, NotFound, Truncated };
    Outcome outcome = Outcome::NotFound;
    std::size_t start = 0;        // its kind byte
    std::size_t countOffset = 0;  // the N byte of the matching entry
    std::size_t end = 0;          // one past its last attempt
};

EntrySearch findEntry(std::string_view image, const ScoreKey& key) {
    std::size_t pos = 0;
    while (pos < image.size()) {
        // kind, L, the name and N must all be there, and then all 3×N attempt bytes.
        if (image.size() - pos < 2) return {EntrySearch::Outcome::Truncated};
        const unsigned kind = byteAt(image, pos);
        const std::size_t nameLength = byteAt(image, pos + 1);
        const std::size_t countOffset = pos + 2 + nameLength;
        if (countOffset >= image.size()) return {EntrySearch::Outcome::Truncated};
        const std::size_t end = countOffset + 1 + kAttemptBytes * byteAt(image, countOffset);
        if (end > image.size()) return {EntrySearch::Outcome::Truncated};
        if (static_cast<std::int32_t>(kind) == key.kind &&
            image.substr(pos + 2, nameLength) == key.name) {
            return {EntrySearch::Outcome::Found, pos, countOffset, end};
        }
        pos = end;
    }
    return {EntrySearch::Outcome::NotFound};
}

// What findEntry matches a key by: the kind byte, the name's length byte and the name.
void appendEntryHead(Bytes& out, const ScoreKey& key) {
    out.push_back(static_cast<char>(key.kind & 0xFF));
    out.push_back(static_cast<char>(key.name.size()));
    out.append(key.name);
}

void appendAttempt(Bytes& out, std::int32_t speed, std::int32_t accuracy) {
    const auto bits = static_cast<std::uint32_t>(speed);
    out.push_back(static_cast<char>((bits >> 8) & 0xFF));
    out.push_back(static_cast<char>(bits & 0xFF));
    out.push_back(static_cast<char>(static_cast<std::uint32_t>(accuracy) & 0xFF));
}

ScoreOutcome failure(const char* text) {
    return {0, {plainMessage(text)}};
}

std::optional<Bytes> loadHistory(FileSystem& files, const std::filesystem::path& dataDir) {
    return files.readOrCreate(dataDir / "score.dat", kMaxFileBytes);
}

// Writes the new history beside the old one and only then puts it in its place, so that a full
// disk or a crash leaves the old history whole. The caller holds the lock of score.dat from
// before its read until here, so a second writer can neither take temp.tmp from under it nor
// replace the history with a copy that lacks this change.
ScoreOutcome commitHistory(FileSystem& files, const std::filesystem::path& dataDir,
                           std::string_view image) {
    if (!replaceContents(files, dataDir / "score.dat", dataDir / "temp.tmp", image)) {
        return failure(kCantOpen);
    }
    return {1, {}};
}

// The image with the entry `renamed` finds given the key `to` and the entry `dropped` finds left
// out; every other byte stays where it was.
Bytes rewritten(std::string_view image, const EntrySearch& renamed, const ScoreKey& to,
                const EntrySearch& dropped) {
    std::vector<const EntrySearch*> cuts;
    for (const EntrySearch* cut : {&renamed, &dropped}) {
        if (cut->outcome == EntrySearch::Outcome::Found) cuts.push_back(cut);
    }
    std::sort(cuts.begin(), cuts.end(),
              [](const EntrySearch* a, const EntrySearch* b) { return a->start < b->start; });
    Bytes next;
    next.reserve(image.size() + to.name.size());
    std::size_t pos = 0;
    for (const EntrySearch* cut : cuts) {
        next.append(image.substr(pos, cut->start - pos));
        if (cut == &renamed) {
            appendEntryHead(next, to);
            next.append(image.substr(cut->countOffset, cut->end - cut->countOffset));
        }
        pos = cut->end;
    }
    next.append(image.substr(pos));
    return next;
}

}  // namespace

ScoreFile::ScoreFile(FileSystem& files, std::filesystem::path dataDir)
    : files_(files), dataDir_(std::move(dataDir)) {}

ScoreOutcome ScoreFile::AppendScore(const ScoreKey& key) {
    // A longer name cannot be described by its length byte; writing it would corrupt the file.
    if (key.name.size() > kMaxNameBytes) return failure(kNameTooLong);
    const auto lock = files_.lockExclusive(dataDir_ / "score.dat");
    const std::optional<Bytes> image = loadHistory(files_, dataDir_);
    if (!image) return failure(kCantOpen);
    const EntrySearch search = findEntry(*image, key);
    if (search.outcome == EntrySearch::Outcome::Truncated) return failure(kUnexpectedEof);

    Bytes next;
    next.reserve(image->size() + key.name.size() + 3 + kAttemptBytes);
    if (search.outcome == EntrySearch::Outcome::Found) {
        // Keep the newest 99 (fewer if fewer are stored) so that N never exceeds 100, even
        // for a count above 100 written by something else.
        const std::size_t stored = byteAt(*image, search.countOffset);
        const std::size_t kept = std::min<std::size_t>(stored, kMaxAttempts - 1);
        next.append(*image, 0, search.countOffset);
        next.push_back(static_cast<char>(kept + 1));
        next.append(*image, search.end - kAttemptBytes * kept, kAttemptBytes * kept);
        appendAttempt(next, key.speed, key.accuracy);
        next.append(*image, search.end);
    } else {
        next = *image;
        appendEntryHead(next, key);
        next.push_back(1);
        appendAttempt(next, key.speed, key.accuracy);
    }
    return commitHistory(files_, dataDir_, next);
}

ScoreReadOutcome ScoreFile::ReadScores(const ScoreKey& key) {
    ScoreReadOutcome outcome;
    const std::optional<Bytes> image = loadHistory(files_, dataDir_);
    if (!image) {
        outcome.messages.push_back(plainMessage(kCantOpen));
        return outcome;
    }
    const EntrySearch search = findEntry(*image, key);
    if (search.outcome == EntrySearch::Outcome::Truncated) {
        outcome.messages.push_back(plainMessage(kUnexpectedEof));
    }
    if (search.outcome != EntrySearch::Outcome::Found) return outcome;

    // A count above 100 yields the newest 100, so index count-1 is still the newest attempt.
    const std::size_t stored = byteAt(*image, search.countOffset);
    const std::size_t count = std::min<std::size_t>(stored, kMaxAttempts);
    std::size_t offset = search.end - kAttemptBytes * count;
    for (std::size_t i = 0; i < count; ++i, offset += kAttemptBytes) {
        outcome.speeds[i] =
            static_cast<std::int32_t>(byteAt(*image, offset) * 256 + byteAt(*image, offset + 1));
        outcome.accuracies[i] = static_cast<std::int32_t>(byteAt(*image, offset + 2));
    }
    outcome.result = 1;
    outcome.count = static_cast<int>(count);
    return outcome;
}

ScoreOutcome ScoreFile::ClearScores(const ScoreKey& key) {
    const auto lock = files_.lockExclusive(dataDir_ / "score.dat");
    const std::optional<Bytes> image = loadHistory(files_, dataDir_);
    if (!image) return failure(kCantOpen);
    const EntrySearch search = findEntry(*image, key);
    if (search.outcome == EntrySearch::Outcome::Truncated) return failure(kUnexpectedEof);
    // Without an entry the copy would equal the original, so there is nothing to write.
    if (search.outcome == EntrySearch::Outcome::NotFound) return {0, {}};

    Bytes next;
    next.reserve(image->size());
    next.append(*image, 0, search.countOffset);
    next.push_back(0);
    next.append(*image, search.end);
    return commitHistory(files_, dataDir_, next);
}

ScoreOutcome ScoreFile::RenameScores(const ScoreKey& from, const ScoreKey& to,
                                     const std::function<void()>& alongside) {
    if (to.name.size() > kMaxNameBytes) return failure(kNameTooLong);
    const auto lock = files_.lockExclusive(dataDir_ / "score.dat");
    const std::optional<Bytes> image = loadHistory(files_, dataDir_);
    if (!image) return failure(kCantOpen);
    const EntrySearch source = findEntry(*image, from);
    const EntrySearch target = findEntry(*image, to);
    if (source.outcome == EntrySearch::Outcome::Truncated ||
        target.outcome == EntrySearch::Outcome::Truncated) {
        return failure(kUnexpectedEof);
    }
    const bool changes = source.outcome == EntrySearch::Outcome::Found ||
                         target.outcome == EntrySearch::Outcome::Found;
    // The same key: nothing moves, and the entry must not be dropped as the old target.
    const bool same = from.kind == to.kind && from.name == to.name;
    ScoreOutcome outcome{1, {}};
    if (changes && !same) {
        outcome = commitHistory(files_, dataDir_, rewritten(*image, source, to, target));
    }
    if (outcome.result == 1 && alongside) alongside();
    return outcome;
}

ScoreOutcome ScoreFile::EraseScores(const ScoreKey& key, const std::function<void()>& alongside) {
    const auto lock = files_.lockExclusive(dataDir_ / "score.dat");
    const std::optional<Bytes> image = loadHistory(files_, dataDir_);
    if (!image) return failure(kCantOpen);
    const EntrySearch search = findEntry(*image, key);
    if (search.outcome == EntrySearch::Outcome::Truncated) return failure(kUnexpectedEof);
    ScoreOutcome outcome{1, {}};
    if (search.outcome == EntrySearch::Outcome::Found) {
        outcome = commitHistory(files_, dataDir_, rewritten(*image, {}, key, search));
    }
    if (outcome.result == 1 && alongside) alongside();
    return outcome;
}

}  // namespace kestrum
