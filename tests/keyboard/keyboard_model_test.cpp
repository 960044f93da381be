#include "keyboard/keyboard_model.h"

#include <gtest/gtest.h>

#include <cctype>

namespace kestrum {
namespace {

using M = KeyboardModel;

// Rows 0..3 by column; column 10 of the letter rows ("@", ":", "\") is hidden.
constexpr const char* kRows[] = {"1234567890-", "qwertyuiop@", "asdfghjkl;:", "zxcvbnm,./\\"};

// Every key by finger and zone colour: the number row's zones sit one key further right than
// the letter rows' from "4" on, and the hidden keys belong to the left index finger.
TEST(KeyboardModel, KeysFingersAndZoneColours) {
    constexpr int L = M::kLeftHand, R = M::kRightHand;
    const struct {
        Finger finger;
        Rgb colour;
        const char* keys;
    } zones[] = {
        {{L, M::kLittle}, colours::kLightCyan, "1qaz"},
        {{L, M::kRing}, colours::kLightGreen, "2wsx"},
        {{L, M::kMiddle}, colours::kLightYellow, "34edc"},
        {{L, M::kIndex}, colours::kLightPink, "56rfvtgb@:\\"},
        {{R, M::kIndex}, colours::kPaleKhaki, "78yhnujm"},
        {{R, M::kMiddle}, colours::kLightYellow, "9ik,"},
        {{R, M::kRing}, colours::kLightGreen, "0ol."},
        {{R, M::kLittle}, colours::kLightCyan, "-p;/"},
        {{L, M::kThumb}, colours::kLightGrey, " "},
    };
    KeyboardModel model;
    model.arrange();
    int keys = 0;
    for (const auto& zone : zones) {
        for (const char* c = zone.keys; *c != '\0'; ++c, ++keys) {
            SCOPED_TRACE(*c);
            const KeyCell cell = model.keyOf(static_cast<unsigned char>(*c));
            EXPECT_EQ(model.key_finger(cell), zone.finger);
            EXPECT_EQ(model.isHidden(cell) ? zone.colour : model.key_colour(cell), zone.colour);
        }
    }
    EXPECT_EQ(keys, 4 * 11 + 1);  // every key of the four rows and the space
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < M::kCols; ++col) {
            const auto c = static_cast<unsigned char>(kRows[row][col]);
            SCOPED_TRACE(c);
            EXPECT_EQ(model.keyOf(c), (KeyCell{row, col}));
            EXPECT_EQ(model.isHidden({row, col}), row > 0 && col == 10);
            const auto upper = static_cast<unsigned char>(std::toupper(c));
            EXPECT_EQ(model.keyOf(upper), (KeyCell{row, col}));  // a letter takes both cases
            if (row == 0 || col < 10) {
                EXPECT_EQ(model.caption({row, col}), std::string(1, upper));
            }
        }
    }
    EXPECT_EQ(model.keyOf(' '), M::kSpace);
}

// Shifted symbols, control codes and both halves of a double-byte character have no key of
// their own and resolve to the hidden cell of the Q row.
TEST(KeyboardModel, UnlistedBytesResolveToTheHiddenCellOfTheQRow) {
    const KeyboardModel model;
    const std::string listed = std::string(kRows[0]) + kRows[1] + kRows[2] + kRows[3] + " ";
    for (int b = 1; b < 256; ++b) {
        if (listed.find(static_cast<char>(b < 128 ? std::tolower(b) : b)) == std::string::npos) {
            EXPECT_EQ(model.keyOf(static_cast<unsigned char>(b)), M::kUnlisted) << b;
        }
    }
    EXPECT_EQ(model.keyOf('\0'), M::kUnlisted);
}

// The special keys; a new layout restores backgrounds and finger labels but keeps key captions'
// colours and states.
TEST(KeyboardModel, SpecialKeysFingerLabelsAndANewLayout) {
    KeyboardModel model;
    model.arrange();
    EXPECT_EQ(std::pair(model.key_finger(M::kLeftShift), model.key_finger(M::kRightShift)),
              std::pair(Finger{M::kLeftHand, M::kLittle}, Finger{M::kRightHand, M::kLittle}));
    EXPECT_EQ(model.key_colour(M::kEnterFiller), colours::kButtonFace);
    for (int col = 0; col < M::kCols; ++col)
        EXPECT_EQ(model.isHidden({4, col}), col >= 4) << col;
    EXPECT_EQ(model.fingerCaption({M::kRightHand, M::kIndex}), "人差し指");

    const KeyCell d = model.keyOf('d');
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
