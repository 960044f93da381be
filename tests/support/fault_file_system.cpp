#include "support/fault_file_system.h"

namespace kestrum {

namespace {
std::size_t index(FaultFileSystem::FileOp op) {
    return static_cast<std::size_t>(op);
}
}  // namespace

void FaultFileSystem::fail(FileOp op) {
    failing_[index(op)] = true;
}

void FaultFileSystem::diskFullAfter(std::size_t bytes) {
    diskFullAfter_ = bytes;
}

void FaultFileSystem::powerLossAfter(FileOp op, int nth) {
    powerLossOp_ = op;
    powerLossCountdown_ = nth;
}

void FaultFileSystem::restore() {
    failing_ = {};
    diskFullAfter_.reset();
    powerLossOp_.reset();
    powerLossCountdown_ = 0;
    powerOff_ = false;
}

int FaultFileSystem::calls(FileOp op) const {
    return calls_[index(op)];
}

bool FaultFileSystem::allow(FileOp op) {
    ++calls_[index(op)];
    return !powerOff_ && !failing_[index(op)];
}

void FaultFileSystem::succeeded(FileOp op) {
    if (powerLossOp_ == op && --powerLossCountdown_ == 0) powerOff_ = true;
}

FileSystem::ReadResult FaultFileSystem::readFile(const std::filesystem::path& path,
                                                 std::size_t maxBytes) {
    if (!allow(FileOp::ReadFile)) return {ReadStatus::Unreadable, {}};
    ReadResult result = disk_.readFile(path, maxBytes);
    succeeded(FileOp::ReadFile);
    return result;
}

std::optional<Bytes> FaultFileSystem::readOrCreate(const std::filesystem::path& path,
                                                   std::size_t maxBytes) {
    if (!allow(FileOp::ReadOrCreate)) return std::nullopt;
    std::optional<Bytes> result = disk_.readOrCreate(path, maxBytes);
    if (result) succeeded(FileOp::ReadOrCreate);
    return result;
}

bool FaultFileSystem::writeFile(const std::filesystem::path& path, std::string_view bytes) {
    if (!allow(FileOp::WriteFile)) return false;
    if (diskFullAfter_ && bytes.size() > *diskFullAfter_) {
        // What fitted stays on the disk, as after a real ENOSPC.
        disk_.writeFile(path, bytes.substr(0, *diskFullAfter_));
        return false;
    }
    const bool ok = disk_.writeFile(path, bytes);
    if (ok) succeeded(FileOp::WriteFile);
    return ok;
}

bool FaultFileSystem::replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!allow(FileOp::Replace)) return false;
    const bool ok = disk_.replace(from, to);
    if (ok) succeeded(FileOp::Replace);
    return ok;
}

bool FaultFileSystem::remove(const std::filesystem::path& path) {
    if (!allow(FileOp::Remove)) return false;
    const bool ok = disk_.remove(path);
    if (ok) succeeded(FileOp::Remove);
    return ok;
}

}  // namespace kestrum
