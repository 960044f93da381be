// The judgement of a romaji item that takes every input-method spelling.
#include "drill/drill_engine.h"

#include <cstddef>

namespace kestrum {

void DrillEngine::judgeSpelling(unsigned char key) {
    const RomajiTyping::Judgement judged = romaji_.press(key, settings_.distinct == 1);
    if (judged.verdict != RomajiTyping::Verdict::Hit) {
        onMiss(judged.expected, key, judged.verdict == RomajiTyping::Verdict::CaseMiss ? 1 : 0);
        return;
    }
    if (judged.respelled) {
        // The key chose another spelling: the cells from this key on show it; typed cells stay.
        state_.target = romaji_.row();
        for (auto i = static_cast<std::size_t>(state_.position - 1); i < view_.cells.size(); ++i)
            view_.cells[i].text = i < state_.target.size() ? Bytes(1, state_.target[i]) : Bytes();
    }
    onHit(judged.expected, key);
}

}  // namespace kestrum
