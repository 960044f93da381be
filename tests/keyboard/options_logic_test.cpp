#include "keyboard/options_logic.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

constexpr int kS = 0;
constexpr int kM = 3;
constexpr int kL = 2;
constexpr int kLL = 1;

// One flag of the size buttons S, M, L and LL, in that order: "1100".
std::string sizeFlags(const OptionsControls& c, bool SizeButtonState::*flag) {
    std::string flags;
    for (const SizeButton b : {SizeButton::S, SizeButton::M, SizeButton::L, SizeButton::LL})
        flags += c.size(b).*flag ? '1' : '0';
    return flags;
}

// Sizes on offer by screen width; a record that does not fit falls to the largest that does,
// and an unknown size shows small and is stored as 0.
TEST(OptionsLogic, ScreenWidthDecidesTheSizesOnOfferAndFitsTheRecord) {
    struct Case {
        int width, before;
        const char* offered;
        int after;
    };
    for (const Case c :
         {Case{640, kM, "1000", kS}, Case{640, 7, "1000", kS}, Case{641, kLL, "1100", kM},
          Case{800, kL, "1100", kM}, Case{800, kS, "1100", kS}, Case{801, kLL, "1110", kL},
          Case{1024, kLL, "1110", kL}, Case{1024, kM, "1110", kM}, Case{1025, kLL, "1111", kLL},
          Case{1280, 7, "1111", 7}}) {
        Settings settings;
        settings.keyboard_size = c.before;
        const OptionsControls controls = OptionsLogic::FormShow(settings, c.width);
        EXPECT_EQ(sizeFlags(controls, &SizeButtonState::enabled), c.offered) << c.width;
        EXPECT_EQ(settings.keyboard_size, c.after) << c.width << " " << c.before;
        if (c.after == 7) {
            EXPECT_EQ(sizeFlags(controls, &SizeButtonState::checked), "1000");
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
    EXPECT_EQ(std::tuple(c.chk_distinct, c.chk_distinct_shift, c.radio_guide, c.radio_letter_type,
                         c.radio_sound, sizeFlags(c, &SizeButtonState::checked)),
              std::tuple(false, false, 2, 1, 2, "0100"));
    for (const int size : {kS, kM, kL, kLL}) {
        settings.keyboard_size = size;
        const Settings before = settings;
        OptionsLogic::BitBtn1Click(OptionsLogic::FormShow(settings, 1280), settings);
        EXPECT_EQ(settings, before) << size;
    }
    c.chk_distinct = c.chk_distinct_shift = true;
    c.radio_guide = 1;
    c.radio_letter_type = 2;
    c.radio_sound = 0;
    c.checkSize(SizeButton::LL);
    EXPECT_EQ(sizeFlags(c, &SizeButtonState::checked), "0001");
    OptionsLogic::BitBtn1Click(c, settings);
    EXPECT_EQ(settings, (Settings{1, 1, 2, 1, 0, 40, kLL, "set"}));
}

}  // namespace
}  // namespace kestrum
