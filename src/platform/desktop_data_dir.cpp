#include "platform/desktop_data_dir.h"

#include "platform/data_dir.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/instance_lock.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

namespace kestrum {

namespace {

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// $HOME, or the account's home when it is unset (a program started by a service or `env -i`).
std::string_view homeFolder() {
    const std::string_view home = environment("HOME");
    if (!home.empty()) return home;
    const passwd* account = ::getpwuid(::getuid());
    return account != nullptr && account->pw_dir != nullptr ? account->pw_dir : "";
}

// Makes `dir` and its missing parents readable by their owner only, as the XDG base directory
// rules ask of the folders a program creates for its user's data; existing ones stay as they are.
void makePrivateDirectories(const std::filesystem::path& dir) {
    std::filesystem::path partial;
    for (const std::filesystem::path& part : dir) {
        partial /= part;
        ::mkdir(partial.c_str(), 0700);
    }
}

bool isWritableDirectory(const std::filesystem::path& dir) {
    std::error_code error;
    return std::filesystem::is_directory(dir, error) && ::access(dir.c_str(), W_OK) == 0;
}

constexpr std::size_t kMaxSampleBytes = 4 * 1024 * 1024;

void copyProblemSets(const std::filesystem::path& from, const std::filesystem::path& to) {
    DiskFolders folders;
    DiskFileSystem files;
    if (!folders.makeDirectory(to)) return;
    for (const std::string& name : folders.fileNames(from)) {
        if (std::filesystem::path(name).extension() != ".tdc") continue;
        const FileSystem::ReadResult sample = files.readFile(from / name, kMaxSampleBytes);
        if (sample.status == FileSystem::ReadStatus::Ok) {
            replaceContents(files, to / name, to / ("." + name + ".tmp"), sample.bytes);
        }
    }
}

// A learner who used the program from a folder that has since become an installation's (an
// older `make install` kept the files beside the program) finds the history and settings again.
void copyLearnerFiles(const std::filesystem::path& from, const std::filesystem::path& to) {
    DiskFolders folders;
    for (const std::string& name : folders.fileNames(from)) {
        std::error_code error;
        const auto permissions = std::filesystem::status(from / name, error).permissions();
        const bool program =
            (permissions & std::filesystem::perms::owner_exec) != std::filesystem::perms::none;
        if (program || name == kInstalledMarker || name == InstanceLock::kFileName) continue;
        std::filesystem::copy_file(from / name, to / name,
                                   std::filesystem::copy_options::skip_existing, error);
    }
}

// Only at the first start (no tdcs folder yet): a set the learner deleted later stays deleted.
void fillAtFirstStart(const std::filesystem::path& programDir,
                      const std::filesystem::path& dataDir) {
    if (DiskFolders().exists(dataDir / "tdcs")) return;
    copyLearnerFiles(programDir, dataDir);
    copyProblemSets(programDir / "tdcs", dataDir / "tdcs");
}

}  // namespace

ProgramDirResult chooseDataDir(const ProgramDirResult& program) {
    if (program.message) return program;
    const std::filesystem::path programDir(program.dir);
    const bool installed = ::access((programDir / kInstalledMarker).c_str(), F_OK) == 0;
    const bool writable = ::access(programDir.c_str(), W_OK) == 0;
    const std::filesystem::path dataDir =
        dataDirFor(programDir, installed, writable, environment("XDG_DATA_HOME"), homeFolder());
    if (dataDir != programDir) {
        makePrivateDirectories(dataDir);
        fillAtFirstStart(programDir, dataDir);
    }
    if (!isWritableDirectory(dataDir)) {
        return {dataDir.string(), infoMessage(unwritableDataDirText(dataDir))};
    }
    return {dataDir.string(), std::nullopt};
}

}  // namespace kestrum
