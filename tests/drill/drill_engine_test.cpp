#include "drill/drill_engine.h"
#include "drill/lesson_figures.h"
#include "history/score_file.h"
#include "platform/random_source.h"
#include "progress/weak_key_drill.h"
#include "support/fake_services.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <set>

namespace kestrum::testing {
namespace {

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

// One drill engine with fakes around it and its history file in memory.
class DrillTest : public ::testing::Test {
protected:
    const DrillState& state() { return engine.state(); }
    const DrillView& view() { return engine.view(); }
    int keyState(unsigned char ch) {
        return engine.keyboard().key_state(engine.keyboard().keyOf(ch));
    }
    void press(unsigned char key, std::uint32_t afterMs = 100) {
        clock.now += afterMs;
        engine.FormKeyPress(key);
    }
    void typeKeys(std::string_view keys) {
        for (const char key : keys)
            press(static_cast<unsigned char>(key));
    }
    void pressTarget(std::size_t at) { press(static_cast<unsigned char>(state().target.at(at))); }
    void endPause() {
        clock.now += kPauseMs;
        engine.timerFired(DrillTimer::pause);
    }
    // Types the current item without a miss and ends its pause.
    void typeItem() {
        typeKeys(state().target);
        endPause();
    }

    // A problem-set record as the menu fills it: identity comment order, all steps random.
    static lesson problemSet(std::vector<Bytes> words, std::int32_t steps) {
        lesson record{"sample", std::move(words), {}, 1, {}, std::vector<std::int32_t>(steps, -1)};
        for (std::int32_t i = 0; i < std::ssize(record.words); ++i)
            record.comment_index.push_back(i), record.comments.push_back("c" + std::to_string(i));
        countLessonParts(record);
        return record;
    }
    void startProblemSet(const lesson& record) {
        problem = record;
        engine.FormShow(kProblemSetLessonNo, problem);
        press('s');
    }
    // The letters the guide lights as the next key.
    std::string litLetters() {
        std::string keys;
        for (unsigned char c = 'a'; c <= 'z'; ++c)
            if (keyState(c) == 2) keys += static_cast<char>(c);
        return keys;
    }
    std::string row() {
        const auto add = [](std::string text, const CharCell& cell) { return text + cell.text; };
        return std::accumulate(view().cells.begin(), view().cells.end(), std::string(), add);
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
    DrillEngine engine{settings, clock, random, capsLock, sound, scores, host};
};

// The sound and guide settings are read at every key.
TEST_F(DrillTest, MissesSoundsAndGuidesFollowTheSettings) {
    startProblemSet(problemSet({"ab", "cd"}, 5));
    typeKeys("zz");
    pressTarget(0);
    EXPECT_EQ(misses(), 2);
    settings.sound = 2;  // silent
    press('z');
    settings.sound = 1;  // errors only
    press('z');
    press('z');
    pressTarget(1);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"ERROR", "ERROR", "PUSH", "ERROR", "ERROR"}));

    endPause();
    settings.guide = 3;  // no guide at all: a miss marks nothing
    press('y');
    EXPECT_EQ(keyState('y'), 0);
    settings.guide = 2;  // the guide only after a miss: the struck key greys, the right one lights
    press('y');
    EXPECT_EQ(keyState('y'), 1);
    EXPECT_EQ(keyState(static_cast<unsigned char>(state().target[0])), 2);
    settings.guide = 1;  // the guide a moment after each right key
    const auto next = static_cast<unsigned char>(state().target[1]);
    pressTarget(0);
    EXPECT_EQ(host.running[DrillTimer::timer_target], kTargetIntervalMs);
    EXPECT_EQ(keyState(next), 0);
    engine.timerFired(DrillTimer::timer_target);
    EXPECT_EQ(keyState(next), 2);
}

// Letters show in the case the settings ask for, nothing else turns; with distinct on, the right
// letter in the wrong case is a miss that marks the Shift key to use, with it off either case is
// right.
TEST_F(DrillTest, CaseFollowsTheDisplayAndDistinctSettings) {
    settings.letter_type = 1;  // capitals
    settings.distinct = 1;
    startProblemSet(problemSet({"az;-"}, 2));
    EXPECT_EQ(state().target, "AZ;-");
    press('a');
    EXPECT_EQ(state().miss_counts['A'], 1);
    EXPECT_EQ(engine.keyboard().key_state(KeyboardModel::kRightShift), 2);
    typeKeys("AZ;-");
    endPause();
    settings.distinct = 0;
    typeKeys("az;-");
    EXPECT_EQ(state().hit_counts['A'], 2);
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));
    engine.Button_go_menuClick();
    settings.letter_type = 2;  // small letters
    startProblemSet(problemSet({"AZ,."}, 1));
    EXPECT_EQ(state().target, "az,.");
}

// Keys during the pause after an item are dropped, activation keeps the item on screen, and an
// early timer waits out the rest of the 150 ms.
TEST_F(DrillTest, KeysDuringThePauseAreDroppedAndThePauseIsTimed) {
    startProblemSet(problemSet({"a b"}, 1));
    press('x');
    engine.FormActivate();  // after a miss too
    EXPECT_TRUE(view().cells[0].visible);
    typeKeys("a ");
    EXPECT_EQ(view().cells[1].text, "_");  // a typed blank stays visible
    engine.Button_go_menuClick();
    startProblemSet(problemSet({"ab", "cd"}, 2));
    typeItem();
    pressTarget(0);
    press(static_cast<unsigned char>(state().target[1]), 0);
    ASSERT_TRUE(host.isRunning(DrillTimer::pause));
    engine.FormActivate();
    EXPECT_TRUE(view().cells[1].visible);
    const int keys = state().key_count;
    press('x', 10);
    pressTarget(0);
    EXPECT_EQ(state().key_count, keys);
    clock.now += 10;  // the timer came early: 120 ms of 150 have passed
    engine.timerFired(DrillTimer::pause);
    EXPECT_EQ(host.running[DrillTimer::pause], 30);
    EXPECT_TRUE(host.results.empty());
    clock.now += 30;
    engine.timerFired(DrillTimer::pause);
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(state().end_tick - state().start_tick, 100u + 150u + 100u + 0u + 150u);
}

TEST_F(DrillTest, RandomDrawsAvoidThePreviousWordAndTheNextFixedStep) {
    startProblemSet(problemSet({"ab"}, 2));
    EXPECT_EQ(random.draws, 100);  // a single word is taken on the hundredth draw
    typeItem();
    EXPECT_EQ(view().Label_counter, "あと 1回");
    engine.Button_go_menuClick();

    lesson record = problemSet({"w0", "w1", "w2", "w3"}, 3);
    record.program = {1, -1, 2};
    random.draws = 0;
    startProblemSet(record);
    EXPECT_EQ(random.draws, 0);  // a fixed step draws nothing
    // 1 repeats the word just typed, 2 anticipates the next step, 5 and 6 do so modulo 4.
    random.queued = {1, 2, 5, 6, 7};
    typeItem();
    EXPECT_EQ(random.draws, 5);
    EXPECT_EQ(state().target, "w3");
    EXPECT_EQ(view().message_lines[0], "c3");  // the word's comment
}

// An unknown lesson number ends the program; the menu abandons a run; the result leads to a
// retry or the menu.
TEST_F(DrillTest, BadLessonsEndTheProgramTheMenuAbandonsTheRunTheResultLeadsOn) {
    for (int bad : {-1, 7, 41, 43})
        engine.FormShow(bad, problem);
    EXPECT_EQ(host.endCalls,
              std::vector<Messages>(
                  4, {{Message::Icon::Stop, "レッスン番号が不正です。", "内部エラー"}}));
    engine.FormShow(1, problem);
    press('s');
    typeItem();
    engine.Button_go_menuClick();
    EXPECT_EQ(host.menuCalls, (std::vector<Messages>{{}}));
    EXPECT_TRUE(host.running.empty() && scoreBytes().empty());
    engine.FormShow(1, problem);
    press('s');
    EXPECT_EQ(state().key_count, 0);
    engine.Button_go_menuClick();

    startProblemSet(problemSet({"ab", "cd"}, 1));
    // 2 right keys of 3; 450 ms from the first judged key to the end of the pause.
    press('x', 0);
    press(static_cast<unsigned char>(state().target[0]), 200);
    pressTarget(1);
    endPause();
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0].key, (ScoreKey{1, 6, "sample", 2 * 60000 / 450, 66}));
    // The memo: each key typed right, its hits, misses and miss rate in percent, in byte order.
    const Bytes first(1, state().target[0]), second(1, state().target[1]);
    EXPECT_EQ(host.results[0].memo_lines,
              (std::vector<Bytes>{first + ":total = 1,miss = 1,rate = 100",
                                  second + ":total = 1,miss = 0,rate = 0"}));
    press('a');  // the result window is on its way: the key is dropped
    EXPECT_EQ(state().started, 0);
    engine.resultChosen(kModalRetry);
    EXPECT_EQ(view().lbl_sample, "Press any key to start!!");
}

// A problem set whose counts overstate its tables is refused with a message (the reader's own
// tests hold the other refusals); one whose words name no comment runs without reading past a
// table.
TEST_F(DrillTest, UnusableItemsAreRefusedWithAMessage) {
    lesson moreWordsThanHeld = problemSet({"ab", "cd"}, 5);
    moreWordsThanHeld.word_count = 3;
    startProblemSet(moreWordsThanHeld);
    ASSERT_EQ(host.menuCalls.size(), 1u);
    EXPECT_EQ(host.menuCalls[0].at(0).caption, "sample");

    lesson fewComments = problemSet({"ab", "cd"}, 2);
    fewComments.comment_index = {7};  // word 1 has no entry, word 0 names no comment
    fewComments.comments.clear();
    startProblemSet(fewComments);
    typeItem();
    typeItem();
    EXPECT_EQ(host.results.size(), 1u);
}

// Romaji items with the option on take every input-method spelling: the guide lights the next
// key of the spelling being typed (after "sh" the row becomes "shinkansen").
TEST_F(DrillTest, RomajiSpellingsGuideAndRedrawTheRow) {
    settings.romaji_spellings = 1;
    startProblemSet(problemSet({"sinnkannsenn"}, 1));
    const std::string keys = "shinkansen", guided = "iinkansen";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        press(static_cast<unsigned char>(keys[i]));
        EXPECT_EQ(litLetters(), guided.substr(i, 1)) << "after " << keys.substr(0, i + 1);
    }
    EXPECT_EQ(row(), "shinkansen");
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));  // the item is done

    startProblemSet(problemSet({"jitennsya"}, 1));
    typeKeys("jiten");
    EXPECT_EQ(row(), "jitennsya");
    typeKeys("sh");  // a single n, then しゃ as "sh"
    EXPECT_EQ(row(), "jitensha");
    for (std::size_t i = 0; i < view().cells.size(); ++i)
        EXPECT_EQ(view().cells[i].typed, i < 7) << i;
    settings.distinct = 1;  // a wrong case marks the Shift key to use, a wrong letter does not
    startProblemSet(problemSet({"sinnkannsenn"}, 1));
    press('x');
    EXPECT_EQ(engine.keyboard().key_state(KeyboardModel::kRightShift), 0);
    press('S');
    EXPECT_EQ(engine.keyboard().key_state(KeyboardModel::kRightShift), 2);
}

// Every item of lessons 5 and 6 typed in another spelling (data/lesson_spellings.tsv, written
// from the input method's table): 100 % with the option on, less with it off. The weak-key
// drill runs through the problem set's slot but, like lessons 1 to 4, takes only its own
// spelling.
TEST_F(DrillTest, RomajiLessonsTakeOtherSpellingsAndTheWeakKeyDrillDoesNot) {
    std::map<Bytes, std::string> other;
    for (const std::vector<std::string>& row : tableRows("lesson_spellings.tsv"))
        other[row.at(0)] = row.at(1);
    std::set<Bytes> seen;
    const auto run = [&](int lessonNo) {
        engine.FormShow(lessonNo, problem);
        press('s');
        for (const std::size_t before = host.results.size(); host.results.size() == before;) {
            seen.insert(state().target);
            typeKeys(other.at(state().target));
            endPause();
        }
        return host.results.back().accuracy;
    };
    for (const int lessonNo : {5, 6}) {
        settings.romaji_spellings = 0;
        EXPECT_LT(run(lessonNo), 100) << lessonNo;
        settings.romaji_spellings = 1;
        seen.clear();
        for (int runs = 0; runs < 100 && seen.size() < engine.currentLesson()->words.size(); ++runs)
            EXPECT_EQ(run(lessonNo), 100) << lessonNo;
        EXPECT_EQ(seen.size(), engine.currentLesson()->words.size()) << lessonNo;
    }

    startProblemSet(buildWeakKeyDrill({{"u", 20, 10}}).record.value());
    typeKeys("zzyuu");
    EXPECT_EQ(std::tuple(state().target, misses()), std::tuple(Bytes("jjuujjuu"), 5));
    startProblemSet(problemSet({"jjuujjuu"}, 1));
    typeKeys("zzyuu");
    EXPECT_EQ(misses(), 0);
}

// Lesson zero opens its introduction each time it is shown; only the blank turns its pages, up
// to the last, and nothing is judged or recorded.
TEST_F(DrillTest, TheTutorialTurnsPagesOnlyOnTheBlankAndJudgesNothing) {
    const std::string first = "このLESSONでは、";
    engine.FormShow(0, problem);
    EXPECT_EQ(view().message_lines[0], first);
    EXPECT_EQ(view().message_lines[3], std::string(28, ' ') + "(スペースキーで次へ進む)");
    for (unsigned char key : {'a', 'j', '\r', '\x1b'})
        press(key);
    EXPECT_EQ(engine.tutorial().page(), 0);
    for (int i = 0; i < 20; ++i)
        press(' ');
    EXPECT_EQ(view().message_lines[0], "このLESSONは、これで終了です。");
    EXPECT_EQ(view().message_lines[3], "(Tabキーを押してからEnterキーでも戻れます)");
    EXPECT_TRUE(
        view().go_menu_tab_stop);  // after every page the keyboard still reaches the way back
    EXPECT_TRUE(state().key_count == 0 && sound.played.empty() && scoreBytes().empty());
    engine.Button_go_menuClick();
    engine.FormShow(0, problem);
    EXPECT_EQ(view().message_lines[0], first);
    engine.FormShow(1, problem);  // a drill lesson stops the blinking
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
}

// Rows of data/lesson_figures.tsv.
TEST(LessonFigures, SpeedAccuracyAndElapsedTime) {
    for (const auto& row : tableRows("lesson_figures.tsv")) {
        const std::int64_t a = std::stoll(row.at(1)), b = std::stoll(row.at(2));
        const std::int64_t figure =
            row[0] == "speed"      ? speedPerMinute(std::int32_t(a), std::uint32_t(b))
            : row[0] == "accuracy" ? accuracyPercent(std::int32_t(a), std::int32_t(b))
                                   : elapsedTicks(std::uint32_t(a), std::uint32_t(b));
        EXPECT_EQ(figure, std::stoll(row.at(3))) << row[0] << " " << a << " " << b;
    }
}

}  // namespace
}  // namespace kestrum::testing
