#include "problem_sets/problem_set_rules.h"

#include "drill/lesson_catalogue.h"
#include "menu/problem_set_reader.h"

#include <algorithm>

namespace kestrum {

namespace {

// A line holds at most 96 bytes besides its line feed; "Comment[199]=" takes 13 of them.
constexpr std::size_t kMaxCommentBytes = 96 - 13;
constexpr std::size_t kMaxTitleBytes = 96 - 6;  // "Title="
constexpr std::size_t kMaxFileNameBytes = 255;
constexpr std::size_t kScratchExtraBytes = 5;  // "." before, ".tmp" after

// toCp932 turns what code page 932 lacks into NUL bytes.
bool isWholeCp932(const Bytes& bytes) {
    return bytes.find('\0') == Bytes::npos;
}

// Counted in bytes, which a learner knows as half-width characters.
std::string tooLong(std::size_t bytes, std::size_t limit) {
    return "長すぎます: " + std::to_string(bytes) + "字（半角" + std::to_string(limit) + "字まで）";
}

// The first character of `text` that a text may not hold, as UTF-8 (a double-byte character
// whole); empty for a control character or one code page 932 lacks (a NUL), which could not be
// seen.
std::string firstRefusedChar(const Bytes& text) {
    const auto refused = std::find_if(text.begin(), text.end(), [](char c) {
        return !IsProblemChar(static_cast<unsigned char>(c));
    });
    if (refused == text.end() || static_cast<unsigned char>(*refused) < 32) return {};
    const std::size_t at = static_cast<std::size_t>(refused - text.begin());
    const bool doubleByte =
        isLeadByte(static_cast<unsigned char>(*refused)) && at + 1 < text.size();
    return cp932ToUtf8(std::string_view(text).substr(at, doubleByte ? 2 : 1));
}

std::optional<std::string> textProblem(const Bytes& text) {
    if (text.empty()) return "問題文が空です";
    if (text.size() > static_cast<std::size_t>(kMaxWordLength)) {
        return tooLong(text.size(), kMaxWordLength);
    }
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return IsProblemChar(static_cast<unsigned char>(c)); })) {
        const std::string shown = firstRefusedChar(text);
        return shown.empty() ? std::string("使えない文字があります")
                             : "使えない文字「" + shown + "」があります";
    }
    if (text.back() == ' ') return "末尾の空白は読み込みで消えます";
    return std::nullopt;
}

std::optional<std::string> commentProblem(const Bytes& comment) {
    if (!isWholeCp932(comment)) return "コメントに Shift-JIS で書けない文字があります";
    if (comment.size() > kMaxCommentBytes) {
        return "コメントが" + tooLong(comment.size(), kMaxCommentBytes);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> itemProblem(const ProblemItem& item) {
    if (auto problem = textProblem(item.text)) return problem;
    return commentProblem(item.comment);
}

std::optional<RowFault> rowFault(const ProblemItem& item) {
    if (isBlank(item)) return std::nullopt;
    if (auto problem = textProblem(item.text)) return RowFault{RowFault::Part::Text, *problem};
    if (auto problem = commentProblem(item.comment)) {
        return RowFault{RowFault::Part::Comment, *problem};
    }
    return std::nullopt;
}

std::optional<std::string> titleProblem(const Bytes& title) {
    if (!isWholeCp932(title)) return "タイトルに Shift-JIS で書けない文字があります";
    if (title.size() > kMaxTitleBytes) return "タイトルが" + tooLong(title.size(), kMaxTitleBytes);
    return std::nullopt;
}

std::optional<std::string> setNameProblem(std::string_view name) {
    if (name.empty()) return "名前を入れてください";
    if (name.front() == ' ' || name.back() == ' ') return "名前の前後に空白は使えません";
    if (name == "." || name == "..") return "「.」と「..」は名前にできません";
    if (!IsSafeProblemSetName(name)) return "名前に使えない文字があります（/ \\ と制御文字）";
    const Bytes cp932 = utf8ToCp932(name);
    if (!isWholeCp932(cp932)) return "名前に Shift-JIS で書けない文字があります";
    if (cp932.size() > kMaxSetNameBytes) return "名前が" + tooLong(cp932.size(), kMaxSetNameBytes);
    // The file name is the UTF-8 name, where a Japanese character takes three bytes; the
    // hidden scratch copy written beside it is the longest.
    if (name.size() + kScratchExtraBytes > kMaxFileNameBytes) {
        return "名前がファイル名として長すぎます: UTF-8 で" + std::to_string(name.size()) +
               "バイト（" + std::to_string(kMaxFileNameBytes - kScratchExtraBytes) + "バイトまで）";
    }
    return std::nullopt;
}

std::string storedSetName(std::string_view typed) {
    const Bytes cp932 = utf8ToCp932(typed);
    return isWholeCp932(cp932) ? cp932ToUtf8(cp932) : std::string(typed);
}

Bytes titleFromName(std::string_view name) {
    Bytes title = utf8ToCp932(name);
    std::size_t kept = 0;
    while (kept < title.size()) {
        const std::size_t next =
            kept + (isLeadByte(static_cast<unsigned char>(title[kept])) ? 2 : 1);
        if (next > kMaxTitleBytes) break;
        kept = next;
    }
    title.resize(kept);
    return title;
}

Bytes trimmedCp932(std::string_view utf8) {
    return trimmedLine(utf8ToCp932(utf8));
}

Bytes trimmedLine(Bytes bytes) {
    // A NUL stands for a character code page 932 lacks: it stays, for the checks to find.
    const auto kept = [](char c) { return c == '\0' || static_cast<unsigned char>(c) > 32; };
    bytes.erase(std::find_if(bytes.rbegin(), bytes.rend(), kept).base(), bytes.end());
    bytes.erase(bytes.begin(), std::find_if(bytes.begin(), bytes.end(), kept));
    return bytes;
}

ProblemItem typedItem(std::string_view textUtf8, std::string_view commentUtf8) {
    return {utf8ToCp932(textUtf8), trimmedCp932(commentUtf8)};
}

bool isBlank(const ProblemItem& item) {
    return item.text.empty() && item.comment.empty();
}

}  // namespace kestrum
