#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestrum {

// What the engine needs of folders besides whole files: listing one, and making one.
class Folders {
public:
    virtual ~Folders() = default;

    // The names (UTF-8, without the folder) of the regular files in `dir`, sorted; empty when
    // the folder is missing or cannot be read.
    virtual std::vector<std::string> fileNames(const std::filesystem::path& dir) = 0;

    // True when anything (a file, a folder, a link) lies at `path`.
    virtual bool exists(const std::filesystem::path& path) = 0;

    // Makes `dir` and its missing parents; true when it is a folder afterwards.
    virtual bool makeDirectory(const std::filesystem::path& dir) = 0;
    // True when a file lies at `path` that nobody may write (every write bit is clear), as the
    // learner marks a file to keep it from changes; whoever runs the program, root included.
    virtual bool isReadOnly(const std::filesystem::path& path) = 0;
};

class DiskFolders final : public Folders {
public:
    std::vector<std::string> fileNames(const std::filesystem::path& dir) override;
    bool exists(const std::filesystem::path& path) override;
    bool makeDirectory(const std::filesystem::path& dir) override;
    bool isReadOnly(const std::filesystem::path& path) override;
};

}  // namespace kestrum
