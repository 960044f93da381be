// The options dialog's romaji check box and the record's field.
#include "keyboard/options_logic.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(RomajiOption, TheCheckBoxShowsAndStoresTheField) {
    Settings settings;
    EXPECT_FALSE(OptionsLogic::FormShow(settings, 1280).chk_romaji_spellings);  // off by default
    for (const bool on : {true, false}) {
        OptionsControls c = OptionsLogic::FormShow(settings, 1280);
        c.chk_romaji_spellings = on;
        OptionsLogic::BitBtn1Click(c, settings);
        EXPECT_EQ(settings.romaji_spellings, on ? 1 : 0);
        EXPECT_EQ(OptionsLogic::FormShow(settings, 1280).chk_romaji_spellings, on);
    }
}

}  // namespace
}  // namespace kestrum
