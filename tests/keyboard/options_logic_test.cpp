#include "keyboard/options_logic.h"
#include "support/table_file.h"

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

// Sizes on offer by screen width and the record fitted to them: data/options_sizes.tsv.
TEST(OptionsLogic, ScreenWidthDecidesTheSizesOnOfferAndFitsTheRecord) {
    const auto rows = testing::tableRows("options_sizes.tsv");
    ASSERT_EQ(rows.size(), 10u);
    for (const std::vector<std::string>& row : rows) {
        SCOPED_TRACE(row[0] + " " + row[1]);
        Settings settings;
        settings.keyboard_size = std::stoi(row[1]);
        const OptionsControls controls = OptionsLogic::FormShow(settings, std::stoi(row[0]));
        EXPECT_EQ(sizeFlags(controls, &SizeButtonState::enabled), row[2]);
        EXPECT_EQ(settings.keyboard_size, std::stoi(row[3]));
        if (row[3] == "7") {
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
