// One program per data folder, and a later start on the folder wakes the running one.
#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

namespace kestrum {
namespace {

// Where no lock file can be made (a missing folder here), the folder's name alone keeps a second
// program out and lets programs on other folders run.
TEST(InstanceLock, ALaterStartOnTheFolderWakesTheFirstAndOtherFoldersRun) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    InstanceLock first(folder);
    int wakes = 0;
    first.listen([&wakes] { ++wakes; });
    InstanceLock second(folder);
    EXPECT_TRUE(first.held() && !second.held());
    second.wakeRunning();
    for (QDeadlineTimer deadline(10000); wakes == 0 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    EXPECT_EQ(wakes, 1);

    InstanceLock one(folder / "missing/one");
    InstanceLock two(folder / "missing/two");
    InstanceLock again(folder / "missing/one");
    EXPECT_TRUE(one.held() && two.held() && !again.held());
}

}  // namespace
}  // namespace kestrum
