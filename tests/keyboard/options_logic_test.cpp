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

TEST(OptionsLogic, ShowFillsTheControlsFromTheRecord) {
    Settings settings;
    settings.distinct = 0;
    settings.guide = 2;
    settings.letter_type = 1;
    settings.distinct_shift = 0;
    settings.sound = 2;
    settings.keyboard_size = kM;
    const OptionsControls c = OptionsLogic::FormShow(settings, 1280);
    EXPECT_FALSE(c.chk_distinct);
    EXPECT_FALSE(c.chk_distinct_shift);
    EXPECT_EQ(c.radio_guide, 2);
    EXPECT_EQ(c.radio_letter_type, 1);
    EXPECT_EQ(c.radio_sound, 2);
    EXPECT_EQ(checkedButton(c), SizeButton::M);
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

TEST(OptionsLogic, CancelKeepsTheFittedSize) {
    Settings settings;
    settings.keyboard_size = kLL;
    const OptionsControls c = OptionsLogic::FormShow(settings, 1024);
    EXPECT_EQ(checkedButton(c), SizeButton::L);
    EXPECT_FALSE(c.size(SizeButton::LL).enabled);
    // Cancel writes nothing back, yet the record already holds the fitted size.
    EXPECT_EQ(settings.keyboard_size, kL);
}

TEST(OptionsLogic, UnknownSizeShowsSmallAndOkStoresZero) {
    Settings settings;
    settings.keyboard_size = 7;
    const OptionsControls c = OptionsLogic::FormShow(settings, 1280);
    EXPECT_EQ(checkedButton(c), SizeButton::S);
    OptionsLogic::BitBtn1Click(c, settings);
    EXPECT_EQ(settings.keyboard_size, kS);
}

TEST(OptionsLogic, OkWithNothingChangedWritesTheSameValues) {
    Settings settings;
    settings.distinct = 0;
    settings.guide = 3;
    settings.letter_type = 2;
    settings.distinct_shift = 0;
    settings.sound = 1;
    settings.practice_count = 40;
    settings.problem_set_name = "set";
    for (const int size : {kS, kM, kL, kLL}) {
        settings.keyboard_size = size;
        const Settings before = settings;
        OptionsLogic::BitBtn1Click(OptionsLogic::FormShow(settings, 1280), settings);
        EXPECT_EQ(settings, before) << size;
    }
}

TEST(OptionsLogic, OkWritesTheChosenControls) {
    Settings settings;
    OptionsControls c = OptionsLogic::FormShow(settings, 1280);
    c.chk_distinct = false;
    c.chk_distinct_shift = false;
    c.radio_guide = 1;
    c.radio_letter_type = 2;
    c.radio_sound = 1;
    c.checkSize(SizeButton::LL);
    EXPECT_FALSE(c.size(SizeButton::S).checked);
    OptionsLogic::BitBtn1Click(c, settings);
    EXPECT_EQ(settings.distinct, 0);
    EXPECT_EQ(settings.distinct_shift, 0);
    EXPECT_EQ(settings.guide, 1);
    EXPECT_EQ(settings.letter_type, 2);
    EXPECT_EQ(settings.sound, 1);
    EXPECT_EQ(settings.keyboard_size, kLL);
    // The fields the dialog does not own stay untouched.
    EXPECT_EQ(settings.practice_count, 5);
}

}  // namespace
}  // namespace kestrum
