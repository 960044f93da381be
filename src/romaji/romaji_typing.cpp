#include "romaji/romaji_typing.h"

namespace kestrum {

bool RomajiTyping::load(std::string_view item) {
    automaton_ = SpellingAutomaton::forItem(item);
    if (!automaton_) return false;
    state_ = automaton_->start();
    typed_ = 0;
    row_ = item;
    return true;
}

RomajiTyping::Judgement RomajiTyping::press(unsigned char key, bool caseMatters) {
    const auto shown = static_cast<unsigned char>(typed_ < row_.size() ? row_[typed_] : 0);
    if (!automaton_) return {Verdict::Miss, shown};
    const int next = automaton_->next(state_, key);
    if (next == SpellingAutomaton::kNoState) return {Verdict::Miss, shown};
    const unsigned char expected = automaton_->inItemCase(state_, key);
    if (caseMatters && key != expected) return {Verdict::CaseMiss, expected};
    state_ = next;
    ++typed_;
    const bool respelled = shown != expected;
    if (respelled) {
        row_.resize(typed_ - 1);
        row_.push_back(static_cast<char>(expected));
        row_ += automaton_->completion(state_);
    }
    return {Verdict::Hit, expected, respelled};
}

}  // namespace kestrum
