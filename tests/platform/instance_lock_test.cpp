// One program per data folder, and no lock file left behind by one that ended cleanly.
#include "platform/instance_lock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kestrum {
namespace {

TEST(InstanceLock, HeldByTheFirstOnlyAndRemovedWhenItEnds) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const std::filesystem::path file = folder / "kestruml.lock";
    {
        InstanceLock first(folder);
        EXPECT_TRUE(first.held());
        EXPECT_TRUE(std::filesystem::exists(file));
        {
            InstanceLock second(folder);
            EXPECT_FALSE(second.held());
        }
        // A later start that found the lock held leaves the file to the running program.
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_FALSE(InstanceLock(folder).held());
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    InstanceLock next(folder);
    EXPECT_TRUE(next.held());
}

TEST(InstanceLock, TakesOverTheFileOfACrashedProgram) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::ofstream(folder / "kestruml.lock").put('\0');
    {
        InstanceLock lock(folder);
        EXPECT_TRUE(lock.held());
        EXPECT_FALSE(InstanceLock(folder).held());
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "kestruml.lock"));
}

}  // namespace
}  // namespace kestrum
