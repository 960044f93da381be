#include "keyboard/options_logic.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

constexpr int kS = 0;
constexpr int kM = 3;
constexpr int kL = 2;
constexpr int kLL = 1;
constexpr SizeButton kButtons[] = {SizeButton::S, SizeButton::M, SizeButton::L, SizeButton::LL};

// The one checked size button; none or more than one fails.
SizeButton checkedButton(const OptionsControls& c) {
    std::vector<SizeButton> checked;
    for (const SizeButton b : kButtons) {
        if (c.size(b).checked) checked.push_back(b);
    }
    EXPECT_EQ(checked.size(), 1u);
    return checked.empty() ? SizeButton::S : checked.front();
}

// Sizes on offer by screen width; a record that does not fit falls to the largest that does,
// and an unknown size shows small and is stored as 0.
TEST(OptionsLogic, ScreenWidthDecidesTheSizesOnOfferAndFitsTheRecord) {
    struct Case {
        int width, before, offered, after;  // offered: how many of S, M, L, LL
    };
    for (const Case c :
         {Case{640, kM, 1, kS}, Case{640, 7, 1, kS}, Case{641, kLL, 2, kM}, Case{800, kL, 2, kM},
          Case{800, kS, 2, kS}, Case{801, kLL, 3, kL}, Case{1024, kLL, 3, kL},
          Case{1024, kM, 3, kM}, Case{1025, kLL, 4, kLL}, Case{1280, 7, 4, 7}}) {
        Settings settings;
        settings.keyboard_size = c.before;
        const OptionsControls controls = OptionsLogic::FormShow(settings, c.width);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(controls.size(kButtons[i]).enabled, i < c.offered) << c.width << " " << i;
        EXPECT_EQ(settings.keyboard_size, c.after) << c.width << " " << c.before;
        if (c.after == 7) {
            EXPECT_EQ(checkedButton(controls), SizeButton::S);
            OptionsLogic::BitBtn1Click(controls, settings);
            EXPECT_EQ(settings.keyboard_size, kS);
        }
    }
}

// Showing fills the controls from the record, OK with nothing changed writes the same values,
// and OK after a change writes the chosen controls and leaves the fields the dialog does not own.
TEST(OptionsLogic, ControlsRoundTripTheRecord) {
    Settings settings{0, 2, 1, 0, 2, 40, kM, "set"};
    OptionsControls c = OptionsLogic::FormShow(settings, 1280);
    EXPECT_FALSE(c.chk_distinct);
    EXPECT_FALSE(c.chk_distinct_shift);
    EXPECT_EQ((std::array<int, 3>{c.radio_guide, c.radio_letter_type, c.radio_sound}),
              (std::array<int, 3>{2, 1, 2}));
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
