#include "platform/data_dir.h"

namespace kestrum {

std::filesystem::path dataDirFor(const std::filesystem::path& programDir, bool programDirWritable,
                                 std::string_view xdgDataHome, std::string_view home) {
    if (programDirWritable) return programDir;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
        return std::filesystem::path(xdgDataHome) / kDataFolderName;
    }
    if (!home.empty()) return std::filesystem::path(home) / ".local/share" / kDataFolderName;
    return programDir;
}

}  // namespace kestrum
