#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrum {

inline constexpr const char* kDataFolderName = "kestrum-lite";

// The file the install step puts beside an installed program. Its presence, not whether the
// folder may be written, says that the folder belongs to the installation: root may write
// /usr, yet its files must not land there.
inline constexpr const char* kInstalledMarker = "kestrum-lite.installed";

// Where the learner's files live: beside the program when it was not installed and its folder
// may be written (a copied program, or one run from the build), otherwise in "kestrum-lite"
// under the user's data folder: $XDG_DATA_HOME when it is an absolute path, else
// $HOME/.local/share. Without either, the program's folder is all there is.
std::filesystem::path dataDirFor(const std::filesystem::path& programDir, bool installed,
                                 bool programDirWritable, std::string_view xdgDataHome,
                                 std::string_view home);

// What the learner is told once at start-up when the data folder cannot be made or written.
std::string unwritableDataDirText(const std::filesystem::path& dataDir);

}  // namespace kestrum
