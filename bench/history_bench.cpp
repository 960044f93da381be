#include "history/score_file.h"
#include "platform/file_system.h"
#include "support/memory_file_system.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kestrum {
namespace {

constexpr int kLessons = 200;

ScoreKey problemSet(int number, std::int32_t speed = 0) {
    ScoreKey key = scoreKeyFor(1, "problem set " + std::to_string(number));
    key.speed = speed;
    key.accuracy = 90;
    return key;
}

// 200 lessons with a full history each, written directly so that set-up stays quick.
void fillHistory(FileSystem& files, const std::filesystem::path& dir) {
    Bytes image;
    for (int lesson = 0; lesson < kLessons; ++lesson) {
        const Bytes name = problemSet(lesson).name;
        image += '\x01';
        image += static_cast<char>(name.size());
        image += name;
        image += static_cast<char>(kMaxAttempts);
        for (int i = 0; i < kMaxAttempts; ++i)
            image += Bytes{'\x00', '\x64', '\x5A'};
    }
    files.writeFile(dir / "score.dat", image);
}

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrum-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The last lesson is the worst case: every entry before it is walked.
template <typename Files>
void appendScore(benchmark::State& state) {
    TempDir dir;
    Files files;
    fillHistory(files, dir.path());
    ScoreFile scores(files, dir.path());
    int speed = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scores.AppendScore(problemSet(kLessons - 1, ++speed)));
    }
}

template <typename Files>
void readScores(benchmark::State& state) {
    TempDir dir;
    Files files;
    fillHistory(files, dir.path());
    ScoreFile scores(files, dir.path());
    const ScoreKey key = problemSet(kLessons - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(scores.ReadScores(key));
}

// On disk: includes the flush of temp.tmp and of the directory.
BENCHMARK(appendScore<DiskFileSystem>)->Name("AppendScore/disk")->Unit(benchmark::kMicrosecond);
BENCHMARK(appendScore<MemoryFileSystem>)->Name("AppendScore/memory")->Unit(benchmark::kMicrosecond);
BENCHMARK(readScores<DiskFileSystem>)->Name("ReadScores/disk")->Unit(benchmark::kMicrosecond);
BENCHMARK(readScores<MemoryFileSystem>)->Name("ReadScores/memory")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum

BENCHMARK_MAIN();
