#pragma once

#include "platform/file_system.h"
#include "platform/message.h"
#include "platform/text.h"
#include "records/lesson.h"
#include "records/settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrum {

inline constexpr int kProblemSetSlots = 202;
inline constexpr int kMaxProblemIndex = 199;  // item slots read from a file are 1..199
inline constexpr std::size_t kMaxProblemSetFileBytes = 4 * 1024 * 1024;

// The loaded problem set, owned by the main menu. Slots 1..count hold the kept items after a
// successful load; order[k] == k for k = 0..count and fixed[0..199] == -1.
struct ProblemSet {
    std::array<Bytes, kProblemSetSlots> texts;
    std::array<Bytes, kProblemSetSlots> text_comments;
    std::array<std::int32_t, kProblemSetSlots> order{};
    std::array<std::int32_t, kProblemSetSlots> fixed{};
    std::int32_t count = 0;
};

// Finds the first `ch` in `line`: sets `left` to the bytes before it and `right` to those after
// it and returns true; returns false and leaves both untouched when `line` has no `ch`.
bool SplitAt(char ch, std::string_view line, Bytes& left, Bytes& right);

// The line grammar of a set file, shared with the problem-set editor: the text without blanks
// and control bytes at either end; a whole 32-bit decimal integer with an optional '+' and blanks
// around it; the integer between the line's first '[' and its first ']'.
std::string_view trimmed(std::string_view text);
std::optional<std::int32_t> parseInteger(std::string_view text);
std::optional<std::int32_t> bracketIndex(std::string_view line);

// True for an ASCII letter or digit, blank, ',', '.', '/', ';' and '-'; false for every other
// byte, all bytes of 128 and above included.
bool IsProblemChar(unsigned char byte);

// True when `utf8`, the set's name, stays a plain file name inside the tdcs folder: no
// separator, no control byte, and not "." or ".." (dots inside a name are harmless, since ".tdc"
// is appended).
bool IsSafeProblemSetName(std::string_view utf8);

struct ProblemSetLoad {
    bool ok = false;
    lesson record;      // the problem-set lesson (number 42) when ok
    Messages messages;  // information boxes to show, in order; also when ok (unknown lines)
};

// Reads dataDir / "tdcs" / <problem_set_name as UTF-8> ".tdc" into `set` and, when the file and
// all its kept items are sound, returns ok with the filled lesson record: name = the set's name,
// kind 1, words and comments = the kept items, comment_index = identity, program all -1,
// program_length = settings.practice_count. On failure `record` is empty and the messages say
// why; `set` may then hold a partly read file, which the next load clears. Besides the file's
// own rules, it refuses an empty name, a name that would leave the tdcs folder or is not whole
// code page 932 text, a file of more than 4 MiB, a file without an Amount line and a set with no
// items left. Amounts above 199 keep slots 1..199. A file in UTF-8 is converted to code page
// 932 first (see textFileToCp932).
ProblemSetLoad LoadProblemSet(ProblemSet& set, FileSystem& files,
                              const std::filesystem::path& dataDir, const Settings& settings);

}  // namespace kestrum
