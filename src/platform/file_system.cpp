#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace kestrum {

namespace {

// Closes a descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

FileSystem::ReadResult readAll(int fd, const struct stat& info, std::size_t maxBytes) {
    // A regular file says its size: one that is too large is refused without reading it.
    if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return {FileSystem::ReadStatus::TooLarge, {}};
    }
    FileSystem::ReadResult result{FileSystem::ReadStatus::Ok, {}};
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return {FileSystem::ReadStatus::Unreadable, {}};
        }
        if (got == 0) return result;
        if (result.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            return {FileSystem::ReadStatus::TooLarge, {}};
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// Opens for reading and appending like fopen(path, "ab+"). O_EXCL creates only a new file: a
// dangling link fails instead of creating its target somewhere else. Another program may create
// the file between the two opens: then it is there to open, so look once more.
int openOrCreate(const std::filesystem::path& path) {
    constexpr int kFlags = O_RDWR | O_APPEND | O_CLOEXEC | O_NONBLOCK;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int opened = ::open(path.c_str(), kFlags);
        if (opened >= 0 || errno != ENOENT) return opened;
        const int created = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
        if (created >= 0 || errno != EEXIST) return created;
    }
    return -1;
}

class DescriptorLock final : public FileSystem::Lock {
public:
    explicit DescriptorLock(int fd) : fd_(fd) {}

private:
    Descriptor fd_;  // closing it lets the lock go
};

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileSystem::ReadResult DiskFileSystem::readFile(const std::filesystem::path& path,
                                                std::size_t maxBytes) {
    // O_NONBLOCK keeps a named pipe from stalling the open; a directory fails the read.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return {errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable,
                {}};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode) || S_ISFIFO(info.st_mode) ||
        S_ISSOCK(info.st_mode)) {
        return {ReadStatus::Unreadable, {}};
    }
    return readAll(fd.get(), info, maxBytes);
}

bool replaceContents(FileSystem& files, const std::filesystem::path& target,
                     const std::filesystem::path& scratch, std::string_view bytes) {
    files.remove(scratch);
    if (files.writeFile(scratch, bytes) && files.replace(scratch, target)) return true;
    files.remove(scratch);
    return false;
}

std::optional<Bytes> DiskFileSystem::readOrCreate(const std::filesystem::path& path,
                                                  std::size_t maxBytes) {
    Descriptor fd(openOrCreate(path));
    if (!fd.valid()) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    ReadResult result = readAll(fd.get(), info, maxBytes);
    if (result.status != ReadStatus::Ok) return std::nullopt;
    return std::move(result.bytes);
}

bool DiskFileSystem::writeFile(const std::filesystem::path& path, std::string_view bytes) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid()) return false;
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd.get(), bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    if (::fsync(fd.get()) != 0) return false;
    return ::close(fd.release()) == 0;
}

bool DiskFileSystem::replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    struct stat old {};
    if (::stat(to.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::chmod(from.c_str(), old.st_mode & 07777) != 0) {
        return false;
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // Make the rename itself durable.
    Descriptor dir(::open(to.parent_path().empty() ? "." : to.parent_path().c_str(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
    return true;
}

bool DiskFileSystem::remove(const std::filesystem::path& path) {
    return ::unlink(path.c_str()) == 0;
}

std::unique_ptr<FileSystem::Lock> DiskFileSystem::lockExclusive(const std::filesystem::path& path) {
    // The holder before us may have put a new file in the place of the one we waited on; then
    // the lock is taken again on the file that lies there now. Bounded, in case the place keeps
    // changing under a writer that takes no lock.
    for (int attempt = 0; attempt < 100; ++attempt) {
        Descriptor fd(openOrCreate(path));
        if (!fd.valid()) {
            if (errno == EEXIST) continue;  // created by someone else just now
            return nullptr;
        }
        struct stat held {};
        if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) return nullptr;
        while (::flock(fd.get(), LOCK_EX) != 0) {
            // Without lock support (some network shares) the change goes ahead unguarded, as it
            // did before locks were taken.
            if (errno != EINTR) return std::make_unique<Lock>();
        }
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && sameFile(held, now)) {
            return std::make_unique<DescriptorLock>(fd.release());
        }
    }
    return nullptr;
}

std::filesystem::path DiskFileSystem::followLinks(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    // A dangling link is not followed: the file then takes the link's place.
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target;
}

}  // namespace kestrum
