#include "platform/desktop_data_dir.h"

#include "platform/data_dir.h"
#include "platform/file_system.h"
#include "platform/folders.h"

#include <unistd.h>
#include <cstdlib>

namespace kestrum {

namespace {

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

constexpr std::size_t kMaxSampleBytes = 4 * 1024 * 1024;

void copyProblemSets(const std::filesystem::path& from, const std::filesystem::path& to) {
    DiskFolders folders;
    DiskFileSystem files;
    // Only at the first start: a set the learner deleted later stays deleted.
    if (folders.exists(to) || !folders.makeDirectory(to)) return;
    for (const std::string& name : folders.fileNames(from)) {
        if (std::filesystem::path(name).extension() != ".tdc") continue;
        const FileSystem::ReadResult sample = files.readFile(from / name, kMaxSampleBytes);
        if (sample.status == FileSystem::ReadStatus::Ok) {
            replaceContents(files, to / name, to / ("." + name + ".tmp"), sample.bytes);
        }
    }
}

}  // namespace

ProgramDirResult chooseDataDir(const ProgramDirResult& program) {
    if (program.message) return program;
    const std::filesystem::path programDir(program.dir);
    const bool writable = ::access(programDir.c_str(), W_OK) == 0;
    const std::filesystem::path dataDir =
        dataDirFor(programDir, writable, environment("XDG_DATA_HOME"), environment("HOME"));
    if (dataDir != programDir) copyProblemSets(programDir / "tdcs", dataDir / "tdcs");
    return {dataDir.string(), std::nullopt};
}

}  // namespace kestrum
