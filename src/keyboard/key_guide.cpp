#include "keyboard/key_guide.h"

#include <cstdint>
#include <string_view>

namespace kestrum {

namespace {

constexpr int kPlain = 0;
constexpr int kTyped = 1;
constexpr int kTarget = 2;

// Resolves to the hidden cell at row 1, column 10, so greying it for a plain guide shows nothing.
constexpr unsigned char kNoTypedKey = 255;

constexpr std::string_view kHomeKeys = "fjdksla;";

}  // namespace

KeyGuide::KeyGuide(KeyboardModel& model, const Settings& settings, const KeyboardState& capsLock,
                   const int& shift_down)
    : model_(model), settings_(settings), capsLock_(capsLock), shiftDown_(shift_down) {}

void KeyGuide::ShowGuide(unsigned char ch) {
    ShowErrorGuide(ch, kNoTypedKey, 0);
}

void KeyGuide::ShowErrorGuide(unsigned char expected, unsigned char typed, int case_only) {
    const KeyCell typedKey = model_.keyOf(typed);
    model_.setKeyBackground(typedKey, colours::kGrey);
    model_.setKeyState(typedKey, kTyped);

    const KeyCell expectedKey = model_.keyOf(expected);
    markTarget(expectedKey);
    const Finger finger = model_.key_finger(expectedKey);
    model_.setFingerLook(finger, {colours::kRed, colours::kWhite});
    model_.setFingerState(finger, kTarget);

    if (settings_.distinct != 1) return;
    if (case_only == 1) {
        if (shiftDown_ == 1) {
            // The wrong case came with Shift held: both Shift keys were wrong to press.
            for (const KeyCell shift : {KeyboardModel::kLeftShift, KeyboardModel::kRightShift}) {
                model_.setKeyBackground(shift, colours::kGrey);
                model_.setKeyState(shift, kTyped);
            }
        } else {
            markShiftFor(finger.hand);
        }
        return;
    }
    if (needsShift(expected)) markShiftFor(finger.hand);
}

void KeyGuide::MarkKey(unsigned char ch) {
    markTarget(model_.keyOf(ch));
}

void KeyGuide::ClearMarks(int mode) {
    for (int row = 0; row < KeyboardModel::kRows; ++row) {
        for (int col = 0; col < KeyboardModel::kCols; ++col) {
            const KeyCell cell{row, col};
            const int state = model_.key_state(cell);
            const bool clear = (state == kTyped && mode != 2) || (state == kTarget && mode != 1);
            if (!clear) continue;
            model_.setKeyBackground(cell, model_.key_colour(cell));
            model_.setKeyCaptionColour(cell, colours::kBlack);
            model_.setKeyState(cell, kPlain);
            if (state == kTarget) {
                const Finger finger = model_.key_finger(cell);
                model_.setFingerLook(finger, {colours::kViolet, model_.finger_colour(finger)});
                model_.setFingerState(finger, kPlain);
            }
        }
    }
}

void KeyGuide::blinkTick(int page) {
    if (blinkLit_ != 1) {
        blinkLit_ = 1;
        ClearMarks(3);
        return;
    }
    blinkLit_ = 0;
    switch (page) {
        case 0:
            break;
        case 3:
        case 4:
        case 7:
            MarkKey('f');
            MarkKey('j');
            break;
        case 5:
            for (const char c : {'f', 'd', 's', 'a'})
                MarkKey(static_cast<unsigned char>(c));
            break;
        case 6:
            for (const char c : {'j', 'k', 'l', ';'})
                MarkKey(static_cast<unsigned char>(c));
            break;
        case 9:
            // All four belong to the left little finger.
            for (const char c : {'1', 'q', 'a', 'z'})
                ShowGuide(static_cast<unsigned char>(c));
            break;
        case 13:
            ShowGuide('b');
            break;
        case 14:
            // B reached with the index finger while the little finger stays home on A.
            ShowErrorGuide('b', 'a', 0);
            break;
        default:
            if (page > 0) markHomeKeys();
            break;
    }
}

void KeyGuide::markTarget(KeyCell cell) {
    model_.setKeyCaptionColour(cell, colours::kRed);
    model_.setKeyBackground(cell, colours::kWhite);
    model_.setKeyState(cell, kTarget);
}

void KeyGuide::markShiftFor(int hand) {
    if (settings_.distinct_shift == 1) {
        markTarget(KeyboardModel::shiftKeyOf(hand));
        return;
    }
    markTarget(KeyboardModel::kRightShift);
    markTarget(KeyboardModel::kLeftShift);
}

bool KeyGuide::needsShift(unsigned char ch) const {
    // Only these exact values count: while Caps Lock is held down no letter needs Shift.
    const std::uint16_t caps = capsLock_.capsLockState();
    if (ch >= 'A' && ch <= 'Z') return caps == 0;
    if (ch >= 'a' && ch <= 'z') return caps == KeyboardState::kToggled;
    return false;
}

void KeyGuide::markHomeKeys() {
    for (const char c : kHomeKeys)
        MarkKey(static_cast<unsigned char>(c));
}

}  // namespace kestrum
