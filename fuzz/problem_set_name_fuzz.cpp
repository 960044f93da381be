// Any bytes as the problem-set name: the reader never crashes, never starts a lesson from a
// file that is not there, and never asks for any file but one .tdc file directly inside tdcs.
#include "check.h"
#include "menu/problem_set_reader.h"
#include "support/memory_file_system.h"

using namespace kestrum;
using kestrum::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem files;
    Settings settings;
    settings.problem_set_name.assign(reinterpret_cast<const char*>(data), size);
    ProblemSet set;
    const ProblemSetLoad load = LoadProblemSet(set, files, "/data", settings);
    check(!load.ok && !load.messages.empty());
    if (files.lastRead.empty()) return 0;

    const std::filesystem::path& read = files.lastRead;
    const std::string file = read.filename().string();
    const bool inside = read.parent_path() == "/data/tdcs" && file != "." && file != ".." &&
                        read.extension() == ".tdc";
    check(inside);
    return 0;
}
