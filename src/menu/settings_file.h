#pragma once

#include "platform/file_system.h"
#include "records/settings.h"

#include <cstddef>
#include <filesystem>

namespace kestrum {

// The settings file beside the program's data: line 1 the seven numbers, line 2 the name of the
// current problem set.
inline constexpr const char* kSettingsFileName = "kestruml.ini";
// The new settings are written here first, then put in the place of the old file.
inline constexpr const char* kSettingsScratchName = "kestruml.tmp";

// Files larger than this are treated like a missing file.
inline constexpr std::size_t kMaxSettingsFileBytes = 16 * 1024 * 1024;

// Sets `settings` to the defaults (Settings{}), then fills it from dataDir / "kestruml.ini".
// A missing, unreadable or oversized file leaves the defaults untouched (no screen fitting either).
// Otherwise the numbers are read as a formatted reader reads "%d," six times and "%d\n": blanks
// and line ends before a value are skipped, a comma after it is taken when present, and the
// first value that is not a number leaves it and all later numbers at their defaults, the rest
// of that line becoming the name. Numbers beyond 32 bits are clamped. The name is at most 97
// bytes of the line, without the trailing bytes of code 32 or less. Out-of-range values are
// repaired, keyboard_size is fitted to screenWidth and practice_count kept within 5..100.
// LF and CR LF line ends are both accepted; a UTF-8 byte-order mark at the start is skipped.
void LoadSettings(Settings& settings, FileSystem& files, const std::filesystem::path& dataDir,
                  int screenWidth);

// Writes dataDir / "kestruml.ini": line 1 as "%d," six times then "%d" and CR LF, followed by
// the problem-set name and CR LF when the name is not empty, so that a save never loses it.
// The old file stays whole until the new one is complete (see replaceContents); a file that is a
// link is written through it. Returns false when the file could not be written; the caller goes
// on regardless.
bool SaveSettings(const Settings& settings, FileSystem& files,
                  const std::filesystem::path& dataDir);

// The save at close. The learner may have written another name into line 2 while the program
// ran: unless the program itself changed the name since it was loaded (`nameAtLoad`), line 2 is
// written as the file holds it at this moment (none when the file is gone; the program's name
// when the file cannot be read).
bool SaveSettingsAtClose(Settings settings, const Bytes& nameAtLoad, FileSystem& files,
                         const std::filesystem::path& dataDir);

}  // namespace kestrum
