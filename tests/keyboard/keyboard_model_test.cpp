#include "keyboard/keyboard_model.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using M = KeyboardModel;

class KeyboardModelTest : public ::testing::Test {
protected:
    KeyboardModelTest() { model.arrange(); }

    KeyCell key(char c) const { return model.keyOf(static_cast<unsigned char>(c)); }
    Finger fingerOf(char c) const { return model.key_finger(key(c)); }

    KeyboardModel model;
};

TEST_F(KeyboardModelTest, LettersOfBothCasesShareTheirKey) {
    EXPECT_EQ(key('a'), (KeyCell{2, 0}));
    EXPECT_EQ(key('A'), (KeyCell{2, 0}));
    EXPECT_EQ(fingerOf('a'), (Finger{M::kLeftHand, M::kLittle}));
    EXPECT_EQ(key('q'), (KeyCell{1, 0}));
    EXPECT_EQ(key('P'), (KeyCell{1, 9}));
    EXPECT_EQ(key('m'), (KeyCell{3, 6}));
    for (char c = 'a'; c <= 'z'; ++c) {
        const char upper = static_cast<char>(c - 'a' + 'A');
        EXPECT_EQ(key(c), key(upper)) << c;
        EXPECT_EQ(model.caption(key(c)), std::string(1, upper)) << c;
        EXPECT_FALSE(model.isHidden(key(c))) << c;
    }
}

TEST_F(KeyboardModelTest, DigitsAndUnshiftedSymbols) {
    for (int col = 0; col < 10; ++col) {
        const char digit = static_cast<char>('0' + (col + 1) % 10);
        EXPECT_EQ(key(digit), (KeyCell{0, col})) << digit;
    }
    EXPECT_EQ(key('-'), (KeyCell{0, 10}));
    EXPECT_EQ(key(';'), (KeyCell{2, 9}));
    EXPECT_EQ(key(','), (KeyCell{3, 7}));
    EXPECT_EQ(key('.'), (KeyCell{3, 8}));
    EXPECT_EQ(key('/'), (KeyCell{3, 9}));
    EXPECT_EQ(key(' '), M::kSpace);
    EXPECT_EQ(fingerOf(' '), (Finger{M::kLeftHand, M::kThumb}));
}

TEST_F(KeyboardModelTest, AtColonAndBackslashResolveToHiddenCellsOfTheLeftIndexFinger) {
    EXPECT_EQ(key('@'), (KeyCell{1, 10}));
    EXPECT_EQ(key(':'), (KeyCell{2, 10}));
    EXPECT_EQ(key('\\'), (KeyCell{3, 10}));
    for (const char c : {'@', ':', '\\'}) {
        EXPECT_TRUE(model.isHidden(key(c))) << c;
        EXPECT_EQ(fingerOf(c), (Finger{M::kLeftHand, M::kIndex})) << c;
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

TEST_F(KeyboardModelTest, NumberRowZonesSitOneKeyRightFromFourOn) {
    const auto expectKey = [&](char c, Finger finger, Rgb colour) {
        EXPECT_EQ(fingerOf(c), finger) << c;
        EXPECT_EQ(model.key_colour(key(c)), colour) << c;
    };
    expectKey('3', {M::kLeftHand, M::kMiddle}, colours::kLightYellow);
    expectKey('4', {M::kLeftHand, M::kMiddle}, colours::kLightYellow);
    expectKey('5', {M::kLeftHand, M::kIndex}, colours::kLightPink);
    expectKey('6', {M::kLeftHand, M::kIndex}, colours::kLightPink);
    expectKey('7', {M::kRightHand, M::kIndex}, colours::kPaleKhaki);
    expectKey('8', {M::kRightHand, M::kIndex}, colours::kPaleKhaki);
    expectKey('9', {M::kRightHand, M::kMiddle}, colours::kLightYellow);
    expectKey('0', {M::kRightHand, M::kRing}, colours::kLightGreen);
    expectKey('-', {M::kRightHand, M::kLittle}, colours::kLightCyan);
    // The letter rows keep the plain boundary.
    expectKey('r', {M::kLeftHand, M::kIndex}, colours::kLightPink);
    expectKey('y', {M::kRightHand, M::kIndex}, colours::kPaleKhaki);
    expectKey('o', {M::kRightHand, M::kRing}, colours::kLightGreen);
}

TEST_F(KeyboardModelTest, SpecialKeysAndShiftOfEachHand) {
    EXPECT_EQ(model.key_finger(M::kLeftShift), (Finger{M::kLeftHand, M::kLittle}));
    EXPECT_EQ(model.key_finger(M::kRightShift), (Finger{M::kRightHand, M::kLittle}));
    EXPECT_EQ(model.key_colour(M::kSpace), colours::kLightGrey);
    EXPECT_EQ(model.key_colour(M::kEnterFiller), colours::kButtonFace);
    EXPECT_EQ(M::shiftKeyOf(M::kLeftHand), M::kRightShift);
    EXPECT_EQ(M::shiftKeyOf(M::kRightHand), M::kLeftShift);
    for (int col = 4; col < M::kCols; ++col)
        EXPECT_TRUE(model.isHidden({4, col}));
    EXPECT_FALSE(model.isHidden(M::kEnterFiller));
}

TEST_F(KeyboardModelTest, FingerLabelsArePlainAfterALayout) {
    EXPECT_EQ(model.fingerCaption({M::kLeftHand, M::kLittle}), "小指");
    EXPECT_EQ(model.fingerCaption({M::kRightHand, M::kIndex}), "人差し指");
    EXPECT_EQ(model.fingerCaption({M::kLeftHand, M::kThumb}), "親指");
    EXPECT_TRUE(M::isFingerHidden({M::kRightHand, M::kThumb}));
    EXPECT_FALSE(M::isFingerHidden({M::kLeftHand, M::kThumb}));
    EXPECT_EQ(model.fingerLook({M::kRightHand, M::kIndex}),
              (Look{colours::kViolet, colours::kPaleKhaki}));
    EXPECT_EQ(model.fingerLook({M::kLeftHand, M::kThumb}),
              (Look{colours::kViolet, colours::kLightGrey}));
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
