#pragma once

#include "drill/drill_engine.h"
#include "drill/drill_host.h"
#include "drill/lesson.h"
#include "drill/lesson_result.h"
#include "history/score_file.h"
#include "menu/settings.h"
#include "platform/random_source.h"
#include "support/fake_services.h"
#include "support/memory_file_system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace kestrum::testing {

// A seeded generator that counts its draws; queued values come first.
class CountingRandom final : public RandomSource {
public:
    std::int32_t next() override {
        ++draws;
        if (queued.empty()) return seeded.next();
        const std::int32_t value = queued.front();
        return queued.erase(queued.begin()), value;
    }
    SeededRandom seeded{12345};
    std::vector<std::int32_t> queued;
    int draws = 0;
};

// Records what the engine asks of its window; running timers map to their interval.
class RecordingHost final : public DrillHost {
public:
    void startTimer(DrillTimer timer, int intervalMs) override { running[timer] = intervalMs; }
    void stopTimer(DrillTimer timer) override { running.erase(timer); }
    void runEnded(const LessonResult& result) override { results.push_back(result); }
    void returnToMenu(const Messages& messages) override { menuCalls.push_back(messages); }
    void endProgram(const Messages& messages) override { endCalls.push_back(messages); }
    bool isRunning(DrillTimer timer) const { return running.count(timer) != 0; }

    std::map<DrillTimer, int> running;
    std::vector<LessonResult> results;
    std::vector<Messages> menuCalls;
    std::vector<Messages> endCalls;
};

// One drill engine with fakes around it and its history file in memory.
class DrillFixture : public ::testing::Test {
protected:
    DrillEngine& engine() {
        if (!engine_) engine_.emplace(settings, clock, random, capsLock, sound, scores, host);
        return *engine_;
    }
    const DrillState& state() { return engine().state(); }
    const DrillView& view() { return engine().view(); }
    int keyState(unsigned char ch) {
        return engine().keyboard().key_state(engine().keyboard().keyOf(ch));
    }
    void press(unsigned char key, std::uint32_t afterMs = 100) {
        clock.now += afterMs;
        engine().FormKeyPress(key);
    }
    void typeKeys(std::string_view keys) {
        for (const char key : keys)
            press(static_cast<unsigned char>(key));
    }
    void pressTarget(std::size_t at) { press(static_cast<unsigned char>(state().target.at(at))); }
    void endPause() {
        clock.now += kPauseMs;
        engine().timerFired(DrillTimer::pause);
    }
    // Types the current item without a miss and ends its pause.
    void typeItem() {
        typeKeys(state().target);
        endPause();
    }

    // A problem-set record as the menu fills it: identity comment order, all steps random.
    static lesson problemSet(std::vector<Bytes> words, std::int32_t steps) {
        lesson record;
        record.name = "sample";
        record.kind = 1;
        record.word_count = record.comment_count = record.comment_index_count =
            static_cast<std::int32_t>(words.size());
        for (std::int32_t i = 0; i < record.word_count; ++i)
            record.comment_index.push_back(i), record.comments.push_back("c" + std::to_string(i));
        record.words = std::move(words);
        record.program.assign(static_cast<std::size_t>(steps), -1);
        record.program_length = steps;
        return record;
    }
    void startProblemSet(const lesson& record) {
        problem = record;
        engine().FormShow(kProblemSetLessonNo, problem);
        press('s');
    }
    // The letters the guide lights as the next key.
    std::string litLetters() {
        std::string keys;
        for (char c = 'a'; c <= 'z'; ++c)
            keys += keyState(static_cast<unsigned char>(c)) == 2 ? std::string(1, c) : "";
        return keys;
    }
    std::string row() {
        std::string text;
        for (const CharCell& cell : view().cells)
            text += cell.text;
        return text;
    }
    int misses() {
        return std::accumulate(state().miss_counts.begin(), state().miss_counts.end(), 0);
    }
    Bytes scoreBytes() { return files.files["/data/score.dat"]; }

    MemoryFileSystem files;
    ScoreFile scores{files, "/data"};
    Settings settings;
    FakeClock clock;
    CountingRandom random;
    FakeCapsLock capsLock;
    RecordingSound sound;
    RecordingHost host;
    lesson problem;

private:
    std::optional<DrillEngine> engine_;
};

}  // namespace kestrum::testing
