// The judgement of a romaji item that takes every input-method spelling.
#include "drill/drill_engine.h"

#include <algorithm>
#include <cstddef>

namespace kestrum {

void DrillEngine::judgeSpelling(unsigned char key) {
    const RomajiTyping::Judgement judged = romaji_.press(key, settings_.distinct == 1);
    if (judged.verdict != RomajiTyping::Verdict::Hit) {
        onMiss(judged.expected, key, judged.verdict == RomajiTyping::Verdict::CaseMiss ? 1 : 0);
        return;
    }
    if (judged.respelled) state_.target = romaji_.row();
    onHit(judged.expected, key);
    // Past 25 keys the row scrolls just far enough to hold the next key and all that follows.
    const std::size_t typed = state_.typed.size();
    const std::size_t cells = view_.cells.size();
    const std::size_t scroll =
        state_.target.size() > cells ? std::min(typed, state_.target.size() - cells) : 0;
    if (!judged.respelled && scroll == rowScroll_) return;
    // A new spelling changes the row from this key on; a scroll moves every cell.
    const std::size_t first = scroll == rowScroll_ ? typed - 1 - scroll : 0;
    rowScroll_ = scroll;
    for (std::size_t i = first; i < cells; ++i) {
        CharCell& cell = view_.cells[i];
        const std::size_t at = scroll + i;
        cell.typed = at < typed;
        if (at >= state_.target.size()) {
            cell.text.clear();
        } else {
            cell.text.assign(1, cell.typed && state_.target[at] == ' ' ? '_' : state_.target[at]);
        }
    }
}

}  // namespace kestrum
