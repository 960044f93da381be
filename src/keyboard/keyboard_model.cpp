#include "keyboard/keyboard_model.h"

#include <cctype>
#include <string_view>
#include <utility>

namespace kestrum {

namespace {

// Captions of rows 1..3, columns 0..9; each letter key takes both cases.
constexpr std::array<std::string_view, 3> kLetterRows{"QWERTYUIOP", "ASDFGHJKL;", "ZXCVBNM,./"};
constexpr std::string_view kNumberRow = "1234567890-";
constexpr int kLetterCols = 10;
constexpr int kHiddenCol = 10;

// Columns 0..9 of rows 0..3 before the number-row corrections.
constexpr std::array<Finger, kLetterCols> kColumnFingers{{
    {KeyboardModel::kLeftHand, KeyboardModel::kLittle},
    {KeyboardModel::kLeftHand, KeyboardModel::kRing},
    {KeyboardModel::kLeftHand, KeyboardModel::kMiddle},
    {KeyboardModel::kLeftHand, KeyboardModel::kIndex},
    {KeyboardModel::kLeftHand, KeyboardModel::kIndex},
    {KeyboardModel::kRightHand, KeyboardModel::kIndex},
    {KeyboardModel::kRightHand, KeyboardModel::kIndex},
    {KeyboardModel::kRightHand, KeyboardModel::kMiddle},
    {KeyboardModel::kRightHand, KeyboardModel::kRing},
    {KeyboardModel::kRightHand, KeyboardModel::kLittle},
}};

// The zone colour of a finger; the right thumb has no zone.
constexpr Rgb zoneColour(Finger f) {
    switch (f.finger) {
        case KeyboardModel::kIndex:
            return f.hand == KeyboardModel::kLeftHand ? colours::kLightPink : colours::kPaleKhaki;
        case KeyboardModel::kMiddle:
            return colours::kLightYellow;
        case KeyboardModel::kRing:
            return colours::kLightGreen;
        case KeyboardModel::kLittle:
            return colours::kLightCyan;
        default:
            return f.hand == KeyboardModel::kLeftHand ? colours::kLightGrey : Rgb{};
    }
}

}  // namespace

KeyboardModel::KeyboardModel() {
    keyRow_.fill(kUnlisted.row);
    keyCol_.fill(kUnlisted.col);
    const auto mapChar = [this](char c, KeyCell cell) {
        keyRow_[static_cast<unsigned char>(c)] = cell.row;
        keyCol_[static_cast<unsigned char>(c)] = cell.col;
    };

    for (int col = 0; col < kCols; ++col) {
        const char c = kNumberRow[static_cast<std::size_t>(col)];
        at(captions_, {0, col}) = std::string(1, c);
        mapChar(c, {0, col});
    }
    for (int row = 1; row <= 3; ++row) {
        const std::string_view chars = kLetterRows[static_cast<std::size_t>(row - 1)];
        for (int col = 0; col < kLetterCols; ++col) {
            const char c = chars[static_cast<std::size_t>(col)];
            at(captions_, {row, col}) = std::string(1, c);
            mapChar(c, {row, col});
            mapChar(static_cast<char>(std::tolower(static_cast<unsigned char>(c))), {row, col});
        }
        at(hidden_, {row, kHiddenCol}) = true;
    }
    mapChar('@', {1, kHiddenCol});
    mapChar(':', {2, kHiddenCol});
    mapChar('\\', {3, kHiddenCol});

    at(captions_, kLeftShift) = "Shift";
    at(captions_, kRightShift) = "Shift";
    at(captions_, kSpace) = "[space]";
    mapChar(' ', kSpace);
    for (int col = 4; col < kCols; ++col)
        at(hidden_, {4, col}) = true;

    fingerCaptions_[kLeftHand] = {"人差し指", "中指", "薬指", "小指", "親指"};
    fingerCaptions_[kRightHand] = {"人差し指", "中指", "薬指", "小指", ""};

    for (auto& row : keyLook_) {
        for (Look& look : row)
            look.caption = colours::kBlack;
    }
}

void KeyboardModel::setFinger(KeyCell cell, Finger finger, Rgb colour) {
    at(keyFinger_, cell) = finger;
    at(keyColour_, cell) = colour;
}

void KeyboardModel::arrange() {
    for (int row = 0; row <= 3; ++row) {
        for (int col = 0; col < kLetterCols; ++col) {
            const Finger f = kColumnFingers[static_cast<std::size_t>(col)];
            setFinger({row, col}, f, zoneColour(f));
        }
    }
    setFinger(kLeftShift, {kLeftHand, kLittle}, colours::kLightCyan);
    setFinger(kRightShift, {kRightHand, kLittle}, colours::kLightCyan);
    setFinger(kSpace, {kLeftHand, kThumb}, colours::kLightGrey);
    at(keyColour_, kEnterFiller) = colours::kButtonFace;

    // The number row's zones sit one key further right than the letter rows' from "4" on.
    for (const auto& [col, finger] : std::array<std::pair<int, Finger>, 6>{{
             {3, {kLeftHand, kMiddle}},
             {5, {kLeftHand, kIndex}},
             {7, {kRightHand, kIndex}},
             {8, {kRightHand, kMiddle}},
             {9, {kRightHand, kRing}},
             {10, {kRightHand, kLittle}},
         }}) {
        setFinger({0, col}, finger, zoneColour(finger));
    }

    for (int hand = 0; hand < kHands; ++hand) {
        for (int finger = 0; finger < kFingers; ++finger) {
            const Finger f{hand, finger};
            at(fingerColour_, f) = zoneColour(f);
            at(fingerState_, f) = 0;
            at(fingerLook_, f) = {colours::kViolet, zoneColour(f)};
        }
    }

    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col) {
            at(keyLook_, {row, col}).background = at(keyColour_, {row, col});
        }
    }
}

const std::string& KeyboardModel::caption(KeyCell cell) const {
    return at(captions_, cell);
}

bool KeyboardModel::isHidden(KeyCell cell) const {
    return at(hidden_, cell);
}

const std::string& KeyboardModel::fingerCaption(Finger f) const {
    return at(fingerCaptions_, f);
}

}  // namespace kestrum
