// The drill engine's cost per judged key and per whole lesson, with every platform service
// faked so that only the engine's own work is measured.
#include "drill/drill_engine.h"
#include "drill/drill_host.h"
#include "history/score_file.h"
#include "menu/settings.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/keyboard_state.h"
#include "platform/random_source.h"
#include "platform/sound.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestrum {
namespace {

class ManualClock final : public Clock {
public:
    std::uint32_t tickCount() override { return now; }
    std::uint32_t now = 0;
};

class CapsOff final : public KeyboardState {
public:
    std::uint16_t capsLockState() const override { return 0; }
};

class Silence final : public SoundPlayer {
public:
    void play(std::string_view) override {}
};

// A history that is always empty and accepts every write, so no disk is touched.
class NullFiles final : public FileSystem {
public:
    ReadResult readFile(const std::filesystem::path&, std::size_t) override { return {}; }
    std::optional<Bytes> readOrCreate(const std::filesystem::path&, std::size_t) override {
        return Bytes();
    }
    bool writeFile(const std::filesystem::path&, std::string_view) override { return true; }
    bool replace(const std::filesystem::path&, const std::filesystem::path&) override {
        return true;
    }
    bool remove(const std::filesystem::path&) override { return true; }
};

class IdleHost final : public DrillHost {
public:
    void startTimer(DrillTimer, int) override {}
    void stopTimer(DrillTimer) override {}
    void runEnded(const LessonResult&) override { ++runs; }
    void returnToMenu(const Messages&) override {}
    void endProgram(const Messages&) override {}
    int runs = 0;
};

struct Bench {
    Settings settings;
    ManualClock clock;
    SeededRandom random{42};
    CapsOff caps;
    Silence sound;
    NullFiles files;
    ScoreFile scores{files, "/nonexistent"};
    IdleHost host;
    DrillEngine engine{settings, clock, random, caps, sound, scores, host};

    // Types the item on screen and lets its pause run out.
    void typeItem() {
        const Bytes target = engine.state().target;
        for (char c : target) {
            clock.now += 100;
            engine.FormKeyPress(static_cast<unsigned char>(c));
        }
        clock.now += kPauseMs;
        engine.timerFired(DrillTimer::pause);
    }
};

// A problem set of two items drawn at random for a thousand steps.
lesson endlessProblemSet(std::vector<Bytes> words) {
    lesson record;
    record.name = "bench";
    record.kind = 1;
    record.words = std::move(words);
    record.comments = {"", ""};
    record.comment_index = {0, 1};
    record.word_count = record.comment_count = record.comment_index_count = 2;
    record.program_length = 1000;
    record.program.assign(1000, -1);
    return record;
}

void BM_JudgeMissedKey(benchmark::State& state) {
    Bench bench;
    bench.engine.FormShow(2, lesson{});
    bench.engine.FormKeyPress('s');
    for (auto _ : state) {
        bench.engine.FormKeyPress('@');  // never expected: the item stays where it is
        benchmark::DoNotOptimize(bench.engine.state().key_count);
    }
}
BENCHMARK(BM_JudgeMissedKey);

void BM_JudgeCorrectKey(benchmark::State& state) {
    Bench bench;
    const lesson endless =
        endlessProblemSet({"asdfghjkl;qwertyuiopzxcvb", "zxcvbnm,./asdfghjkl;qwert"});
    bench.engine.FormShow(kProblemSetLessonNo, endless);
    bench.engine.FormKeyPress('s');
    for (auto _ : state) {
        const DrillState& drill = bench.engine.state();
        const auto next =
            static_cast<unsigned char>(drill.target[static_cast<std::size_t>(drill.position - 1)]);
        bench.clock.now += 100;
        bench.engine.FormKeyPress(next);
        if (drill.accept_key == 0) {  // every 25th key also ends the item's pause
            bench.clock.now += kPauseMs;
            bench.engine.timerFired(DrillTimer::pause);
        }
        if (drill.started == 0) {  // the run is over: the next one starts at once
            bench.engine.resultChosen(kModalRetry);
            bench.engine.FormKeyPress('s');
        }
    }
}
BENCHMARK(BM_JudgeCorrectKey);

// A key of a romaji item of lesson 6, judged with the romaji option off (0) and on (1): off, the
// learner types the row; on, another spelling that redraws the row, one of them longer than the
// 25 cells. Showing and preparing the next item is left out (see romaji_bench).
void BM_JudgeRomajiKey(benchmark::State& state) {
    Bench bench;
    const bool option = state.range(0) == 1;
    bench.settings.romaji_spellings = option ? 1 : 0;
    const std::map<Bytes, std::string> other = {
        {"asitahaennsoku,tanosimida", "ashitahaennsoku,tanoshimida"},
        {"kyonennnofuyuha,samukatta", "kyonennnofuyuha,samucatta"}};
    const lesson endless =
        endlessProblemSet({"asitahaennsoku,tanosimida", "kyonennnofuyuha,samukatta"});
    bench.engine.FormShow(kProblemSetLessonNo, endless);
    bench.engine.FormKeyPress('s');
    const DrillState& drill = bench.engine.state();
    std::string keys = option ? other.at(drill.target) : drill.target;
    std::size_t at = 0;
    for (auto _ : state) {
        bench.clock.now += 100;
        bench.engine.FormKeyPress(static_cast<unsigned char>(keys[at++]));
        if (drill.accept_key != 0) continue;
        state.PauseTiming();  // preparing an item is measured on its own
        bench.clock.now += kPauseMs;
        bench.engine.timerFired(DrillTimer::pause);
        if (drill.started == 0) {
            bench.engine.resultChosen(kModalRetry);
            bench.engine.FormKeyPress('s');
        }
        keys = option ? other.at(drill.target) : drill.target;
        at = 0;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_JudgeRomajiKey)->Arg(0)->Arg(1);

void BM_WholeRunOfLessonTwo(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        bench.engine.FormShow(2, lesson{});
        bench.engine.FormKeyPress('s');
        while (bench.engine.state().started == 1)
            bench.typeItem();
        bench.engine.resultChosen(kModalMenu);
    }
    state.counters["runs"] = bench.host.runs;
}
BENCHMARK(BM_WholeRunOfLessonTwo);

}  // namespace
}  // namespace kestrum

BENCHMARK_MAIN();
