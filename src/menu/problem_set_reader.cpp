#include "menu/problem_set_reader.h"

#include "drill/lesson_catalogue.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>

namespace kestrum {

namespace {

// A line holds at most 96 bytes of content and its line feed.
constexpr std::size_t kMaxLineBytes = 97;
// A file of nothing but unknown lines would otherwise ask for one box per line.
constexpr int kMaxInvalidLineMessages = 10;
constexpr const char* kNotAnInteger = "不正なファイルです\n読み込みを中止します";

// A name must name its file exactly: a double-byte character cut off at its end would vanish in
// the conversion, and one that code page 932 does not define would turn into U+FFFD.
bool convertsWhole(std::string_view cp932, std::string_view utf8) {
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(cp932[i])) && ++i == cp932.size()) return false;
    }
    return utf8.find("\xEF\xBF\xBD") == std::string_view::npos;
}

// A failed load: the messages so far, then the one that stopped it.
ProblemSetLoad stop(Messages messages, std::string text) {
    messages.push_back(infoMessage(std::move(text)));
    return {false, {}, std::move(messages)};
}

lesson problemSetRecord(const ProblemSet& set, const Settings& settings) {
    const auto count = static_cast<std::size_t>(set.count);
    lesson record;
    record.name = settings.problem_set_name;
    record.words.assign(set.texts.begin() + 1, set.texts.begin() + 1 + count);
    record.comments.assign(set.text_comments.begin() + 1, set.text_comments.begin() + 1 + count);
    record.kind = kProblemSetKind;
    record.comment_index.assign(set.order.begin(), set.order.begin() + count + 1);
    record.program.assign(set.fixed.begin(), set.fixed.begin() + kMaxProblemIndex + 1);
    record.word_count = set.count;
    record.comment_count = set.count;
    record.comment_index_count = set.count;
    record.program_length = settings.practice_count;
    return record;
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return text;
}

// A whole decimal integer with an optional sign and blanks around it; nothing when the text is
// anything else or does not fit 32 bits.
std::optional<std::int32_t> parseInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The integer between the line's first '[' and its first ']'.
std::optional<std::int32_t> bracketIndex(std::string_view line) {
    const std::size_t open = line.find('[');
    const std::size_t close = line.find(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    return parseInteger(line.substr(open + 1, close - open - 1));
}

bool SplitAt(char ch, std::string_view line, Bytes& left, Bytes& right) {
    const std::size_t at = line.find(ch);
    if (at == std::string_view::npos) return false;
    left = Bytes(line.substr(0, at));
    right = Bytes(line.substr(at + 1));
    return true;
}

bool IsProblemChar(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte == ' ' || byte == ',' || byte == '.' ||
           byte == '/' || byte == ';' || byte == '-';
}

ProblemSetLoad LoadProblemSet(ProblemSet& set, FileSystem& files,
                              const std::filesystem::path& dataDir, const Settings& settings) {
    if (settings.problem_set_name.empty()) return stop({}, "辞書が選択されていません");
    const std::string nameUtf8 = cp932ToUtf8(settings.problem_set_name);
    if (!convertsWhole(settings.problem_set_name, nameUtf8) || !IsSafeProblemSetName(nameUtf8)) {
        return stop({}, "問題集の名前が不正です");
    }

    const std::filesystem::path path = dataDir / "tdcs" / (nameUtf8 + ".tdc");
    const FileSystem::ReadResult file = files.readFile(path, kMaxProblemSetFileBytes);
    if (file.status == FileSystem::ReadStatus::TooLarge) {
        return stop({}, "ファイルが大きすぎます");
    }
    if (file.status != FileSystem::ReadStatus::Ok) {
        return stop({infoMessage("ファイルが存在しません")}, path.string());
    }

    for (std::size_t slot = 0; slot < kProblemSetSlots; ++slot) {
        set.texts[slot].clear();
        set.text_comments[slot].clear();
    }

    Messages messages;
    int invalidLines = 0;
    std::optional<std::int32_t> amount;
    // A set saved as UTF-8 by an editor here is read as if written in code page 932.
    const Bytes text = textFileToCp932(file.bytes);
    const std::string_view bytes = text;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t newline = bytes.find('\n', pos);
        const bool hasNewline = newline != std::string_view::npos;
        std::string_view line = bytes.substr(pos, hasNewline ? newline - pos : bytes.npos);
        pos = hasNewline ? newline + 1 : bytes.size();
        // Read as text: a carriage return before the line feed is part of the line end.
        if (hasNewline && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() + (hasNewline ? 1 : 0) > kMaxLineBytes) {
            return stop(std::move(messages), "Over flow buffer!");
        }

        line = trimmed(line);
        Bytes key;
        Bytes value;
        if (!SplitAt('=', line, key, value)) continue;

        const std::string_view kind = line.substr(0, 3);
        if (kind == "Tit") continue;
        if (kind == "Amo") {
            amount = parseInteger(value);
            if (!amount) {
                return stop(std::move(messages), kNotAnInteger);
            }
            if (*amount == 0) {
                return stop(std::move(messages), "要素数が０です");
            }
        } else if (kind == "Tex" || kind == "Com") {
            const std::optional<std::int32_t> index = bracketIndex(line);
            if (!index) {
                return stop(std::move(messages), kNotAnInteger);
            }
            if (*index < 1 || *index > kMaxProblemIndex) {
                return stop(std::move(messages), "インデックスが無効です");
            }
            auto& items = kind == "Tex" ? set.texts : set.text_comments;
            items[static_cast<std::size_t>(*index)] = std::move(value);
        } else if (invalidLines < kMaxInvalidLineMessages) {
            ++invalidLines;
            messages.push_back(infoMessage("無効な情報があります"));
        }
    }

    // Without an Amount nothing says which slots count; refusing is clearer than guessing.
    if (!amount) {
        return stop(std::move(messages), "要素数(Amount)が指定されていません");
    }

    // Slots end at 199: a larger Amount keeps what the file can hold.
    const std::int32_t lastSlot = std::min(*amount, static_cast<std::int32_t>(kMaxProblemIndex));
    std::size_t kept = 0;
    for (std::int32_t i = 1; i <= lastSlot; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (set.texts[slot].empty()) continue;
        if (set.texts[slot].size() > kMaxWordLength) {
            return stop(std::move(messages), "文が長すぎます。");
        }
        ++kept;
        set.texts[kept] = set.texts[slot];
        set.text_comments[kept] = set.text_comments[slot];
    }
    set.count = static_cast<std::int32_t>(kept);

    // A drill without items could never be finished, so it is not started.
    if (set.count == 0) {
        return stop(std::move(messages), "練習できる問題がありません");
    }

    for (std::size_t k = 1; k <= kept; ++k) {
        for (const char c : set.texts[k]) {
            if (!IsProblemChar(static_cast<unsigned char>(c))) {
                return stop(std::move(messages),
                            "不正なファイルです。不正な文字が含まれています。");
            }
        }
    }

    for (std::size_t k = 0; k <= kept; ++k)
        set.order[k] = static_cast<std::int32_t>(k);
    for (std::size_t k = 0; k <= kMaxProblemIndex; ++k)
        set.fixed[k] = -1;

    return {true, problemSetRecord(set, settings), std::move(messages)};
}

// Checked on the UTF-8 form, since code page 932 uses the byte of '\' as the second half of
// some characters.
bool IsSafeProblemSetName(std::string_view utf8) {
    if (utf8 == "." || utf8 == "..") return false;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127 || c == '/' || c == '\\') return false;
    }
    return true;
}

}  // namespace kestrum
