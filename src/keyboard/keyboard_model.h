#pragma once

#include "keyboard/rgb.h"

#include <array>
#include <cstddef>
#include <string>

namespace kestrum {

// One cell of the 5 x 11 key grid: row 0 numbers, 1 Q row, 2 A row, 3 Z row, 4 special keys.
struct KeyCell {
    int row = 0;
    int col = 0;

    bool operator==(const KeyCell&) const = default;
};

// Hand 0 left, 1 right; finger 0 index, 1 middle, 2 ring, 3 little, 4 thumb.
struct Finger {
    int hand = 0;
    int finger = 0;

    bool operator==(const Finger&) const = default;
};

// How a key or a finger label is drawn at this moment.
struct Look {
    Rgb background;
    Rgb caption;

    bool operator==(const Look&) const = default;
};

// The on-screen keyboard as data: captions, which cells are hidden, the character map, the
// finger and zone colour of every key, the finger labels, the mark states and the current look
// of every key and label. One instance for the whole run; it does no drawing.
class KeyboardModel {
public:
    static constexpr int kRows = 5;
    static constexpr int kCols = 11;
    static constexpr int kHands = 2;
    static constexpr int kFingers = 5;

    static constexpr KeyCell kLeftShift{4, 0};
    static constexpr KeyCell kRightShift{4, 1};
    static constexpr KeyCell kSpace{4, 2};
    static constexpr KeyCell kEnterFiller{4, 3};
    // Where every byte that the grid does not list resolves (hidden, left index finger).
    static constexpr KeyCell kUnlisted{1, 10};

    static constexpr int kLeftHand = 0;
    static constexpr int kRightHand = 1;
    static constexpr int kIndex = 0;
    static constexpr int kMiddle = 1;
    static constexpr int kRing = 2;
    static constexpr int kLittle = 3;
    static constexpr int kThumb = 4;

    // Captions, hidden cells and the character map; every state 0, every colour and finger
    // still zero (left index) until arrange() runs.
    KeyboardModel();

    // The fingers-and-colours part of a layout: rewrites every key_finger and key_colour, gives
    // every key its key_colour as background (caption colours and key_state stay as they are)
    // and puts every finger label back to plain look and state 0.
    void arrange();

    // Caption as UTF-8 (empty for the Enter filler and the unused cells).
    const std::string& caption(KeyCell cell) const;
    // Hidden cells take part in look-ups and marking but are never drawn.
    bool isHidden(KeyCell cell) const;

    // The character map; a byte is always taken unsigned, so every look-up stays in the table.
    int key_row(unsigned char byte) const { return keyRow_[byte]; }
    int key_col(unsigned char byte) const { return keyCol_[byte]; }
    KeyCell keyOf(unsigned char byte) const { return {key_row(byte), key_col(byte)}; }

    Finger key_finger(KeyCell cell) const { return at(keyFinger_, cell); }
    Rgb key_colour(KeyCell cell) const { return at(keyColour_, cell); }
    // 0 plain, 1 typed (grey), 2 target.
    int key_state(KeyCell cell) const { return at(keyState_, cell); }
    Look keyLook(KeyCell cell) const { return at(keyLook_, cell); }

    // The Shift key that shifts a character of hand h: the other hand's Shift.
    static KeyCell shiftKeyOf(int hand) { return hand == kLeftHand ? kRightShift : kLeftShift; }

    const std::string& fingerCaption(Finger f) const;
    // Only the right-hand thumb label is hidden.
    static bool isFingerHidden(Finger f) { return f == Finger{kRightHand, kThumb}; }
    Rgb finger_colour(Finger f) const { return at(fingerColour_, f); }
    // 0 plain, 2 marked.
    int finger_state(Finger f) const { return at(fingerState_, f); }
    Look fingerLook(Finger f) const { return at(fingerLook_, f); }

    // The marking operations of the key guide write through these; each changes only what it
    // names.
    void setKeyState(KeyCell cell, int state) { at(keyState_, cell) = state; }
    void setKeyBackground(KeyCell cell, Rgb colour) { at(keyLook_, cell).background = colour; }
    void setKeyCaptionColour(KeyCell cell, Rgb colour) { at(keyLook_, cell).caption = colour; }
    void setFingerState(Finger f, int state) { at(fingerState_, f) = state; }
    void setFingerLook(Finger f, Look look) { at(fingerLook_, f) = look; }

private:
    template <typename T>
    using Grid = std::array<std::array<T, kCols>, kRows>;
    template <typename T>
    using Hands = std::array<std::array<T, kFingers>, kHands>;

    template <typename T>
    static T& at(Grid<T>& grid, KeyCell c) {
        return grid.at(static_cast<std::size_t>(c.row)).at(static_cast<std::size_t>(c.col));
    }
    template <typename T>
    static const T& at(const Grid<T>& grid, KeyCell c) {
        return grid.at(static_cast<std::size_t>(c.row)).at(static_cast<std::size_t>(c.col));
    }
    template <typename T>
    static T& at(Hands<T>& hands, Finger f) {
        return hands.at(static_cast<std::size_t>(f.hand)).at(static_cast<std::size_t>(f.finger));
    }
    template <typename T>
    static const T& at(const Hands<T>& hands, Finger f) {
        return hands.at(static_cast<std::size_t>(f.hand)).at(static_cast<std::size_t>(f.finger));
    }

    void setFinger(KeyCell cell, Finger finger, Rgb colour);

    Grid<std::string> captions_;
    Grid<bool> hidden_{};
    Grid<Finger> keyFinger_{};
    Grid<Rgb> keyColour_{};
    Grid<int> keyState_{};
    Grid<Look> keyLook_{};
    Hands<std::string> fingerCaptions_;
    Hands<Rgb> fingerColour_{};
    Hands<int> fingerState_{};
    Hands<Look> fingerLook_{};
    std::array<int, 256> keyRow_{};
    std::array<int, 256> keyCol_{};
};

}  // namespace kestrum
