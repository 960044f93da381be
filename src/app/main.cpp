#include "app/application.h"
#include "platform/desktop_data_dir.h"
#include "platform/instance_lock.h"
#include "platform/program_dir.h"

#include <QApplication>

#include <filesystem>
#include <system_error>

int main(int argc, char* argv[]) {
    // The path as the system gives its bytes: a folder name that is not UTF-8 must still lead
    // back to the same folder.
    std::error_code error;
    const auto dir = kestrum::chooseDataDir(
        kestrum::programDir(std::filesystem::read_symlink("/proc/self/exe", error).native()));
    kestrum::InstanceLock lock(dir.dir);
    if (!lock.held()) {
        lock.wakeRunning();
        return 0;
    }
    QApplication qtApplication(argc, argv);
    kestrum::Application application(dir);
    lock.listen([&application] { application.bringToFront(); });
    return application.run();
}
