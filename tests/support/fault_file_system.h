#pragma once

#include "platform/file_system.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrum {

// A FileSystem for tests: the real disk (use it on a temporary directory) with faults injected
// on demand, and a count of every call. Faults stay armed until restore().
//
//   FaultFileSystem files;
//   files.diskFullAfter(10);            // the next writes keep 10 bytes and fail
//   files.fail(FileOp::Replace);        // every replace fails, nothing moves
//   files.powerLossAfter(FileOp::WriteFile);  // the first write completes, then the machine is
//                                             // off: every later call fails and changes nothing
//   files.restore();                    // power back, all faults cleared
//   files.calls(FileOp::Replace);       // how many replaces were attempted
class FaultFileSystem final : public FileSystem {
public:
    enum class FileOp { ReadFile, ReadOrCreate, WriteFile, Replace, Remove };

    // Every later call of `op` fails without touching the disk (a read reports Unreadable or
    // nothing; the others return false).
    void fail(FileOp op);

    // The disk fills up: every later writeFile of more than `bytes` bytes creates or truncates
    // its file, stores only the first `bytes` bytes and returns false.
    void diskFullAfter(std::size_t bytes);

    // The power goes off right after the `nth` successful call of `op` (counted from now):
    // that call takes effect, and every later call of any kind fails and changes nothing.
    void powerLossAfter(FileOp op, int nth = 1);

    // Clears every fault (the counts stay).
    void restore();

    // Calls of `op` made so far, failed ones included.
    int calls(FileOp op) const;

    ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) override;
    std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                      std::size_t maxBytes) override;
    bool writeFile(const std::filesystem::path& path, std::string_view bytes) override;
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool remove(const std::filesystem::path& path) override;

private:
    static constexpr std::size_t kOps = 5;

    // Counts the call; false when it must fail without effect.
    bool allow(FileOp op);
    // Counts a call that took effect towards a pending power loss.
    void succeeded(FileOp op);

    DiskFileSystem disk_;
    std::array<int, kOps> calls_{};
    std::array<bool, kOps> failing_{};
    std::optional<std::size_t> diskFullAfter_;
    std::optional<FileOp> powerLossOp_;
    int powerLossCountdown_ = 0;
    bool powerOff_ = false;
};

}  // namespace kestrum
