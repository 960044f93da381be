#include "drill_fixture.h"

#include "drill/lesson_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kestrum::testing {
namespace {

using DrillSelectionTest = DrillFixture;

TEST_F(DrillSelectionTest, AnUnknownLessonNumberEndsTheProgramWithoutPreparingAnything) {
    EXPECT_TRUE(engine().startupMessages().empty());
    for (int bad : {-1, 7, 41, 43}) {
        engine().FormShow(bad, problem);
        ASSERT_EQ(host.endCalls.size(), 1u);
        EXPECT_EQ(host.endCalls[0],
                  (Messages{{Message::Icon::Stop, "レッスン番号が不正です。", "内部エラー"}}));
        host.endCalls.clear();
    }
    EXPECT_EQ(engine().currentLesson(), nullptr);
    press('a');
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(sound.played.empty());
}

using DrillJudgementTest = DrillFixture;

TEST_F(DrillJudgementTest, MissesCountAgainstTheExpectedCharacterAndSoundsFollowTheSetting) {
    startProblemSet(problemSet({"ab", "cd"}, 5));
    const auto expected = static_cast<unsigned char>(state().target[0]);
    for (int i = 0; i < 3; ++i)
        press('z');
    press(expected);
    EXPECT_EQ(state().miss_counts[expected], 3);
    EXPECT_EQ(state().hit_counts[expected], 1);
    EXPECT_EQ(state().miss_counts['z'], 0);
    EXPECT_EQ(state().key_count, 4);
    EXPECT_EQ(state().position, 2);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"ERROR", "ERROR", "ERROR", "PUSH"}));

    sound.played.clear();
    settings.sound = 2;  // silent, read at every key
    press('z');
    EXPECT_TRUE(sound.played.empty());
    settings.sound = 1;  // errors only
    press('z');
    press(static_cast<unsigned char>(state().target[1]));
    EXPECT_EQ(sound.played, (std::vector<std::string>{"ERROR"}));

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
    press(static_cast<unsigned char>(state().target[0]));
    EXPECT_EQ(host.interval(DrillTimer::timer_target), kTargetIntervalMs);
    EXPECT_EQ(keyState(next), 0);
    engine().timerFired(DrillTimer::timer_target);
    EXPECT_EQ(keyState(next), 2);
}

TEST_F(DrillJudgementTest, CaseIsJudgedByTheDistinctSetting) {
    settings.letter_type = 1;  // shown in capitals
    settings.distinct = 1;
    startProblemSet(problemSet({"a;", "a;"}, 5));
    EXPECT_EQ(state().target, "A;");
    EXPECT_EQ(view().cells[0].text, "A");

    press('a');  // right letter, wrong case: a miss that marks the Shift key to use
    EXPECT_EQ(state().position, 1);
    EXPECT_EQ(state().miss_counts['A'], 1);
    EXPECT_EQ(keyState('A'), 2);
    EXPECT_EQ(shiftState(KeyboardModel::kRightShift), 2);
    EXPECT_EQ(shiftState(KeyboardModel::kLeftShift), 0);

    engine().FormKeyDown(16, true);  // the same miss with Shift held greys both Shift keys
    press('a');
    EXPECT_EQ(state().shift_down, 1);
    EXPECT_EQ(shiftState(KeyboardModel::kRightShift), 1);
    EXPECT_EQ(shiftState(KeyboardModel::kLeftShift), 1);
    engine().FormKeyUp(16, false);
    EXPECT_EQ(state().shift_down, 0);

    press('A');
    EXPECT_EQ(state().position, 2);

    settings.distinct = 0;  // read at every key
    press(';');
    endPause();
    press('a');
    EXPECT_EQ(state().typed, "a");
    EXPECT_EQ(state().hit_counts['A'], 2);  // once per item
    press(';');
    EXPECT_EQ(state().accept_key, 0);  // complete although typed in the other case
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));
}

TEST_F(DrillJudgementTest, TheDisplayCaseTurnsEveryLetterAndNothingElse) {
    settings.letter_type = 1;
    startProblemSet(problemSet({"az;-"}, 1));
    EXPECT_EQ(state().target, "AZ;-");
    engine().Button_go_menuClick();
    settings.letter_type = 2;
    startProblemSet(problemSet({"AZ,."}, 1));
    EXPECT_EQ(state().target, "az,.");
}

TEST_F(DrillJudgementTest, CapsLockRedrawsTheGuideOnlyWhenItIsAlwaysShown) {
    settings.letter_type = 1;
    startProblemSet(problemSet({"ab", "ba"}, 5));
    const auto first = static_cast<unsigned char>(state().target[0]);
    EXPECT_EQ(keyState(first), 2);
    EXPECT_EQ(shiftState(KeyboardModel::kRightShift), 2);

    capsLock.state = KeyboardState::kToggled | KeyboardState::kHeld;
    engine().FormKeyDown(kVirtualKeyCapsLock, false);
    EXPECT_EQ(keyState(first), 2);
    EXPECT_EQ(shiftState(KeyboardModel::kRightShift), 0);  // no Shift while Caps Lock is down

    settings.guide = 2;
    capsLock.state = KeyboardState::kToggled;
    engine().FormKeyDown(kVirtualKeyCapsLock, false);
    EXPECT_EQ(keyState(first), 0);
    EXPECT_EQ(fingerState(first), 0);
}

TEST_F(DrillJudgementTest, AWordOfTwentyFiveBytesFillsEveryCell) {
    const Bytes longWord = "niwanihaniwaniwatorigairu";
    startProblemSet(problemSet({longWord, "ab"}, 5));
    if (state().target != longWord) typeItem();
    ASSERT_EQ(state().target, longWord);
    EXPECT_TRUE(std::all_of(view().cells.begin(), view().cells.end(),
                            [](const CharCell& cell) { return cell.text.size() == 1; }));
}

using DrillFlowTest = DrillFixture;

TEST_F(DrillFlowTest, KeysDuringThePauseAreDroppedAndThePauseIsTimed) {
    startProblemSet(problemSet({"ab", "cd"}, 2));
    typeItem();
    const Bytes second = state().target;
    press(static_cast<unsigned char>(second[0]));
    engine().FormActivate();  // activation during a run keeps the item on screen
    EXPECT_TRUE(view().cells[0].visible);
    press(static_cast<unsigned char>(second[1]), 0);
    ASSERT_TRUE(host.isRunning(DrillTimer::pause));
    engine().FormActivate();  // and so during the pause after its last key
    EXPECT_TRUE(view().cells[1].visible);
    EXPECT_FALSE(view().lbl_sample_visible);
    const int keys = state().key_count;
    const std::size_t sounds = sound.played.size();
    press('x', 10);
    press(static_cast<unsigned char>(second[0]), 10);
    EXPECT_EQ(state().key_count, keys);
    EXPECT_EQ(sound.played.size(), sounds);

    clock.now += 100;  // the timer came early: 120 ms of 150 have passed
    engine().timerFired(DrillTimer::pause);
    EXPECT_EQ(host.interval(DrillTimer::pause), 30);
    EXPECT_TRUE(view().cells[0].visible);
    EXPECT_TRUE(host.results.empty());

    clock.now += 30;
    engine().timerFired(DrillTimer::pause);
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_FALSE(host.isRunning(DrillTimer::pause));
    EXPECT_FALSE(view().cells[0].visible);
    // Two keys and a pause per item, the second pause including the dropped keys.
    EXPECT_EQ(state().end_tick - state().start_tick, 100u + 150u + 100u + 0u + 150u);
}

TEST_F(DrillFlowTest, ASingleWordIsTakenOnTheHundredthDrawAndTheRunGoesOn) {
    startProblemSet(problemSet({"ab"}, 2));
    EXPECT_EQ(random.draws, 100);
    EXPECT_EQ(state().target, "ab");
    typeItem();
    EXPECT_EQ(random.draws, 200);
    EXPECT_EQ(view().Label_counter, "あと 1回");
    typeItem();
    EXPECT_EQ(host.results.size(), 1u);
}

TEST_F(DrillFlowTest, RandomDrawsAvoidThePreviousWordAndTheNextFixedStep) {
    lesson record = problemSet({"w0", "w1", "w2", "w3"}, 3);
    record.program = {1, -1, 2};
    problem = record;
    engine().FormShow(kProblemSetLessonNo, problem);
    press('s');
    EXPECT_EQ(random.draws, 0);  // a fixed step draws nothing
    EXPECT_EQ(state().target, "w1");
    // 1 repeats the word just typed, 2 anticipates the next step, 5 and 6 do so modulo 4.
    random.queued = {1, 2, 5, 6, 7};
    typeItem();
    EXPECT_EQ(random.draws, 5);
    EXPECT_EQ(state().target, "w3");
    typeItem();
    EXPECT_EQ(state().target, "w2");
}

TEST_F(DrillFlowTest, ReturningToTheMenuAbandonsTheRunWithoutRecordingIt) {
    engine().FormShow(1, problem);
    press('s');
    typeItem();
    const Bytes target = state().target;
    for (char c : target)
        press(static_cast<unsigned char>(c));
    ASSERT_TRUE(host.isRunning(DrillTimer::pause));

    engine().Button_go_menuClick();
    EXPECT_EQ(host.menuCalls, (std::vector<Messages>{{}}));
    EXPECT_TRUE(host.running.empty());
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(scoreBytes().empty());

    engine().FormShow(1, problem);
    EXPECT_EQ(view().lbl_sample, "Press any key to start!!");
    EXPECT_TRUE(view().lbl_sample_visible);
    EXPECT_TRUE(std::none_of(view().cells.begin(), view().cells.end(),
                             [](const CharCell& cell) { return cell.visible; }));
    press('s');
    EXPECT_EQ(state().key_count, 0);
    EXPECT_EQ(view().Label_counter, "あと 17回");
}

TEST_F(DrillFlowTest, TheResultWindowLeadsToRetryOrToTheMenu) {
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
    EXPECT_EQ(state().accept_key, 1);
    press('s');
    typeItem();
    ASSERT_EQ(host.results.size(), 2u);
    EXPECT_EQ(scoreBytes()[8], '\x02');  // the same entry now holds two attempts

    engine().resultChosen(kModalMenu);
    EXPECT_EQ(host.menuCalls.size(), 1u);
}

using DrillUnusableItemTest = DrillFixture;

TEST_F(DrillUnusableItemTest, AProblemSetWithoutWordsIsRefusedWithAMessage) {
    problem = problemSet({}, 5);
    engine().FormShow(kProblemSetLessonNo, problem);
    ASSERT_EQ(host.menuCalls.size(), 1u);
    ASSERT_EQ(host.menuCalls[0].size(), 1u);
    EXPECT_EQ(host.menuCalls[0][0].icon, Message::Icon::Stop);
    EXPECT_EQ(host.menuCalls[0][0].caption, "sample");
    press('s');
    press('a');
    EXPECT_EQ(state().started, 0);
    EXPECT_EQ(state().key_count, 0);
}

TEST_F(DrillUnusableItemTest, CountsThatOverstateTheTablesAreRefusedOrIgnoredSafely) {
    lesson moreWordsThanHeld = problemSet({"ab", "cd"}, 5);
    moreWordsThanHeld.word_count = 3;
    lesson emptyWord = problemSet({"ab", ""}, 5);
    lesson shortProgram = problemSet({"ab", "cd"}, 5);
    shortProgram.program.resize(2);
    for (const lesson& record : {moreWordsThanHeld, emptyWord, shortProgram}) {
        host.menuCalls.clear();
        problem = record;
        engine().FormShow(kProblemSetLessonNo, problem);
        EXPECT_EQ(host.menuCalls.size(), 1u);
    }

    lesson fewComments = problemSet({"ab", "cd"}, 2);
    fewComments.comment_index = {7};  // word 1 has no entry, word 0 names no comment
    fewComments.comments.clear();
    host.menuCalls.clear();
    startProblemSet(fewComments);
    EXPECT_TRUE(host.menuCalls.empty());
    EXPECT_EQ(view().message_lines[0], "");
    typeItem();
    typeItem();
    EXPECT_EQ(host.results.size(), 1u);
}

TEST_F(DrillUnusableItemTest, AnItemEmptiedDuringTheRunEndsItWithAMessage) {
    startProblemSet(problemSet({"ab", "cd"}, 5));
    problem.words = {"", ""};
    typeItem();
    ASSERT_EQ(host.menuCalls.size(), 1u);
    EXPECT_EQ(host.menuCalls[0].size(), 1u);
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(host.running.empty());
    EXPECT_TRUE(host.results.empty());
}

}  // namespace
}  // namespace kestrum::testing
