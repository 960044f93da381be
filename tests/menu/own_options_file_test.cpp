// The program's own options file beside kestruml.ini.
#include "menu/own_options_file.h"
#include "menu/settings_file.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kestrum::testing {
namespace {

const std::filesystem::path kDir = "/data";

TEST(OwnOptionsFile, KeepsTheRomajiOptionApartFromKestrumlIni) {
    MemoryFileSystem files;
    Settings settings;
    settings.romaji_spellings = 1;
    ASSERT_TRUE(SaveSettings(settings, files, kDir));
    ASSERT_TRUE(SaveOwnOptions(settings, files, kDir));
    EXPECT_EQ(files.files[kDir / "kestruml.ini"], "1,0,0,1,0,5,0\r\n");
    EXPECT_EQ(files.files[kDir / "options.ini"], "romaji_spellings=1\r\n");

    Settings loaded;
    LoadSettings(loaded, files, kDir, 1280);
    LoadOwnOptions(loaded, files, kDir);
    EXPECT_EQ(loaded, settings);
}

TEST(OwnOptionsFile, OnlyAClearOneTurnsTheOptionOn) {
    for (const auto& [text, expected] :
         std::vector<std::pair<const char*, int>>{{"", 0},
                                                  {"romaji_spellings=2\r\n", 0},
                                                  {"romaji_spellings=yes\n", 0},
                                                  {"romaji_spellings 1\n", 0},
                                                  {"other=3\nromaji_spellings=1", 1}}) {
        MemoryFileSystem files;
        files.files[kDir / "options.ini"] = text;
        Settings settings;
        LoadOwnOptions(settings, files, kDir);
        EXPECT_EQ(settings.romaji_spellings, expected) << text;
    }
}

}  // namespace
}  // namespace kestrum::testing
