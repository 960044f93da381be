#include "keyboard/keyboard_model.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using M = KeyboardModel;

class KeyboardModelTest : public ::testing::Test {
protected:
    KeyboardModelTest() { model.arrange(); }

    KeyCell key(char c) const { return model.keyOf(static_cast<unsigned char>(c)); }

    KeyboardModel model;
};

// The number row's zones sit one key further right than the letter rows' from "4" on; "@", ":"
// and "\" have hidden cells of the left index finger.
TEST_F(KeyboardModelTest, KeysFingersAndZoneColours) {
    struct Row {
        char ch;
        KeyCell cell;
        int hand, finger;
        Rgb colour;
        bool hidden;
    };
    constexpr int L = M::kLeftHand, R = M::kRightHand;
    const Row rows[] = {
        {'a', {2, 0}, L, M::kLittle, colours::kLightCyan, false},
        {'q', {1, 0}, L, M::kLittle, colours::kLightCyan, false},
        {'P', {1, 9}, R, M::kLittle, colours::kLightCyan, false},
        {'m', {3, 6}, R, M::kIndex, colours::kPaleKhaki, false},
        {'r', {1, 3}, L, M::kIndex, colours::kLightPink, false},
        {'y', {1, 5}, R, M::kIndex, colours::kPaleKhaki, false},
        {'o', {1, 8}, R, M::kRing, colours::kLightGreen, false},
        {'1', {0, 0}, L, M::kLittle, colours::kLightCyan, false},
        {'3', {0, 2}, L, M::kMiddle, colours::kLightYellow, false},
        {'4', {0, 3}, L, M::kMiddle, colours::kLightYellow, false},
        {'5', {0, 4}, L, M::kIndex, colours::kLightPink, false},
        {'6', {0, 5}, L, M::kIndex, colours::kLightPink, false},
        {'7', {0, 6}, R, M::kIndex, colours::kPaleKhaki, false},
        {'8', {0, 7}, R, M::kIndex, colours::kPaleKhaki, false},
        {'9', {0, 8}, R, M::kMiddle, colours::kLightYellow, false},
        {'0', {0, 9}, R, M::kRing, colours::kLightGreen, false},
        {'-', {0, 10}, R, M::kLittle, colours::kLightCyan, false},
        {';', {2, 9}, R, M::kLittle, colours::kLightCyan, false},
        {',', {3, 7}, R, M::kMiddle, colours::kLightYellow, false},
        {'.', {3, 8}, R, M::kRing, colours::kLightGreen, false},
        {'/', {3, 9}, R, M::kLittle, colours::kLightCyan, false},
        {' ', M::kSpace, L, M::kThumb, colours::kLightGrey, false},
        {'@', {1, 10}, L, M::kIndex, colours::kLightPink, true},
        {':', {2, 10}, L, M::kIndex, colours::kLightPink, true},
        {'\\', {3, 10}, L, M::kIndex, colours::kLightPink, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ch);
        EXPECT_EQ(key(r.ch), r.cell);
        EXPECT_EQ(model.key_finger(r.cell), (Finger{r.hand, r.finger}));
        EXPECT_EQ(model.isHidden(r.cell), r.hidden);
        if (!r.hidden) {
            EXPECT_EQ(model.key_colour(r.cell), r.colour);
        }
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        const char upper = static_cast<char>(c - 'a' + 'A');
        EXPECT_EQ(key(c), key(upper)) << c;
        EXPECT_EQ(model.caption(key(c)), std::string(1, upper)) << c;
    }
}

// Shifted symbols, control codes and both halves of a double-byte character have no key of
// their own; no byte ever reaches a Shift key or the Enter filler.
TEST_F(KeyboardModelTest, UnlistedBytesResolveToTheHiddenCellOfTheQRow) {
    for (const unsigned char b : {'!', '?', '(', '+', '"', '\0', '\t', '\r', '\x1b', '\x7f'})
        EXPECT_EQ(model.keyOf(b), M::kUnlisted) << int(b);
    for (int b = 0; b < 256; ++b) {
        const KeyCell cell = model.keyOf(static_cast<unsigned char>(b));
        if (b >= 128) {
            EXPECT_EQ(cell, M::kUnlisted) << b;
        }
        EXPECT_NE(cell, M::kLeftShift);
        EXPECT_NE(cell, M::kRightShift);
        EXPECT_NE(cell, M::kEnterFiller);
    }
}

TEST_F(KeyboardModelTest, SpecialKeysAndFingerLabels) {
    EXPECT_EQ(model.key_finger(M::kLeftShift), (Finger{M::kLeftHand, M::kLittle}));
    EXPECT_EQ(model.key_finger(M::kRightShift), (Finger{M::kRightHand, M::kLittle}));
    EXPECT_EQ(model.key_colour(M::kEnterFiller), colours::kButtonFace);
    EXPECT_EQ(M::shiftKeyOf(M::kLeftHand), M::kRightShift);
    EXPECT_EQ(M::shiftKeyOf(M::kRightHand), M::kLeftShift);
    for (int col = 4; col < M::kCols; ++col)
        EXPECT_TRUE(model.isHidden({4, col}));
    EXPECT_FALSE(model.isHidden(M::kEnterFiller));
    EXPECT_EQ(model.fingerCaption({M::kLeftHand, M::kLittle}), "小指");
    EXPECT_EQ(model.fingerCaption({M::kRightHand, M::kIndex}), "人差し指");
    EXPECT_EQ(model.fingerCaption({M::kLeftHand, M::kThumb}), "親指");
    EXPECT_TRUE(M::isFingerHidden({M::kRightHand, M::kThumb}));
    EXPECT_FALSE(M::isFingerHidden({M::kLeftHand, M::kThumb}));
}

TEST_F(KeyboardModelTest, ALayoutRestoresBackgroundsButKeepsKeyCaptionsAndStates) {
    const KeyCell d = key('d');
    const Finger middle{M::kLeftHand, M::kMiddle};
    model.setKeyBackground(d, colours::kWhite);
    model.setKeyCaptionColour(d, colours::kRed);
    model.setKeyState(d, 2);
    model.setFingerLook(middle, {colours::kRed, colours::kWhite});
    model.setFingerState(middle, 2);
    model.arrange();
    EXPECT_EQ(model.keyLook(d), (Look{colours::kLightYellow, colours::kRed}));
    EXPECT_EQ(model.key_state(d), 2);
    EXPECT_EQ(model.fingerLook(middle), (Look{colours::kViolet, colours::kLightYellow}));
    EXPECT_EQ(model.finger_state(middle), 0);
}

}  // namespace
}  // namespace kestrum
