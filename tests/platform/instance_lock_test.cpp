// One program per data folder, and a later start on the folder wakes the running one.
#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

namespace kestrum {
namespace {

TEST(InstanceLock, ASecondStartOnTheFolderWakesTheFirst) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    InstanceLock first(folder);
    ASSERT_TRUE(first.held());
    int wakes = 0;
    first.listen([&wakes] { ++wakes; });

    InstanceLock second(folder);
    EXPECT_FALSE(second.held());
    second.wakeRunning();
    for (QDeadlineTimer deadline(10000); wakes == 0 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    EXPECT_EQ(wakes, 1);
}

// Where no lock file can be made, the folder's name alone keeps a second program on it out and
// lets programs on other folders run.
TEST(InstanceLock, WithoutALockFileTheNameTellsFoldersApart) {
    QTemporaryDir dir;
    const std::filesystem::path missing = dir.path().toStdString() + "/missing";
    InstanceLock one(missing / "one");
    InstanceLock two(missing / "two");
    InstanceLock again(missing / "one");
    EXPECT_TRUE(one.held());
    EXPECT_TRUE(two.held());
    EXPECT_FALSE(again.held());
}

}  // namespace
}  // namespace kestrum
