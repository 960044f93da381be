#pragma once

#include <filesystem>
#include <string_view>

namespace kestrum {

inline constexpr const char* kDataFolderName = "kestrum-lite";

// Where the learner's files live: beside the program when its folder may be written, otherwise
// in "kestrum-lite" under the user's data folder: $XDG_DATA_HOME when it is an absolute path,
// else $HOME/.local/share. Without either, the program's folder is all there is.
std::filesystem::path dataDirFor(const std::filesystem::path& programDir, bool programDirWritable,
                                 std::string_view xdgDataHome, std::string_view home);

}  // namespace kestrum
