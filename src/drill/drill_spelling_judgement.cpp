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
    if (judged.respelled || state_.target.size() > view_.cells.size()) showRow();
}

// The cells show the row from its first byte, or, when the learner's spelling is longer than
// the cells, scrolled just far enough to hold the next key and everything after it that fits.
void DrillEngine::showRow() {
    const std::size_t typed = state_.typed.size();
    const std::size_t cells = view_.cells.size();
    const std::size_t scroll =
        state_.target.size() > cells ? std::min(typed, state_.target.size() - cells) : 0;
    for (std::size_t i = 0; i < cells; ++i) {
        CharCell& cell = view_.cells[i];
        const std::size_t at = scroll + i;
        cell.typed = at < typed;
        cell.text = at >= state_.target.size()               ? Bytes()
                    : cell.typed && state_.target[at] == ' ' ? Bytes("_")
                                                             : Bytes(1, state_.target[at]);
    }
}

}  // namespace kestrum
