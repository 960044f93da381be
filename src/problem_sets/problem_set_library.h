#pragma once

#include "menu/settings.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/message.h"
#include "problem_sets/problem_set_document.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrum {

// One set in the tdcs folder as the list shows it.
struct ProblemSetEntry {
    std::string name;  // UTF-8, the file name without ".tdc"
    Bytes title;
    int itemCount = 0;

    bool operator==(const ProblemSetEntry&) const = default;
};

// The outcome of a change: ok, or the messages that say why not (Japanese, in order).
struct LibraryResult {
    bool ok = false;
    Messages messages;
};

// The problem sets in dataDir / "tdcs": listing, making, copying, renaming, deleting, saving
// and choosing the current one. Names are UTF-8 as typed; each change checks the name first.
// Files are replaced atomically, so that a failed save leaves the old set as it was.
class ProblemSetLibrary {
public:
    ProblemSetLibrary(FileSystem& files, Folders& folders, std::filesystem::path dataDir);

    // The .tdc files in the folder, sorted by name; an empty list when there is no folder.
    std::vector<ProblemSetEntry> list();

    // The set as the editor shows it; an empty document when the file cannot be read.
    ProblemSetDocument load(const std::string& name);

    // Why `name` cannot be given to a new set (setNameProblem, or taken), or nothing.
    std::optional<std::string> newNameProblem(const std::string& name);

    // A new set without items, titled with its name (cut to a title's length); refused when the
    // name is taken.
    LibraryResult create(const std::string& name);
    LibraryResult copy(const std::string& from, const std::string& to);
    // Renaming or deleting the current set carries the change to `settings` and the settings
    // file, so that the menu never names a set that is gone.
    LibraryResult rename(const std::string& from, const std::string& to, Settings& settings);
    LibraryResult remove(const std::string& name, Settings& settings);

    // Writes the set when documentProblem finds nothing wrong with it and its file is not
    // read-only.
    LibraryResult save(const std::string& name, const ProblemSetDocument& document);

    // Makes the set current (settings.problem_set_name and the settings file's second line) when
    // the problem-set reader accepts it and the settings file could be written; otherwise the
    // messages say why not and `settings` stays as it was.
    LibraryResult choose(const std::string& name, Settings& settings);

private:
    std::filesystem::path pathOf(const std::string& name) const;
    std::filesystem::path scratchOf(const std::string& name) const;
    LibraryResult write(const std::string& name, std::string_view bytes);
    // Saves `settings` after a change to the current set's name.
    LibraryResult saveCurrent(Settings& settings, Bytes currentName);

    FileSystem& files_;
    Folders& folders_;
    std::filesystem::path dataDir_;
    std::filesystem::path tdcs_;
};

}  // namespace kestrum
