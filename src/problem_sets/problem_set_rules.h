#pragma once

#include "platform/text.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

// One item of a problem set, in code page 932: the text to type and the comment shown above it.
struct ProblemItem {
    Bytes text;
    Bytes comment;

    bool operator==(const ProblemItem&) const = default;
};

inline constexpr int kMaxProblemItems = 199;
// The reader's limit of a set's name: what the settings file keeps of its second line.
inline constexpr std::size_t kMaxSetNameBytes = 97;

// Why the problem-set reader would refuse the item, or would not read it back as written; the
// reason is Japanese UTF-8 text. Nothing when the item is sound. A text must be 1 to 25 bytes of
// A-Z, a-z, 0-9, blank, ',', '.', '/', ';' and '-', and must not end with a blank (the reader
// trims it away). A comment must be code page 932 text that fits on its line.
std::optional<std::string> itemProblem(const ProblemItem& item);

// What the editor marks on a row: the half of the item at fault (the text's fault first) and why.
struct RowFault {
    enum class Part { Text, Comment };
    Part part = Part::Text;
    std::string reason;
};
// Nothing for a sound item or a blank row (no item, see isBlank).
std::optional<RowFault> rowFault(const ProblemItem& item);

// Why the title cannot be kept as written (a character code page 932 lacks, or too long).
std::optional<std::string> titleProblem(const Bytes& title);

// Why `name` (UTF-8, as typed) cannot name a set: empty, blanks at either end, a character that
// is not code page 932 or is a control character, '/' or '\', "..", more than 97 bytes, or too
// long for a file name.
std::optional<std::string> setNameProblem(std::string_view name);

// The name as its file is named: what the settings file's code page 932 line reads back as, so
// that a wave dash typed as U+301C names the same file the reader opens (U+FF5E). A name with a
// character code page 932 lacks is returned as typed, for setNameProblem to refuse.
std::string storedSetName(std::string_view typed);

// The title of a new set: its name, cut at a character boundary to what the title line holds.
Bytes titleFromName(std::string_view name);

// Text from the editor's fields to code page 932, without the blanks and control characters at
// either end that the reader would trim from a comment or title line.
Bytes trimmedCp932(std::string_view utf8);
// An item as typed in the editor's two fields (UTF-8): the text as it stands, the comment trimmed.
ProblemItem typedItem(std::string_view textUtf8, std::string_view commentUtf8);

// A row with neither text nor comment is no item: it is neither saved nor checked.
bool isBlank(const ProblemItem& item);

// The same for code page 932 text; a NUL (a character code page 932 lacks) is kept.
Bytes trimmedLine(Bytes bytes);

}  // namespace kestrum
