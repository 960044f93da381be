// Importing the largest text file the problem-set window accepts (1 MiB of Japanese comments in
// UTF-8), beside the whole file converted and split as the import did before it stopped at what
// a set can hold.
#include "problem_sets/problem_set_document.h"
#include "support/memory_file_system.h"

#include <benchmark/benchmark.h>

namespace kestrum {
namespace {

Bytes largestList() {
    Bytes list;
    for (int i = 0; list.size() + 64 <= kMaxImportBytes; ++i)
        list += "item " + std::to_string(i) + "\tホームポジションの練習です\r\n";
    return list;
}

void importWhatFits(benchmark::State& state) {
    MemoryFileSystem files;
    files.files["/list.txt"] = largestList();
    for (auto _ : state)
        benchmark::DoNotOptimize(importProblemFile(files, "/list.txt", kMaxProblemItems));
}
BENCHMARK(importWhatFits)->Unit(benchmark::kMillisecond);

void importWholeFile(benchmark::State& state) {
    const Bytes list = largestList();
    for (auto _ : state)
        benchmark::DoNotOptimize(importProblemItems(list));
}
BENCHMARK(importWholeFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrum

BENCHMARK_MAIN();
