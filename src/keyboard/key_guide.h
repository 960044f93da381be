#pragma once

#include "keyboard/keyboard_model.h"
#include "platform/keyboard_state.h"
#include "records/settings.h"

namespace kestrum {

// Lights on the keyboard model which key to strike next, with which finger and which Shift key,
// greys a key struck by mistake, clears those marks, and blinks the keys of the home-position
// tutorial. Settings and the Caps Lock state are read at the moment of marking.
class KeyGuide {
public:
    // The guide keeps references to all four for its lifetime. shift_down is the drill's own
    // flag (1 while a Shift key is held); the guide only reads it.
    KeyGuide(KeyboardModel& model, const Settings& settings, const KeyboardState& capsLock,
             const int& shift_down);

    // The guide for the next character: its key as target, its finger label marked and, when
    // case is told apart and the letter needs Shift now, the Shift key(s) to use.
    void ShowGuide(unsigned char ch);

    // After a wrong key: the struck key greyed (state 1), then the guide for `expected`.
    // case_only is 1 when the right letter came in the wrong case: the Shift key(s) are then
    // marked as target, or greyed both when Shift was held.
    void ShowErrorGuide(unsigned char expected, unsigned char typed, int case_only);

    // Marks only the key of ch as target: no finger label, no Shift.
    void MarkKey(unsigned char ch);

    // Mode 1 removes the grey marks, mode 2 the target marks with their finger labels, any other
    // mode both. Finger labels are cleared only through the target keys that marked them.
    void ClearMarks(int mode);

    // One tick of the tutorial's blink timer: a lit tick marks the keys of `page` (the number of
    // pages shown so far), a dark tick clears every mark; the ticks alternate.
    void blinkTick(int page);

    // 1 when the next blink tick is a lit one. Starts at 1 and is never reset, so the tutorial
    // shown a second time carries on the alternation where it stopped.
    int blink_lit() const { return blinkLit_; }

private:
    void markTarget(KeyCell cell);
    void markShiftFor(int hand);
    bool needsShift(unsigned char ch) const;
    void markHomeKeys();

    KeyboardModel& model_;
    const Settings& settings_;
    const KeyboardState& capsLock_;
    const int& shiftDown_;
    int blinkLit_ = 1;
};

}  // namespace kestrum
