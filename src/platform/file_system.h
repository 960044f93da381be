#pragma once

#include "platform/text.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace kestrum {

// The file operations the engine needs, whole files at a time. Tests substitute a layer that
// fails on demand; DiskFileSystem is the real one.
class FileSystem {
public:
    enum class ReadStatus { Ok, Missing, Unreadable, TooLarge };
    struct ReadResult {
        ReadStatus status = ReadStatus::Missing;
        Bytes bytes;  // the file's bytes when status is Ok
    };

    virtual ~FileSystem() = default;

    // Reads the whole file, or reports why not. More than maxBytes is TooLarge (so a device or a
    // runaway file can never exhaust memory).
    virtual ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) = 0;

    // Opens for reading like fopen(path, "ab+"): a missing file is created empty. Returns the
    // bytes, or nothing when the file can be neither opened nor created. A link whose target is
    // missing is not followed to create one.
    virtual std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                              std::size_t maxBytes) = 0;

    // Creates or truncates the file and writes the bytes, flushed to stable storage before it
    // returns true.
    virtual bool writeFile(const std::filesystem::path& path, std::string_view bytes) = 0;

    // Puts `from` in the place of `to` in one step (the old `to` stays whole until then). The
    // file put in place keeps the permission bits of the one it replaces.
    virtual bool replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

    virtual bool remove(const std::filesystem::path& path) = 0;

    // An exclusive lock, held until the object is destroyed.
    class Lock {
    public:
        virtual ~Lock() = default;
    };

    // Waits for and takes the exclusive lock of the file at `path`, creating it empty like
    // readOrCreate when it is missing. The lock belongs to the file that lies at `path` when it
    // is granted: a holder that replaced the file meanwhile does not hand on a lock of the old
    // one. Nothing when the file can be neither opened nor created or is not a plain file; a
    // layer that no second writer can reach locks nothing.
    virtual std::unique_ptr<Lock> lockExclusive(const std::filesystem::path&) {
        return std::make_unique<Lock>();
    }

    // Where a write meant for `path` belongs: the file that a symbolic link at `path` leads to,
    // or `path` itself.
    virtual std::filesystem::path followLinks(const std::filesystem::path& path) { return path; }
};

// Replaces the whole content of `target` through `scratch`, a file beside it: whatever lies at
// `scratch` is removed first (a stale copy, or a link that would send the write elsewhere), the
// bytes are written and flushed there and then put in the place of `target` in one step. Returns
// true when `target` holds the bytes; on false `target` is as it was and `scratch` is gone
// (unless it could not be removed either).
bool replaceContents(FileSystem& files, const std::filesystem::path& target,
                     const std::filesystem::path& scratch, std::string_view bytes);

class DiskFileSystem final : public FileSystem {
public:
    ReadResult readFile(const std::filesystem::path& path, std::size_t maxBytes) override;
    std::optional<Bytes> readOrCreate(const std::filesystem::path& path,
                                      std::size_t maxBytes) override;
    bool writeFile(const std::filesystem::path& path, std::string_view bytes) override;
    bool replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool remove(const std::filesystem::path& path) override;
    std::unique_ptr<Lock> lockExclusive(const std::filesystem::path& path) override;
    std::filesystem::path followLinks(const std::filesystem::path& path) override;
};

}  // namespace kestrum
