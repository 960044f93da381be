#pragma once

#include "platform/file_system.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrum {

// The real disk (use it on a temporary directory) with faults injected on demand and every call
// counted. Faults stay armed until restore(), which keeps the counts.
class FaultFileSystem final : public FileSystem {
public:
    enum class FileOp { ReadFile, ReadOrCreate, WriteFile, Replace, Remove };

    // Every later call of `op` fails without touching the disk.
    void fail(FileOp op) { failing_[at(op)] = true; }
    // The disk fills up: a later write of more than `bytes` bytes keeps only those and fails.
    void diskFullAfter(std::size_t bytes) { diskFullAfter_ = bytes; }
    // The power goes off right after the `nth` successful call of `op` (counted from now): every
    // later call fails and changes nothing.
    void powerLossAfter(FileOp op, int nth = 1) {
        powerLossOp_ = op;
        countdown_ = nth;
    }
    void restore() {
        failing_ = {};
        diskFullAfter_.reset();
        powerLossOp_.reset();
        off_ = false;
    }
    int calls(FileOp op) const { return calls_[at(op)]; }

    ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) override {
        if (!allow(FileOp::ReadFile)) return {ReadStatus::Unreadable, {}};
        return took(FileOp::ReadFile, disk_.readFile(path, maxBytes));
    }
    std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                      std::size_t maxBytes) override {
        if (!allow(FileOp::ReadOrCreate)) return std::nullopt;
        std::optional<Bytes> result = disk_.readOrCreate(path, maxBytes);
        return result ? took(FileOp::ReadOrCreate, std::move(result)) : result;
    }
    bool writeFile(const std::filesystem::path& path, std::string_view bytes) override {
        if (!allow(FileOp::WriteFile)) return false;
        if (diskFullAfter_ && bytes.size() > *diskFullAfter_) {
            disk_.writeFile(path, bytes.substr(0, *diskFullAfter_));  // what fitted stays
            return false;
        }
        return disk_.writeFile(path, bytes) && took(FileOp::WriteFile, true);
    }
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return allow(FileOp::Replace) && disk_.replace(from, to) && took(FileOp::Replace, true);
    }
    bool remove(const std::filesystem::path& path) override {
        return allow(FileOp::Remove) && disk_.remove(path) && took(FileOp::Remove, true);
    }

private:
    static std::size_t at(FileOp op) { return static_cast<std::size_t>(op); }
    bool allow(FileOp op) {
        ++calls_[at(op)];
        return !off_ && !failing_[at(op)];
    }
    // Counts a call that took effect towards a pending power loss.
    template <typename T>
    T took(FileOp op, T result) {
        if (powerLossOp_ == op && --countdown_ == 0) off_ = true;
        return result;
    }

    DiskFileSystem disk_;
    std::array<int, 5> calls_{};
    std::array<bool, 5> failing_{};
    std::optional<std::size_t> diskFullAfter_;
    std::optional<FileOp> powerLossOp_;
    int countdown_ = 0;
    bool off_ = false;
};

}  // namespace kestrum
