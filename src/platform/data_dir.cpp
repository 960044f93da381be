#include "platform/data_dir.h"

namespace kestrum {

std::filesystem::path dataDirFor(const std::filesystem::path& programDir, bool installed,
                                 bool programDirWritable, std::string_view xdgDataHome,
                                 std::string_view home) {
    if (!installed && programDirWritable) return programDir;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
        return std::filesystem::path(xdgDataHome) / kDataFolderName;
    }
    if (!home.empty()) return std::filesystem::path(home) / ".local/share" / kDataFolderName;
    return programDir;
}

std::string unwritableDataDirText(const std::filesystem::path& dataDir) {
    return "データを保存するフォルダを作れないか、書き込めません:\n" + dataDir.string() +
           "\n成績と設定は保存されません。";
}

}  // namespace kestrum
