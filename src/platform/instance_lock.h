#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace kestrum {

// One program per data folder. The first program on a folder holds an exclusive lock on
// kestruml.lock in it for its whole run and listens for later starts; a later start finds the
// lock held, asks the running program to come to the front and ends without touching a file.
// The system lets the lock go however a program ends, so a crashed program's lock is simply
// taken over; a program that ends cleanly also removes the file. Where the lock file cannot be
// opened (a folder that cannot be written), a listening name of this machine stands in for it.
class InstanceLock {
public:
    inline static const char* const kFileName = "kestruml.lock";

    // Takes the lock, or finds it held. Cheap and never waits.
    explicit InstanceLock(const std::filesystem::path& dataDir);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this is the only program on the folder and may go on.
    bool held() const { return held_; }

    // For a later start: asks the running program to come to the front. Never waits.
    void wakeRunning() const;

    // For the first: calls `onWake` from the event loop each time a later start asks. Needs the
    // application object.
    void listen(std::function<void()> onWake);

private:
    // Opens and locks the file; false when another program holds it.
    bool lockFile(const std::filesystem::path& path);

    // Starts listening under the folder's name; false only when another program has it.
    bool bindName();

    std::filesystem::path path_;  // the lock file
    std::string name_;            // the abstract socket name of the folder
    int lockFd_ = -1;
    int listenFd_ = -1;
    bool held_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kestrum
