#include "drill_fixture.h"

#include "drill/lesson_catalogue.h"
#include "drill/lesson_figures.h"
#include "drill/tutorial.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

namespace kestrum::testing {
namespace {

using DrillTest = DrillFixture;
using Sounds = std::vector<std::string>;

// Misses count against the expected character; the sound and guide settings are read at every
// key.
TEST_F(DrillTest, MissesSoundsAndGuidesFollowTheSettings) {
    startProblemSet(problemSet({"ab", "cd"}, 5));
    const auto expected = static_cast<unsigned char>(state().target[0]);
    press('z');
    press('z');
    pressTarget(0);
    EXPECT_EQ(state().miss_counts[expected], 2);
    EXPECT_EQ(state().hit_counts[expected], 1);
    settings.sound = 2;  // silent
    press('z');
    settings.sound = 1;  // errors only
    press('z');
    press('z');
    pressTarget(1);
    EXPECT_EQ(sound.played, (Sounds{"ERROR", "ERROR", "PUSH", "ERROR", "ERROR"}));

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
    engine().timerFired(DrillTimer::timer_target);
    EXPECT_EQ(keyState(next), 2);
}

TEST_F(DrillTest, CaseFollowsTheDisplayAndDistinctSettingsAndCapsLock) {
    const auto shift = [&](KeyCell key) { return engine().keyboard().key_state(key); };
    settings.letter_type = 1;  // shown in capitals: every letter turns, nothing else
    settings.distinct = 1;
    startProblemSet(problemSet({"az;-"}, 2));
    EXPECT_EQ(state().target, "AZ;-");
    EXPECT_EQ(shift(KeyboardModel::kRightShift), 2);
    press('a');  // right letter, wrong case: a miss that marks the Shift key to use
    EXPECT_EQ(state().miss_counts['A'], 1);
    EXPECT_EQ(keyState('A'), 2);
    EXPECT_EQ(shift(KeyboardModel::kLeftShift), 0);
    engine().FormKeyDown(16, true);  // the same miss with Shift held greys both Shift keys
    press('a');
    EXPECT_EQ(shift(KeyboardModel::kRightShift), 1);
    EXPECT_EQ(shift(KeyboardModel::kLeftShift), 1);
    engine().FormKeyUp(16, false);
    for (unsigned char c : {'A', 'Z', ';', '-'})
        press(c);
    endPause();

    capsLock.state = KeyboardState::kToggled | KeyboardState::kHeld;
    engine().FormKeyDown(kVirtualKeyCapsLock, false);
    EXPECT_EQ(keyState('A'), 2);
    EXPECT_EQ(shift(KeyboardModel::kRightShift), 0);  // no Shift while Caps Lock is down
    settings.guide = 2;  // Caps Lock redraws the guide only when it is always shown
    capsLock.state = KeyboardState::kToggled;
    engine().FormKeyDown(kVirtualKeyCapsLock, false);
    EXPECT_EQ(keyState('A'), 0);
    settings.distinct = 0;  // either case is right
    for (unsigned char c : {'a', 'z', ';', '-'})
        press(c);
    EXPECT_EQ(state().hit_counts['A'], 2);
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));
    engine().Button_go_menuClick();
    settings.letter_type = 2;
    startProblemSet(problemSet({"AZ,."}, 1));
    EXPECT_EQ(state().target, "az,.");
}

// Keys during the pause after an item are dropped, activation keeps the item on screen, and an
// early timer waits out the rest of the 150 ms.
TEST_F(DrillTest, KeysDuringThePauseAreDroppedAndThePauseIsTimed) {
    startProblemSet(problemSet({"niwanihaniwa iwatorigairu"}, 1));  // 25 bytes fill every cell
    EXPECT_TRUE(std::all_of(view().cells.begin(), view().cells.end(),
                            [](const CharCell& cell) { return cell.text.size() == 1; }));
    for (std::size_t i = 0; i <= 12; ++i)
        pressTarget(i);
    EXPECT_EQ(view().cells[12].text, "_");  // a typed blank stays visible
    engine().Button_go_menuClick();
    startProblemSet(problemSet({"ab", "cd"}, 2));
    typeItem();
    pressTarget(0);
    press(static_cast<unsigned char>(state().target[1]), 0);
    ASSERT_TRUE(host.isRunning(DrillTimer::pause));
    engine().FormActivate();
    EXPECT_TRUE(view().cells[1].visible);
    const int keys = state().key_count;
    press('x', 10);
    pressTarget(0);
    EXPECT_EQ(state().key_count, keys);
    clock.now += 10;  // the timer came early: 120 ms of 150 have passed
    engine().timerFired(DrillTimer::pause);
    EXPECT_EQ(host.running[DrillTimer::pause], 30);
    EXPECT_TRUE(host.results.empty());
    clock.now += 30;
    engine().timerFired(DrillTimer::pause);
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(state().end_tick - state().start_tick, 100u + 150u + 100u + 0u + 150u);
}

TEST_F(DrillTest, RandomDrawsAvoidThePreviousWordAndTheNextFixedStep) {
    startProblemSet(problemSet({"ab"}, 2));
    EXPECT_EQ(random.draws, 100);  // a single word is taken on the hundredth draw
    typeItem();
    EXPECT_EQ(view().Label_counter, "あと 1回");
    engine().Button_go_menuClick();

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
}

// An unknown lesson number ends the program; the menu abandons a run; the result leads to a
// retry or the menu.
TEST_F(DrillTest, BadLessonsEndTheProgramTheMenuAbandonsTheRunTheResultLeadsOn) {
    for (int bad : {-1, 7, 41, 43})
        engine().FormShow(bad, problem);
    EXPECT_EQ(host.endCalls,
              std::vector<Messages>(
                  4, {{Message::Icon::Stop, "レッスン番号が不正です。", "内部エラー"}}));
    press('a');
    EXPECT_EQ(state().started, 0);
    engine().FormShow(1, problem);
    press('s');
    typeItem();
    engine().Button_go_menuClick();
    EXPECT_EQ(host.menuCalls, (std::vector<Messages>{{}}));
    EXPECT_TRUE(host.running.empty() && scoreBytes().empty());
    engine().FormShow(1, problem);
    press('s');
    EXPECT_EQ(state().key_count, 0);
    EXPECT_EQ(view().Label_counter, "あと 17回");
    engine().Button_go_menuClick();

    startProblemSet(problemSet({"ab", "cd"}, 1));
    // 2 right keys of 3; 450 ms from the first judged key to the end of the pause.
    press('x', 0);
    press(static_cast<unsigned char>(state().target[0]), 200);
    pressTarget(1);
    endPause();
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0].key, (ScoreKey{1, 6, "sample", 2 * 60000 / 450, 66}));
    press('a');  // the result window is on its way: the key is dropped
    EXPECT_EQ(state().started, 0);
    engine().resultChosen(kModalRetry);
    EXPECT_EQ(view().lbl_sample, "Press any key to start!!");
    press('s');
    typeItem();
    EXPECT_EQ(scoreBytes()[8], '\x02');  // the same entry now holds two attempts
}

// Problem sets whose counts overstate their tables are refused, or run safely where nothing is
// read past a table; an item emptied during the run ends it with a message.
TEST_F(DrillTest, UnusableItemsAreRefusedWithAMessage) {
    lesson moreWordsThanHeld = problemSet({"ab", "cd"}, 5);
    moreWordsThanHeld.word_count = 3;
    lesson shortProgram = problemSet({"ab", "cd"}, 5);
    shortProgram.program.resize(2);
    for (const lesson& record :
         {problemSet({}, 5), moreWordsThanHeld, problemSet({"ab", ""}, 5), shortProgram}) {
        startProblemSet(record);
        press('a');
        EXPECT_EQ(state().key_count, 0);
    }
    ASSERT_EQ(host.menuCalls.size(), 4u);
    EXPECT_EQ(host.menuCalls[0].at(0).caption, "sample");

    lesson fewComments = problemSet({"ab", "cd"}, 2);
    fewComments.comment_index = {7};  // word 1 has no entry, word 0 names no comment
    fewComments.comments.clear();
    startProblemSet(fewComments);
    typeItem();
    typeItem();
    EXPECT_EQ(host.results.size(), 1u);

    startProblemSet(problemSet({"ab", "cd"}, 5));
    problem.words = {"", ""};
    typeItem();
    EXPECT_EQ(host.menuCalls.size(), 5u);
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(host.running.empty());
}

// Romaji items with the option on take every input-method spelling: the guide lights the next
// key of the spelling being typed (after "sh" the row becomes "shinkansenn"). With the option
// off only the shown spelling counts.
TEST_F(DrillTest, RomajiSpellingsGuideAndRedrawTheRow) {
    for (const int option : {0, 1}) {  // on at the end, for the items below
        settings.romaji_spellings = option;
        startProblemSet(problemSet({"sinnkannsenn"}, 1));
        EXPECT_EQ(litLetters(), "s");
        const std::string keys = option == 1 ? "shinkansenn" : "shinnkannsenn";
        const std::string guided = option == 1 ? "iinkansenn" : "iinnkannsenn";
        for (std::size_t i = 0; i < keys.size(); ++i) {
            press(static_cast<unsigned char>(keys[i]));
            EXPECT_EQ(litLetters(), guided.substr(i, 1)) << "after " << keys.substr(0, i + 1);
        }
        EXPECT_EQ(misses(), 1 - option);
        EXPECT_EQ(state().key_count, static_cast<int>(keys.size()));
        EXPECT_EQ(row(), option == 1 ? "shinkansenn" : "sinnkannsenn");
        EXPECT_TRUE(host.isRunning(DrillTimer::pause));  // the item is done
    }
    startProblemSet(problemSet({"jitennsya"}, 1));
    typeKeys("jiten");
    EXPECT_EQ(row(), "jitennsya");
    typeKeys("sh");  // a single n, then しゃ as "sh"
    EXPECT_EQ(row(), "jitensha");
    for (std::size_t i = 0; i < view().cells.size(); ++i)
        EXPECT_EQ(view().cells[i].typed, i < 7) << i;
    // "hexxo" would spell へっぉ, but the item as a whole does not read as romaji.
    startProblemSet(problemSet({"hello, world."}, 1));
    typeKeys("hexxo");
    EXPECT_EQ(misses(), 3);
}

// Lesson zero opens its introduction each time it is shown; only the blank turns its pages, up
// to the last, and nothing is judged or recorded.
TEST_F(DrillTest, TheTutorialTurnsPagesOnlyOnTheBlankAndJudgesNothing) {
    const std::string first = "このLESSONでは、";
    engine().FormShow(0, problem);
    EXPECT_EQ(view().message_lines[0], first);
    EXPECT_EQ(view().message_lines[3], std::string(28, ' ') + "(スペースキーで次へ進む)");
    EXPECT_EQ(engine().windowCaption(), "ケストラムLite   Lesson0");
    for (unsigned char key : {'a', 'j', '\r', '\x1b'})
        press(key);
    EXPECT_EQ(engine().tutorial().page(), 0);
    for (int i = 0; i < 20; ++i)
        press(' ');
    EXPECT_EQ(view().message_lines[0], "このLESSONは、これで終了です。");
    EXPECT_TRUE(state().key_count == 0 && sound.played.empty() && scoreBytes().empty());
    engine().Button_go_menuClick();
    engine().FormShow(0, problem);
    EXPECT_EQ(view().message_lines[0], first);
    engine().FormShow(1, problem);  // a drill lesson stops the blinking
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
}

// Correct keys per minute and percent correct, both truncated.
TEST(LessonFigures, SpeedAccuracyAndElapsedTime) {
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::tuple<int, std::uint32_t, std::int32_t> speeds[] = {
        {100, 60000, 100}, {100, 60001, 99}, {50000, 3000000, 1000}, {100000, 1, max}, {5, 0, 0}};
    for (const auto& [correct, ms, speed] : speeds)
        EXPECT_EQ(speedPerMinute(correct, ms), speed) << correct << " in " << ms;
    for (const auto& [right, typed, percent] : {std::tuple{2, 3, 66}, {100, 100, 100}, {0, 0, 0}})
        EXPECT_EQ(accuracyPercent(right, typed), percent);
    EXPECT_EQ(elapsedTicks(0xFFFFFF00u, 0x00000100u), 0x200u);  // the tick counter wrapped

    CharCounts hits{};
    CharCounts misses{};
    hits['s'] = 3, misses['s'] = 1, hits[' '] = 1, misses[' '] = 2;
    misses['q'] = 5;  // never typed right: no line
    hits[0xB1] = 1;   // a katakana byte stays a single byte
    EXPECT_EQ(statisticsLines(hits, misses),
              (std::vector<Bytes>{" :total = 1,miss = 2,rate = 200",
                                  "s:total = 3,miss = 1,rate = 33.3333333333333",
                                  "\xB1:total = 1,miss = 0,rate = 0"}));
    lesson record;
    record.kind = 1;
    record.name = Bytes(300, 'n');  // more than the key's buffer holds
    EXPECT_EQ(scoreKeyForRun(record, 1, 2), (ScoreKey{1, 259, Bytes(259, 'n'), 1, 2}));
}

}  // namespace
}  // namespace kestrum::testing
