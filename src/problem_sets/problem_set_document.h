#pragma once

#include "platform/file_system.h"
#include "platform/message.h"
#include "problem_sets/problem_set_rules.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {

// A problem set as the editor holds it, in code page 932.
struct ProblemSetDocument {
    Bytes title;
    std::vector<ProblemItem> items;

    bool operator==(const ProblemSetDocument&) const = default;
};

// The file's bytes: "Title=", "Amount=" and one "Text[i]=" and "Comment[i]=" line per item,
// each ending in CR LF.
Bytes writeProblemSet(const ProblemSetDocument& document);

// Why the set cannot be saved (the first reason, with its item number), or nothing.
std::optional<std::string> documentProblem(const ProblemSetDocument& document);

// Reads a .tdc file for editing. Unlike the reader it never refuses: lines it cannot place are
// passed over, so that a broken set can still be opened and mended. A UTF-8 file is converted
// as the reader converts it. Items are the slots 1..199
// (1..Amount when the file gives a positive Amount) holding a text or a comment, in slot order.
ProblemSetDocument readProblemSetForEditing(std::string_view bytes);

// Items from a text file of one item per line: the text, then optionally a tab and the comment.
// The file may be UTF-8 (with or without a byte order mark) or Shift-JIS; bytes that are not
// valid UTF-8 mean Shift-JIS. Blank lines are passed over; nothing is checked here.
std::vector<ProblemItem> importProblemItems(std::string_view bytes);

// A text file to import is refused above this size: a full set takes about 30 KB.
inline constexpr std::size_t kMaxImportBytes = 1024 * 1024;

struct ImportedItems {
    std::vector<ProblemItem> items;
    Messages messages;  // why nothing was read, or that the file held more than there was room for
};

// Reads at most `room` items from the text file for importProblemItems. A file over
// kMaxImportBytes, one that cannot be read and one holding a NUL byte (not text) give no items.
ImportedItems importProblemFile(FileSystem& files, const std::filesystem::path& path,
                                std::size_t room);

}  // namespace kestrum
