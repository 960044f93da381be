#include "platform/data_dir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrum {
namespace {

TEST(DataDir, ProgramFolderWhenWritableElseTheUsersDataFolder) {
    // Program folder writable, XDG_DATA_HOME, HOME, the folder expected.
    const std::tuple<bool, const char*, const char*, const char*> cases[] = {
        {true, "/x", "/home/u", "/opt/k"},
        {false, "/x/data", "/home/u", "/x/data/kestrum-lite"},
        {false, "", "/home/u", "/home/u/.local/share/kestrum-lite"},
        {false, "relative/data", "/home/u", "/home/u/.local/share/kestrum-lite"},
        {false, "", "", "/opt/k"},
    };
    for (const auto& [writable, xdg, home, expected] : cases)
        EXPECT_EQ(dataDirFor("/opt/k", writable, xdg, home), expected) << xdg;
}

}  // namespace
}  // namespace kestrum
