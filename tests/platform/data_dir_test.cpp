#include "platform/data_dir.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(DataDir, ProgramFolderWhenWritableElseTheUsersDataFolder) {
    struct Case {
        bool writable;
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {true, "/x", "/home/u", "/opt/k"},
        {false, "/x/data", "/home/u", "/x/data/kestrum-lite"},
        {false, "", "/home/u", "/home/u/.local/share/kestrum-lite"},
        {false, "relative/data", "/home/u", "/home/u/.local/share/kestrum-lite"},
        {false, "", "", "/opt/k"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataDirFor("/opt/k", c.writable, c.xdg, c.home), c.expected) << c.xdg;
}

}  // namespace
}  // namespace kestrum
