#include "romaji/romaji_typing.h"

#include "platform/text.h"
#include "romaji/romaji_reader.h"

#include <algorithm>

namespace kestrum {

namespace {

bool isUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}

}  // namespace

bool RomajiTyping::load(std::string_view item) {
    automaton_.reset();
    const bool anyUpper = std::any_of(
        item.begin(), item.end(), [](char c) { return isUpper(static_cast<unsigned char>(c)); });
    const bool anyLower = std::any_of(
        item.begin(), item.end(), [](char c) { return isLower(static_cast<unsigned char>(c)); });
    if (anyUpper && anyLower) return false;
    std::string text(item);
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(asciiLower(static_cast<unsigned char>(c)));
    });
    const std::optional<std::vector<ReadUnit>> units = readRomaji(text);
    if (!units || units->empty()) return false;
    automaton_.emplace(*units);
    state_ = automaton_->start();
    typed_ = 0;
    row_ = item;
    upperCase_ = anyUpper;
    return true;
}

unsigned char RomajiTyping::inItemCase(unsigned char key) const {
    const unsigned char l = asciiLower(key);
    return upperCase_ && isLower(l) ? static_cast<unsigned char>(l - 'a' + 'A') : l;
}

RomajiTyping::Judgement RomajiTyping::press(unsigned char key, bool caseMatters) {
    const auto shown = static_cast<unsigned char>(typed_ < row_.size() ? row_[typed_] : 0);
    if (!automaton_) return {Verdict::Miss, shown};
    const int next = automaton_->next(state_, asciiLower(key));
    if (next == SpellingAutomaton::kNoState) return {Verdict::Miss, shown};
    const unsigned char expected = inItemCase(key);
    if (caseMatters && key != expected) return {Verdict::CaseMiss, expected};
    state_ = next;
    ++typed_;
    const bool respelled = asciiLower(shown) != asciiLower(key);
    if (respelled) {
        row_.resize(typed_ - 1);
        row_.push_back(static_cast<char>(expected));
        for (const char c : automaton_->completion(state_))
            row_.push_back(static_cast<char>(inItemCase(static_cast<unsigned char>(c))));
    }
    return {Verdict::Hit, expected, respelled};
}

}  // namespace kestrum
