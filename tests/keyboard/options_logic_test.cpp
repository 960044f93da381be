#include "keyboard/options_logic.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

constexpr int kS = 0;
constexpr int kM = 3;
constexpr int kL = 2;
constexpr int kLL = 1;

std::array<bool, 4> enabledButtons(const OptionsControls& c) {
    return {c.size(SizeButton::S).enabled, c.size(SizeButton::M).enabled,
            c.size(SizeButton::L).enabled, c.size(SizeButton::LL).enabled};
}

SizeButton checkedButton(const OptionsControls& c) {
    int count = 0;
    SizeButton checked = SizeButton::S;
    for (const SizeButton b : {SizeButton::S, SizeButton::M, SizeButton::L, SizeButton::LL}) {
        if (c.size(b).checked) {
            ++count;
            checked = b;
        }
    }
    EXPECT_EQ(count, 1);
    return checked;
}

TEST(OptionsLogic, ScreenWidthDecidesTheSizesOnOfferAndFitsTheRecord) {
    struct Case {
        int width;
        int before;
        std::array<bool, 4> enabled;  // S, M, L, LL
        int after;
    };
    for (const Case c : {
             Case{640, kM, {true, false, false, false}, kS},
             Case{640, 7, {true, false, false, false}, kS},
             Case{641, kLL, {true, true, false, false}, kM},
             Case{800, kL, {true, true, false, false}, kM},
             Case{800, kS, {true, true, false, false}, kS},
             Case{801, kLL, {true, true, true, false}, kL},
             Case{1024, kLL, {true, true, true, false}, kL},
             Case{1024, kM, {true, true, true, false}, kM},
             Case{1025, kLL, {true, true, true, true}, kLL},
             Case{1280, 7, {true, true, true, true}, 7},
         }) {
        Settings settings;
        settings.keyboard_size = c.before;
        const OptionsControls controls = OptionsLogic::FormShow(settings, c.width);
        EXPECT_EQ(enabledButtons(controls), c.enabled) << c.width << " " << c.before;
        EXPECT_EQ(settings.keyboard_size, c.after) << c.width << " " << c.before;
    }
}

TEST(OptionsLogic, UnknownSizeShowsSmallAndOkStoresZero) {
    Settings settings;
    settings.keyboard_size = 7;
    const OptionsControls c = OptionsLogic::FormShow(settings, 1280);
    EXPECT_EQ(checkedButton(c), SizeButton::S);
    OptionsLogic::BitBtn1Click(c, settings);
    EXPECT_EQ(settings.keyboard_size, kS);
}

// Showing fills the controls from the record, OK with nothing changed writes the same values,
// and OK after a change writes the chosen controls and leaves the fields the dialog does not own.
TEST(OptionsLogic, ControlsRoundTripTheRecord) {
    Settings settings{0, 2, 1, 0, 2, 40, kM, "set"};
    OptionsControls c = OptionsLogic::FormShow(settings, 1280);
    EXPECT_FALSE(c.chk_distinct);
    EXPECT_FALSE(c.chk_distinct_shift);
    EXPECT_EQ(c.radio_guide, 2);
    EXPECT_EQ(c.radio_letter_type, 1);
    EXPECT_EQ(c.radio_sound, 2);
    EXPECT_EQ(checkedButton(c), SizeButton::M);
    for (const int size : {kS, kM, kL, kLL}) {
        settings.keyboard_size = size;
        const Settings before = settings;
        OptionsLogic::BitBtn1Click(OptionsLogic::FormShow(settings, 1280), settings);
        EXPECT_EQ(settings, before) << size;
    }

    c.chk_distinct = true;
    c.chk_distinct_shift = true;
    c.radio_guide = 1;
    c.radio_letter_type = 2;
    c.radio_sound = 0;
    c.checkSize(SizeButton::LL);
    EXPECT_FALSE(c.size(SizeButton::M).checked);
    OptionsLogic::BitBtn1Click(c, settings);
    EXPECT_EQ(settings, (Settings{1, 1, 2, 1, 0, 40, kLL, "set"}));
}

}  // namespace
}  // namespace kestrum
