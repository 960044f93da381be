#include "menu/own_options_file.h"

#include <string>
#include <string_view>

namespace kestrum {

namespace {

constexpr std::size_t kMaxOwnOptionsBytes = 64 * 1024;
constexpr std::string_view kRomajiSpellings = "romaji_spellings";

}  // namespace

void LoadOwnOptions(Settings& settings, FileSystem& files, const std::filesystem::path& dataDir) {
    const FileSystem::ReadResult read =
        files.readFile(dataDir / kOwnOptionsFileName, kMaxOwnOptionsBytes);
    if (read.status != FileSystem::ReadStatus::Ok) return;
    std::string_view rest = read.bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.substr(0, equals) != kRomajiSpellings)
            continue;
        const std::string_view value = line.substr(equals + 1);
        if (value == "0" || value == "1") settings.romaji_spellings = value == "1" ? 1 : 0;
    }
}

bool SaveOwnOptions(const Settings& settings, FileSystem& files,
                    const std::filesystem::path& dataDir) {
    const std::string text =
        std::string(kRomajiSpellings) + "=" + std::to_string(settings.romaji_spellings) + "\r\n";
    return replaceContents(files, dataDir / kOwnOptionsFileName, dataDir / kOwnOptionsScratchName,
                           text);
}

}  // namespace kestrum
