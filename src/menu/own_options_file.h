#pragma once

#include "platform/file_system.h"
#include "records/settings.h"

#include <filesystem>

namespace kestrum {

// The program's own options, kept beside kestruml.ini so that that file's two lines never
// change: one "name=value" line per option, CR LF ended.
inline constexpr const char* kOwnOptionsFileName = "options.ini";
inline constexpr const char* kOwnOptionsScratchName = "options.tmp";

// Fills the options of this file into `settings` (call after LoadSettings, which resets them).
// A missing or unreadable file, an unknown name or a value other than 0 or 1 leaves the default.
void LoadOwnOptions(Settings& settings, FileSystem& files, const std::filesystem::path& dataDir);

// Writes the file whole (through a scratch file beside it). False when it could not be written.
bool SaveOwnOptions(const Settings& settings, FileSystem& files,
                    const std::filesystem::path& dataDir);

}  // namespace kestrum
