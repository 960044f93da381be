#include "drill_fixture.h"

#include "drill/lesson_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kestrum::testing {
namespace {

using DrillTest = DrillFixture;
using Sounds = std::vector<std::string>;

TEST_F(DrillTest, AnUnknownLessonNumberEndsTheProgramWithoutPreparingAnything) {
    for (int bad : {-1, 7, 41, 43})
        engine().FormShow(bad, problem);
    EXPECT_EQ(host.endCalls,
              std::vector<Messages>(
                  4, {{Message::Icon::Stop, "レッスン番号が不正です。", "内部エラー"}}));
    EXPECT_EQ(engine().currentLesson(), nullptr);
    press('a');
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(sound.played.empty());
}

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
    EXPECT_EQ(state().miss_counts['z'], 0);
    EXPECT_EQ(state().key_count, 3);
    EXPECT_EQ(state().position, 2);
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
    EXPECT_EQ(view().cells[0].text, "A");
    EXPECT_EQ(shift(KeyboardModel::kRightShift), 2);
    press('a');  // right letter, wrong case: a miss that marks the Shift key to use
    EXPECT_EQ(state().position, 1);
    EXPECT_EQ(state().miss_counts['A'], 1);
    EXPECT_EQ(keyState('A'), 2);
    EXPECT_EQ(shift(KeyboardModel::kRightShift), 2);
    EXPECT_EQ(shift(KeyboardModel::kLeftShift), 0);
    engine().FormKeyDown(16, true);  // the same miss with Shift held greys both Shift keys
    press('a');
    EXPECT_EQ(shift(KeyboardModel::kRightShift), 1);
    EXPECT_EQ(shift(KeyboardModel::kLeftShift), 1);
    engine().FormKeyUp(16, false);
    EXPECT_EQ(state().shift_down, 0);
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
    for (unsigned char c : {'a', 'z', ';'})
        press(c);
    EXPECT_EQ(state().typed, "az;");
    EXPECT_EQ(state().hit_counts['A'], 2);
    press('-');
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));
    engine().Button_go_menuClick();
    settings.letter_type = 2;
    startProblemSet(problemSet({"AZ,."}, 1));
    EXPECT_EQ(state().target, "az,.");
}

TEST_F(DrillTest, AWordOfTwentyFiveBytesFillsEveryCell) {
    const Bytes longWord = "niwanihaniwaniwatorigairu";
    startProblemSet(problemSet({longWord}, 1));
    EXPECT_TRUE(std::all_of(view().cells.begin(), view().cells.end(),
                            [](const CharCell& cell) { return cell.text.size() == 1; }));
}

// Keys during the pause after an item are dropped, activation keeps the item on screen, and an
// early timer waits out the rest of the 150 ms.
TEST_F(DrillTest, KeysDuringThePauseAreDroppedAndThePauseIsTimed) {
    startProblemSet(problemSet({"ab", "cd"}, 2));
    typeItem();
    pressTarget(0);
    engine().FormActivate();
    EXPECT_TRUE(view().cells[0].visible);
    press(static_cast<unsigned char>(state().target[1]), 0);
    ASSERT_TRUE(host.isRunning(DrillTimer::pause));
    engine().FormActivate();
    EXPECT_TRUE(view().cells[1].visible);
    EXPECT_FALSE(view().lbl_sample_visible);
    const int keys = state().key_count;
    press('x', 10);
    pressTarget(0);
    EXPECT_EQ(state().key_count, keys);
    EXPECT_EQ(sound.played.size(), 4u);
    clock.now += 10;  // the timer came early: 120 ms of 150 have passed
    engine().timerFired(DrillTimer::pause);
    EXPECT_EQ(host.running[DrillTimer::pause], 30);
    EXPECT_TRUE(host.results.empty());
    clock.now += 30;
    engine().timerFired(DrillTimer::pause);
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_FALSE(view().cells[0].visible);
    EXPECT_EQ(state().end_tick - state().start_tick, 100u + 150u + 100u + 0u + 150u);
}

TEST_F(DrillTest, RandomDrawsAvoidThePreviousWordAndTheNextFixedStep) {
    startProblemSet(problemSet({"ab"}, 2));
    EXPECT_EQ(random.draws, 100);  // a single word is taken on the hundredth draw
    typeItem();
    EXPECT_EQ(view().Label_counter, "あと 1回");
    typeItem();
    EXPECT_EQ(host.results.size(), 1u);
    engine().resultChosen(kModalMenu);

    lesson record = problemSet({"w0", "w1", "w2", "w3"}, 3);
    record.program = {1, -1, 2};
    random.draws = 0;
    startProblemSet(record);
    EXPECT_EQ(random.draws, 0);  // a fixed step draws nothing
    EXPECT_EQ(state().target, "w1");
    // 1 repeats the word just typed, 2 anticipates the next step, 5 and 6 do so modulo 4.
    random.queued = {1, 2, 5, 6, 7};
    typeItem();
    EXPECT_EQ(random.draws, 5);
    EXPECT_EQ(state().target, "w3");
}

TEST_F(DrillTest, TheMenuAbandonsTheRunAndTheResultLeadsToRetryOrMenu) {
    engine().FormShow(1, problem);
    press('s');
    typeItem();
    engine().Button_go_menuClick();
    EXPECT_EQ(host.menuCalls, (std::vector<Messages>{{}}));
    EXPECT_TRUE(host.running.empty());
    EXPECT_TRUE(scoreBytes().empty());
    engine().FormShow(1, problem);
    EXPECT_EQ(view().lbl_sample, "Press any key to start!!");
    EXPECT_TRUE(std::none_of(view().cells.begin(), view().cells.end(),
                             [](const CharCell& cell) { return cell.visible; }));
    press('s');
    EXPECT_EQ(state().key_count, 0);
    EXPECT_EQ(view().Label_counter, "あと 17回");
    engine().Button_go_menuClick();

    startProblemSet(problemSet({"ab", "cd"}, 1));
    typeItem();
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0].key, (ScoreKey{1, 6, "sample", host.results[0].speed, 100}));
    press('a');  // the result window is on its way: the key is dropped
    EXPECT_EQ(state().started, 0);
    engine().FormActivate();
    EXPECT_EQ(view().lbl_sample, "おわり～!!");
    engine().resultChosen(kModalRetry);
    EXPECT_EQ(view().lbl_sample, "Press any key to start!!");
    press('s');
    typeItem();
    EXPECT_EQ(scoreBytes()[8], '\x02');  // the same entry now holds two attempts
    engine().resultChosen(kModalMenu);
    EXPECT_EQ(host.menuCalls.size(), 3u);
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
    ASSERT_EQ(host.menuCalls[0].size(), 1u);
    EXPECT_EQ(host.menuCalls[0][0].icon, Message::Icon::Stop);
    EXPECT_EQ(host.menuCalls[0][0].caption, "sample");

    lesson fewComments = problemSet({"ab", "cd"}, 2);
    fewComments.comment_index = {7};  // word 1 has no entry, word 0 names no comment
    fewComments.comments.clear();
    startProblemSet(fewComments);
    EXPECT_EQ(view().message_lines[0], "");
    typeItem();
    typeItem();
    EXPECT_EQ(host.results.size(), 1u);
    engine().resultChosen(kModalMenu);

    host.menuCalls.clear();
    startProblemSet(problemSet({"ab", "cd"}, 5));
    problem.words = {"", ""};
    typeItem();
    ASSERT_EQ(host.menuCalls.size(), 1u);
    EXPECT_EQ(host.menuCalls[0].size(), 1u);
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(host.running.empty());
    EXPECT_EQ(host.results.size(), 1u);
}

}  // namespace
}  // namespace kestrum::testing
