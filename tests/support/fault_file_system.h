#pragma once

#include "platform/file_system.h"

#include <array>
#include <functional>
#include <optional>

namespace kestrum {

// The real disk (on a temporary directory) with faults armed until restore(): a step that fails
// untouched, a disk that keeps the first `bytes` of a longer write and fails it, or the power off
// right after the next successful `op`, so that every later step fails and changes nothing.
class FaultFileSystem final : public FileSystem {
public:
    enum class FileOp { WriteFile, Replace, Remove };

    void fail(FileOp op) { failing_[at(op)] = true; }
    void diskFullAfter(std::size_t bytes) { diskFullAfter_ = bytes; }
    void powerLossAfter(FileOp op) { powerLossOp_ = op; }
    void restore() {
        failing_ = {};
        diskFullAfter_.reset();
        powerLossOp_.reset();
        off_ = false;
    }
    // Runs before every call, e.g. a pause that lets another writer in between two steps.
    std::function<void()> beforeEachCall = [] {};

    ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) override {
        beforeEachCall();
        return disk_.readFile(path, maxBytes);
    }
    std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                      std::size_t maxBytes) override {
        beforeEachCall();
        return disk_.readOrCreate(path, maxBytes);
    }
    bool writeFile(const std::filesystem::path& path, std::string_view bytes) override {
        if (!allow(FileOp::WriteFile)) return false;
        if (diskFullAfter_ && bytes.size() > *diskFullAfter_) {
            disk_.writeFile(path, bytes.substr(0, *diskFullAfter_));  // what fitted stays
            return false;
        }
        return took(FileOp::WriteFile, disk_.writeFile(path, bytes));
    }
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return allow(FileOp::Replace) && took(FileOp::Replace, disk_.replace(from, to));
    }
    bool remove(const std::filesystem::path& path) override {
        return allow(FileOp::Remove) && took(FileOp::Remove, disk_.remove(path));
    }
    std::unique_ptr<Lock> lockExclusive(const std::filesystem::path& path) override {
        beforeEachCall();
        return disk_.lockExclusive(path);
    }

private:
    static std::size_t at(FileOp op) { return static_cast<std::size_t>(op); }
    bool allow(FileOp op) {
        beforeEachCall();
        return !off_ && !failing_[at(op)];
    }
    bool took(FileOp op, bool done) {  // the power goes off after it if so armed
        off_ = off_ || (done && powerLossOp_ == op);
        return done;
    }

    DiskFileSystem disk_;
    std::array<bool, 3> failing_{};
    std::optional<std::size_t> diskFullAfter_;
    std::optional<FileOp> powerLossOp_;
    bool off_ = false;
};

}  // namespace kestrum
