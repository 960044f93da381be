// The romaji option: the options dialog's check box, kept in the program's own file beside
// kestruml.ini, which stays exactly as it was.
#include "menu/own_options_file.h"
#include "keyboard/options_logic.h"
#include "menu/settings_file.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

namespace kestrum {

TEST(RomajiOption, OffByDefaultAndKeptInTheProgramsOwnFile) {
    Settings settings;
    for (const bool on : {true, false}) {
        OptionsControls controls = OptionsLogic::FormShow(settings, 1280);
        EXPECT_EQ(controls.chk_romaji_spellings, !on);  // off at first, then as set below
        controls.chk_romaji_spellings = on;
        OptionsLogic::BitBtn1Click(controls, settings);
        MemoryFileSystem files;
        ASSERT_TRUE(SaveSettings(settings, files, "/d") && SaveOwnOptions(settings, files, "/d"));
        EXPECT_EQ(files.files["/d/kestruml.ini"], "1,0,0,1,0,5,0\r\n");
        EXPECT_EQ(files.files["/d/options.ini"],
                  on ? "romaji_spellings=1\r\n" : "romaji_spellings=0\r\n");
        Settings loaded;
        LoadSettings(loaded, files, "/d", 1280);
        LoadOwnOptions(loaded, files, "/d");
        EXPECT_EQ(loaded, settings);
    }
    // Only a clear 1 turns it on.
    const std::pair<const char*, int> texts[] = {{"romaji_spellings=2\r\n", 0},
                                                 {"romaji_spellings=yes\n", 0},
                                                 {"romaji_spellings 1\n", 0},
                                                 {"other=3\nromaji_spellings=1", 1}};
    for (const auto& [text, on] : texts) {
        MemoryFileSystem files;
        files.files["/d/options.ini"] = text;
        Settings loaded;
        LoadOwnOptions(loaded, files, "/d");
        EXPECT_EQ(loaded.romaji_spellings, on) << text;
    }
}

}  // namespace kestrum
