#pragma once

#include "platform/file_system.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string_view>

namespace kestrum {

// Files held in memory: hostile files built cheaply, the paths asked for seen, no disk touched.
class MemoryFileSystem final : public FileSystem {
public:
    std::map<std::filesystem::path, Bytes> files;
    std::filesystem::path lastRead;  // the path of the latest readFile or readOrCreate

    ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) override {
        lastRead = path;
        const auto found = files.find(path);
        if (found == files.end()) return {ReadStatus::Missing, {}};
        if (found->second.size() > maxBytes) return {ReadStatus::TooLarge, {}};
        return {ReadStatus::Ok, found->second};
    }
    std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                      std::size_t maxBytes) override {
        const ReadResult result = readFile(path, maxBytes);
        if (result.status == ReadStatus::Missing) return files[path];
        if (result.status != ReadStatus::Ok) return std::nullopt;
        return result.bytes;
    }
    bool writeFile(const std::filesystem::path& path, std::string_view bytes) override {
        files[path] = Bytes(bytes);
        return true;
    }
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        auto moved = files.extract(from);
        if (moved.empty()) return false;
        files.insert_or_assign(to, std::move(moved.mapped()));
        return true;
    }
    bool remove(const std::filesystem::path& path) override { return files.erase(path) == 1; }
};

}  // namespace kestrum
