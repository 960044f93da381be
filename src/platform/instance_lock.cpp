#include "platform/instance_lock.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>

namespace kestrum {

namespace {

// The folder named by what it is, not how it is spelled: a link or a relative path to the same
// folder gives the same name.
std::string socketName(const std::filesystem::path& dataDir) {
    struct stat info {};
    if (::stat(dataDir.c_str(), &info) != 0) return "kestrum-lite:" + dataDir.native();
    return "kestrum-lite:" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

// A name in the abstract namespace: nothing on disk, gone when its last holder ends.
socklen_t socketAddress(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

}  // namespace

InstanceLock::InstanceLock(const std::filesystem::path& dataDir)
    : path_(dataDir / kFileName), name_(socketName(dataDir)) {
    if (!lockFile(path_)) return;
    // Without the file, the name decides; with it, the name only carries the wake-ups.
    held_ = bindName() || lockFd_ >= 0;
}

InstanceLock::~InstanceLock() {
    notifier_.reset();
    if (listenFd_ >= 0) ::close(listenFd_);
    if (lockFd_ < 0) return;
    // Removed while still locked: a later start either opens the new file or finds that the one
    // it locked is no longer the folder's, and tries again.
    if (held_) ::unlink(path_.c_str());
    ::close(lockFd_);
}

bool InstanceLock::lockFile(const std::filesystem::path& path) {
    // A few tries only: each retry means a program on the folder ended in between.
    for (int attempt = 0; attempt < 8; ++attempt) {
        lockFd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (lockFd_ < 0) lockFd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (lockFd_ < 0) return true;  // a folder that cannot be written: the name decides
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
            // Held by another program; any other failure (no lock support) leaves the name to say.
            if (errno == EWOULDBLOCK) return false;
            ::close(lockFd_);
            lockFd_ = -1;
            return true;
        }
        struct stat locked {};
        struct stat current {};
        if (::fstat(lockFd_, &locked) == 0 && ::stat(path.c_str(), &current) == 0 &&
            locked.st_dev == current.st_dev && locked.st_ino == current.st_ino) {
            return true;
        }
        ::close(lockFd_);  // the file was removed by a program ending just now
        lockFd_ = -1;
    }
    return true;
}

bool InstanceLock::bindName() {
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0) return true;  // no sockets at all: nothing can tell, so go on
    sockaddr_un address;
    const socklen_t length = socketAddress(name_, address);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::listen(listenFd_, 4) == 0) {
        return true;
    }
    // Only a name in use means another program; any other failure lets this one go on.
    const bool inUse = errno == EADDRINUSE;
    ::close(listenFd_);
    listenFd_ = -1;
    return !inUse;
}

void InstanceLock::wakeRunning() const {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    sockaddr_un address;
    const socklen_t length = socketAddress(name_, address);
    // The connection itself is the request; a program that is not listening yet (still starting,
    // or on another machine sharing the folder) is simply not woken.
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::close(fd);
}

void InstanceLock::listen(std::function<void()> onWake) {
    if (listenFd_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                     [fd = listenFd_, onWake = std::move(onWake)] {
                         int client;
                         while ((client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
                             ::close(client);
                             onWake();
                         }
                     });
}

}  // namespace kestrum
