// The romaji judgement on its own: preparing an item when it is shown, and judging a key.
#include "romaji/romaji_typing.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {
namespace {

// The longest items of lesson 6, and one of the letter patterns no word of which reads as romaji.
constexpr std::string_view kItems[] = {"niwanihaniwaniwatorigairu", "asitahaennsoku,tanosimida",
                                       "kyonennnofuyuha,samukatta", "atarasiihonnga,attarasii",
                                       "ffkk jjdd djdj kfkf"};

void BM_PrepareRomajiItem(benchmark::State& state) {
    RomajiTyping typing;
    const std::string_view item = kItems[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(typing.load(item));
    state.SetLabel(std::string(item));
}
BENCHMARK(BM_PrepareRomajiItem)->DenseRange(0, std::size(kItems) - 1);

// Keys of another spelling than the row's, on items prepared beforehand, so that only the
// judgement and the redrawing of the row are timed.
void BM_JudgeRomajiKey(benchmark::State& state) {
    constexpr std::string_view kItem = "sinnkannsenn";
    constexpr std::string_view kKeys = "shinkansen";
    std::vector<RomajiTyping> items(4096);
    const auto prepare = [&items, kItem] {
        for (RomajiTyping& typing : items)
            typing.load(kItem);
    };
    prepare();
    std::size_t item = 0;
    std::size_t at = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(items[item].press(static_cast<unsigned char>(kKeys[at]), true));
        if (++at < kKeys.size()) continue;
        at = 0;
        if (++item < items.size()) continue;
        item = 0;
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_JudgeRomajiKey);

}  // namespace
}  // namespace kestrum

BENCHMARK_MAIN();
