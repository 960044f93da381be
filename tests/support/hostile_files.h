#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace kestrum::testing {

// Things on disk that are not plain files, for the tests of the file readers.

inline void makeFifo(const std::filesystem::path& path) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

// A file that claims `size` bytes without taking the disk space.
inline void makeSparse(const std::filesystem::path& path, std::uintmax_t size) {
    { std::ofstream(path, std::ios::binary) << "Amount=1\n"; }
    std::filesystem::resize_file(path, size);
}

// Releases a reader that blocks on a named pipe: after a few seconds it opens the pipe for
// writing and closes it again, so that the reader sees the end of the file and the test can
// report the hang instead of never finishing.
class FifoHangGuard {
public:
    explicit FifoHangGuard(std::filesystem::path fifo)
        : thread_([this, fifo = std::move(fifo)] {
              std::unique_lock lock(mutex_);
              if (done_.wait_for(lock, std::chrono::seconds(5), [this] { return finished_; })) {
                  return;
              }
              fired_ = true;
              const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0) ::close(fd);
          }) {}
    ~FifoHangGuard() { stop(); }
    FifoHangGuard(const FifoHangGuard&) = delete;
    FifoHangGuard& operator=(const FifoHangGuard&) = delete;

    // True when the guarded call had to be released.
    bool stop() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        if (thread_.joinable()) thread_.join();
        return fired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    bool fired_ = false;
    std::thread thread_;
};

}  // namespace kestrum::testing
