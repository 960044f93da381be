#include "problem_sets/problem_set_document.h"

#include "menu/problem_set_reader.h"

#include <algorithm>
#include <map>

namespace kestrum {

namespace {

// Calls `line` for every line of `bytes` without its CR LF or LF.
template <typename LineFn>
void forEachLine(std::string_view bytes, LineFn line) {
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string_view current = bytes.substr(0, end);
        if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
        line(current);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
}

// The start of `bytes` that holds its first `count` lines with something on them (a byte-order
// mark is no content).
std::string_view firstItemLines(std::string_view bytes, std::size_t count) {
    std::size_t pos = bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
    for (std::size_t found = 0; pos < bytes.size() && found < count;) {
        const std::size_t end = std::min(bytes.find('\n', pos), bytes.size());
        if (!trimmed(bytes.substr(pos, end - pos)).empty()) ++found;
        pos = std::min(end + 1, bytes.size());
    }
    return bytes.substr(0, pos);
}

Message importRefused(const std::string& reason, const std::filesystem::path& path) {
    return infoMessage(reason + ":\n" + path.string());
}

}  // namespace

Bytes writeProblemSet(const ProblemSetDocument& document) {
    Bytes out = "Title=" + document.title + "\r\n";
    out += "Amount=" + std::to_string(document.items.size()) + "\r\n";
    for (std::size_t i = 0; i < document.items.size(); ++i) {
        const std::string index = "[" + std::to_string(i + 1) + "]=";
        out += "Text" + index + document.items[i].text + "\r\n";
        out += "Comment" + index + document.items[i].comment + "\r\n";
    }
    return out;
}

std::optional<std::string> documentProblem(const ProblemSetDocument& document) {
    if (const auto title = titleProblem(document.title)) return title;
    if (document.items.empty()) return "問題が１つもありません";
    if (document.items.size() > static_cast<std::size_t>(kMaxProblemItems)) {
        return "問題は" + std::to_string(kMaxProblemItems) + "個までです";
    }
    for (std::size_t i = 0; i < document.items.size(); ++i) {
        if (const auto reason = itemProblem(document.items[i])) {
            return std::to_string(i + 1) + "番目: " + *reason;
        }
    }
    return std::nullopt;
}

ProblemSetDocument readProblemSetForEditing(std::string_view bytes) {
    ProblemSetDocument document;
    std::map<int, ProblemItem> bySlot;
    int amount = kMaxProblemItems;
    // A set saved as UTF-8 is edited as the reader reads it, in code page 932.
    forEachLine(textFileToCp932(bytes), [&](std::string_view raw) {
        const std::string_view line = trimmed(raw);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return;
        const std::string_view value = line.substr(equals + 1);
        const std::string_view kind = line.substr(0, 3);
        if (kind == "Tit") {
            document.title = Bytes(value);
        } else if (kind == "Amo") {
            if (const auto given = parseInteger(value); given && *given > 0) {
                amount = std::min(*given, kMaxProblemItems);
            }
        } else if (kind == "Tex" || kind == "Com") {
            const auto index = bracketIndex(line);
            if (!index || *index < 1 || *index > kMaxProblemItems) return;
            (kind == "Tex" ? bySlot[*index].text : bySlot[*index].comment) = Bytes(value);
        }
    });
    for (const auto& [index, item] : bySlot) {
        if (index <= amount && !isBlank(item)) {
            document.items.push_back(item);
        }
    }
    return document;
}

std::vector<ProblemItem> importProblemItems(std::string_view bytes) {
    // Tab, CR and LF are never part of a double-byte character, so the lines split as well in
    // code page 932 as in UTF-8.
    const Bytes text = textFileToCp932(bytes);
    std::vector<ProblemItem> items;
    forEachLine(text, [&](std::string_view line) {
        if (trimmed(line).empty()) return;
        const std::size_t tab = line.find('\t');
        const std::string_view comment =
            tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        items.push_back({Bytes(line.substr(0, tab)), trimmedLine(Bytes(comment))});
    });
    return items;
}

ImportedItems importProblemFile(FileSystem& files, const std::filesystem::path& path,
                                std::size_t room) {
    const FileSystem::ReadResult file = files.readFile(path, kMaxImportBytes);
    if (file.status == FileSystem::ReadStatus::TooLarge) {
        return {{},
                {importRefused("ファイルが大きすぎます（" + std::to_string(kMaxImportBytes / 1024) +
                                   "KB まで）",
                               path)}};
    }
    if (file.status != FileSystem::ReadStatus::Ok) {
        return {{}, {importRefused("ファイルを読めませんでした", path)}};
    }
    if (file.bytes.find('\0') != Bytes::npos) {
        return {{}, {importRefused("テキストファイルではありません（NUL 文字があります）", path)}};
    }
    const std::string_view kept = firstItemLines(file.bytes, room);
    ImportedItems result{importProblemItems(kept), {}};
    if (!trimmed(std::string_view(file.bytes).substr(kept.size())).empty()) {
        result.messages.push_back(
            infoMessage("問題は" + std::to_string(kMaxProblemItems) + "個までのため、" +
                        std::to_string(result.items.size()) + "個だけ読み込みました"));
    }
    return result;
}

}  // namespace kestrum
