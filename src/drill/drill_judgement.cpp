// The key handlers of DrillEngine: the start key, the judgement of every later key and the
// Shift and Caps Lock tracking.
#include "drill/drill_engine.h"

#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "records/settings.h"

#include <cstddef>
#include <string_view>

namespace kestrum {

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(static_cast<unsigned char>(a[i])) !=
            asciiLower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

void DrillEngine::FormKeyPress(unsigned char key) {
    if (state_.accept_key == 0) return;
    state_.accept_key = 0;
    if (state_.tutorial_mode == 1) {
        // The tutorial is never a run: the way back stays a tab stop, so that a learner without
        // a mouse can leave it.
        state_.accept_key = 1;
        tutorial_.keyPress(key);
        showTutorialPage();
        return;
    }
    if (state_.started == 0) {
        startRun();  // the start key itself is not judged
        return;
    }
    judge(key);
}

void DrillEngine::FormKeyDown(int virtualKey, bool shift) {
    if (virtualKey == kVirtualKeyCapsLock && state_.started == 1) {
        // The Shift hint of the guide depends on Caps Lock, so it follows the new state.
        guide_.ClearMarks(2);
        const int expected = expectedChar();
        if (settings_.guide == 0)
            guide_.ShowGuide(static_cast<unsigned char>(expected < 0 ? 0 : expected));
    }
    state_.shift_down = shift ? 1 : 0;
}

void DrillEngine::FormKeyUp(int /*virtualKey*/, bool shift) {
    state_.shift_down = shift ? 1 : 0;
}

int DrillEngine::expectedChar() const {
    const auto index = static_cast<std::size_t>(state_.position - 1);
    if (state_.position < 1 || index >= state_.target.size()) return -1;
    return static_cast<unsigned char>(state_.target[index]);
}

void DrillEngine::judge(unsigned char key) {
    state_.started = 0;
    if (state_.stopwatch_armed == 1) {
        state_.start_tick = clock_.tickCount();
        state_.stopwatch_armed = 0;
    }
    host_.stopTimer(DrillTimer::timer_target);
    host_.stopTimer(DrillTimer::timer_error);
    guide_.ClearMarks(3);
    if (spellingsActive_) {
        judgeSpelling(key);
        return;
    }

    // Past the end of an item nothing can be right; the counters then file the key under byte 0.
    const int expectedValue = expectedChar();
    const bool hasExpected = expectedValue >= 0;
    const auto expected = static_cast<unsigned char>(hasExpected ? expectedValue : 0);
    const bool sameLetter = hasExpected && asciiLower(key) == asciiLower(expected);
    const bool exact = hasExpected && key == expected;
    if (settings_.distinct == 1 ? exact : sameLetter) {
        onHit(expected, key);
    } else {
        onMiss(expected, key, settings_.distinct == 1 && sameLetter ? 1 : 0);
    }
}

void DrillEngine::onMiss(unsigned char expected, unsigned char key, int case_only) {
    if (settings_.sound != 2) sound_.play("ERROR");
    host_.startTimer(DrillTimer::timer_error, kErrorIntervalMs);
    if (settings_.guide != 3) guide_.ShowErrorGuide(expected, key, case_only);
    ++state_.miss_counts[expected];
    ++state_.key_count;
    state_.started = 1;
    state_.accept_key = 1;
}

void DrillEngine::onHit(unsigned char expected, unsigned char key) {
    ++state_.hit_counts[expected];
    if (settings_.sound == 0) sound_.play("PUSH");
    state_.typed.push_back(static_cast<char>(key));
    const auto cellIndex = static_cast<std::size_t>(state_.position - 1) - rowScroll_;
    if (cellIndex < view_.cells.size()) {
        CharCell& cell = view_.cells[cellIndex];
        if (expected == ' ') cell.text = "_";  // a typed blank stays visible
        cell.typed = true;
    }
    ++state_.position;
    if (const int next = expectedChar(); next >= 0) guideNext(static_cast<unsigned char>(next));
    ++state_.key_count;

    if (sameLetters(state_.typed, state_.target)) {
        // The item is done: keys stay dropped until the pause has let the last red key show.
        pauseStart_ = clock_.tickCount();
        host_.startTimer(DrillTimer::pause, kPauseMs);
        return;
    }
    state_.started = 1;
    state_.accept_key = 1;
}

void DrillEngine::guideNext(unsigned char character) {
    if (settings_.guide == 0) {
        guide_.ShowGuide(character);
    } else if (settings_.guide == 1) {
        state_.guide_char = character;
        host_.startTimer(DrillTimer::timer_target, kTargetIntervalMs);
    }
}

}  // namespace kestrum
