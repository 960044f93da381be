#include "keyboard/keyboard_model.h"
#include "keyboard/key_marks_text.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

namespace kestrum {
namespace {

using M = KeyboardModel;

// Every key's cell, finger and zone colour (data/keyboard_keys.tsv); a letter takes both cases
// and is captioned in capitals. Every other byte, double-byte halves included, resolves to the
// hidden cell of the Q row.
TEST(KeyboardModel, KeysFingersZoneColoursAndANewLayout) {
    const std::map<std::string, Rgb> colour = {
        {"LightCyan", colours::kLightCyan},     {"LightGreen", colours::kLightGreen},
        {"LightYellow", colours::kLightYellow}, {"LightPink", colours::kLightPink},
        {"PaleKhaki", colours::kPaleKhaki},     {"LightGrey", colours::kLightGrey}};
    const std::map<std::string, int> finger = {{"little", M::kLittle},
                                               {"ring", M::kRing},
                                               {"middle", M::kMiddle},
                                               {"index", M::kIndex},
                                               {"thumb", M::kThumb}};
    KeyboardModel model;
    model.arrange();
    const auto rows = testing::tableRows("keyboard_keys.tsv");
    ASSERT_EQ(rows.size(), 4 * 11 + 1u);
    std::string listed;
    for (const std::vector<std::string>& r : rows) {
        SCOPED_TRACE(r[0]);
        const auto key = static_cast<unsigned char>(r[0][0]);
        const KeyCell cell{std::stoi(r[1]), std::stoi(r[2])};
        listed += r[0];
        EXPECT_EQ(std::pair(model.keyOf(key), model.keyOf(std::toupper(key))),
                  std::pair(cell, cell));
        EXPECT_EQ(model.key_finger(cell),
                  (Finger{r[3] == "L" ? M::kLeftHand : M::kRightHand, finger.at(r[4])}));
        EXPECT_EQ(model.isHidden(cell), r[5] == "hidden");
        if (r[5] == "hidden") continue;
        EXPECT_EQ(model.key_colour(cell), colour.at(r[5]));
        if (key != ' ') {
            EXPECT_EQ(model.caption(cell), std::string(1, static_cast<char>(std::toupper(key))));
        }
    }
    for (int b = 0; b < 256; ++b) {
        if (listed.find(static_cast<char>(b < 128 ? std::tolower(b) : b)) == std::string::npos) {
            EXPECT_EQ(model.keyOf(static_cast<unsigned char>(b)), M::kUnlisted) << b;
        }
    }
    // The special keys; a new layout restores backgrounds and finger labels but keeps key
    // captions' colours and states.
    EXPECT_EQ(std::pair(model.key_finger(M::kLeftShift), model.key_finger(M::kRightShift)),
              std::pair(Finger{M::kLeftHand, M::kLittle}, Finger{M::kRightHand, M::kLittle}));
    EXPECT_EQ(model.key_colour(M::kEnterFiller), colours::kButtonFace);
    for (int col = 0; col < M::kCols; ++col)
        EXPECT_EQ(model.isHidden({4, col}), col >= 4) << col;
    EXPECT_EQ(model.fingerCaption({M::kRightHand, M::kIndex}), "人差し指");
    EXPECT_EQ(model.fingerLook({M::kLeftHand, M::kThumb}),
              (Look{colours::kViolet, colours::kLightGrey}));

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

// What a screen reader hears of the marks: the keys to type next in keyboard order, the fingers
// marked for them, then the wrongly struck key; the Shift keys and the space bar by name, and
// nothing for a mark on a key that is never drawn.
TEST(KeyMarksText, NextKeysTheirFingersAndAWrongKey) {
    KeyboardModel model;
    model.arrange();
    EXPECT_EQ(keyMarksText(model), "");
    model.setKeyState(M::kRightShift, 2);
    model.setKeyState(model.keyOf('f'), 2);
    model.setKeyState(model.keyOf('@'), 2);
    model.setFingerState({M::kRightHand, M::kLittle}, 2);
    model.setFingerState({M::kLeftHand, M::kIndex}, 2);
    model.setKeyState(model.keyOf('j'), 1);
    model.setKeyState(M::kSpace, 1);
    EXPECT_EQ(keyMarksText(model),
              "次のキー: F、右Shift、左手の人差し指、右手の小指。間違えたキー: J、スペース。");
}

}  // namespace
}  // namespace kestrum
