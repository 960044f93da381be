// One program per data folder, and a later start on the folder wakes the running one.
#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <fstream>

namespace kestrum {
namespace {

// A crashed program's lock file is taken over; a later start on the folder stays out and wakes
// the first, whose clean end removes the file. Where no lock file can be made (a missing folder
// here), the folder's name alone keeps a second program out and lets programs on other folders run.
TEST(InstanceLock, ALaterStartWakesTheFirstWhoseCleanEndLeavesNoFile) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString(), file = folder / "kestruml.lock";
    std::ofstream(file).put('\0');
    {
        InstanceLock first(folder);
        int wakes = 0;
        first.listen([&wakes] { ++wakes; });
        {
            InstanceLock second(folder);
            EXPECT_TRUE(first.held() && !second.held());
            second.wakeRunning();
        }
        for (QDeadlineTimer deadline(10000); wakes == 0 && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        EXPECT_EQ(wakes, 1);
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(InstanceLock(folder).held());

    InstanceLock one(folder / "missing/one");
    InstanceLock two(folder / "missing/two");
    InstanceLock again(folder / "missing/one");
    EXPECT_TRUE(one.held() && two.held() && !again.held());
}

}  // namespace
}  // namespace kestrum
