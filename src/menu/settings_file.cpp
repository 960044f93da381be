#include "menu/settings_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

namespace {

constexpr std::size_t kMaxNameBytes = 97;

// What the C library's isspace() accepts: the bytes a formatted reader skips before a number.
bool isFormatSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A cursor over the file's bytes that reads the way "%d," and "%d\n" do.
class FormattedReader {
public:
    explicit FormattedReader(std::string_view text) : text_(text) {}

    // Skips blanks and line ends, then reads an optional sign and digits. Without a digit nothing
    // is returned and the position stays after the blanks and any sign: the sign was consumed.
    std::optional<std::int32_t> readInt() {
        skipSpace();
        std::size_t at = pos_;
        bool negative = false;
        if (at < text_.size() && (text_[at] == '+' || text_[at] == '-')) {
            negative = text_[at] == '-';
            pos_ = ++at;
        }
        if (at >= text_.size() || !isDigit(text_[at])) return std::nullopt;
        // Clamped while reading rather than overflowing; the repairs then deal with the value.
        constexpr std::int64_t kLimit = std::int64_t{1} << 31;
        std::int64_t magnitude = 0;
        for (; at < text_.size() && isDigit(text_[at]); ++at) {
            magnitude = std::min(kLimit, magnitude * 10 + (text_[at] - '0'));
        }
        pos_ = at;
        return static_cast<std::int32_t>(negative ? -magnitude : std::min(magnitude, kLimit - 1));
    }

    void skipComma() {
        if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
    }

    void skipSpace() {
        while (pos_ < text_.size() && isFormatSpace(text_[pos_]))
            ++pos_;
    }

    // The rest of the current line, at most `limit` bytes, like fgets with a buffer one larger.
    // The line end is included when it falls within the limit; empty at the end of the text.
    std::string_view readLine(std::size_t limit) {
        if (pos_ >= text_.size()) return {};
        std::string_view rest = text_.substr(pos_, limit);
        const std::size_t newline = rest.find('\n');
        if (newline != std::string_view::npos) rest = rest.substr(0, newline + 1);
        pos_ += rest.size();
        return rest;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

Bytes nameFromLine(std::string_view line) {
    // The name is held as a C string: an embedded NUL ends it.
    line = line.substr(0, line.find('\0'));
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
        line.remove_suffix(1);
    return Bytes(line);
}

void repair(Settings& s, int screenWidth) {
    if (s.distinct != 0 && s.distinct != 1) s.distinct = 1;
    if (s.guide < 0 || s.guide > 3) s.guide = 0;
    if (s.letter_type < 0 || s.letter_type > 2) s.letter_type = 0;
    if (s.distinct_shift != 0 && s.distinct_shift != 1) s.distinct_shift = 1;
    if (s.sound < 0 || s.sound > 2) s.sound = 0;

    // No step at 1024 here: on a wide screen a saved extra large comes back as large.
    if (screenWidth <= 640) {
        s.keyboard_size = 0;
    } else if (screenWidth <= 800) {
        if (s.keyboard_size == 1 || s.keyboard_size == 2) s.keyboard_size = 3;
    } else if (s.keyboard_size == 1) {
        s.keyboard_size = 2;
    }

    if (s.practice_count < 5 || s.practice_count > 100) s.practice_count = 5;
}

// Reads the file's bytes into `settings` (already reset), then repairs them.
void parseSettings(Settings& settings, std::string_view text, int screenWidth) {
    // An editor's UTF-8 byte-order mark is not part of the first number.
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    FormattedReader reader(text);
    const std::array<std::int32_t*, 7> fields = {&settings.distinct,     &settings.guide,
                                                 &settings.letter_type,  &settings.distinct_shift,
                                                 &settings.sound,        &settings.practice_count,
                                                 &settings.keyboard_size};
    std::size_t read = 0;
    for (; read < fields.size(); ++read) {
        const std::optional<std::int32_t> value = reader.readInt();
        if (!value) break;
        *fields[read] = *value;
        if (read + 1 < fields.size()) reader.skipComma();
    }
    // "\n" in the format skips every blank and line end after the last value.
    if (read == fields.size()) reader.skipSpace();

    settings.problem_set_name = nameFromLine(reader.readLine(kMaxNameBytes));

    repair(settings, screenWidth);
}

}  // namespace

void LoadSettings(Settings& settings, FileSystem& files, const std::filesystem::path& dataDir,
                  int screenWidth) {
    settings = Settings{};
    const FileSystem::ReadResult file =
        files.readFile(dataDir / kSettingsFileName, kMaxSettingsFileBytes);
    if (file.status == FileSystem::ReadStatus::Ok) parseSettings(settings, file.bytes, screenWidth);
}

bool SaveSettings(const Settings& settings, FileSystem& files,
                  const std::filesystem::path& dataDir) {
    const std::array<std::int32_t, 7> values = {
        settings.distinct, settings.guide,          settings.letter_type,  settings.distinct_shift,
        settings.sound,    settings.practice_count, settings.keyboard_size};
    Bytes text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += std::to_string(values[i]);
        text += i + 1 < values.size() ? "," : "\r\n";
    }
    if (!settings.problem_set_name.empty()) text += settings.problem_set_name + "\r\n";
    // Written beside the old file and then swapped in, so that a full disk or a crash never
    // leaves half a file and loses the problem-set name, which lives nowhere else. A settings
    // file that is a link to one kept elsewhere stays a link: the file it leads to is replaced.
    const std::filesystem::path target = files.followLinks(dataDir / kSettingsFileName);
    return replaceContents(files, target, target.parent_path() / kSettingsScratchName, text);
}

bool SaveSettingsAtClose(Settings settings, const Bytes& nameAtLoad, FileSystem& files,
                         const std::filesystem::path& dataDir) {
    if (settings.problem_set_name == nameAtLoad) {
        const FileSystem::ReadResult file =
            files.readFile(dataDir / kSettingsFileName, kMaxSettingsFileBytes);
        if (file.status == FileSystem::ReadStatus::Ok) {
            Settings onDisk;
            parseSettings(onDisk, file.bytes, 0);
            settings.problem_set_name = onDisk.problem_set_name;
        } else if (file.status == FileSystem::ReadStatus::Missing) {
            settings.problem_set_name.clear();
        }
    }
    return SaveSettings(settings, files, dataDir);
}

}  // namespace kestrum
