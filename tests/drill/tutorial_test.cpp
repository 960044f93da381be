#include "drill_fixture.h"

#include "drill/tutorial.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum::testing {
namespace {

using TutorialTest = DrillFixture;

constexpr std::string_view kHomeKeys = "asdfjkl;";

TEST_F(TutorialTest, ShowingLessonZeroOpensTheIntroductionAndStartsTheBlinking) {
    engine().FormShow(0, problem);
    EXPECT_EQ(state().tutorial_mode, 1);
    EXPECT_TRUE(view().tutorial_layout);
    EXPECT_EQ(engine().tutorial().page(), 0);
    EXPECT_EQ(view().message_lines[0], "このLESSONでは、");
    EXPECT_EQ(view().message_lines[1], "ホームポジションについて説明します。");
    EXPECT_EQ(view().message_lines[2], "");
    EXPECT_EQ(view().message_lines[3], std::string(28, ' ') + "(スペースキーで次へ進む)");
    EXPECT_EQ(view().Label_counter, "");
    EXPECT_EQ(host.interval(DrillTimer::timer_special), kSpecialIntervalMs);
    EXPECT_EQ(engine().windowCaption(), "ケストラムLite   Lesson0");

    engine().FormShow(1, problem);  // a drill lesson stops it
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
    EXPECT_FALSE(view().tutorial_layout);
}

TEST_F(TutorialTest, OnlyTheBlankTurnsPagesAndNothingIsJudgedOrHeard) {
    engine().FormShow(0, problem);
    for (unsigned char key : {'a', 'j', '\r', '\x1b'})
        press(key);
    EXPECT_EQ(engine().tutorial().page(), 0);
    EXPECT_EQ(view().message_lines[0], "このLESSONでは、");
    EXPECT_FALSE(view().go_menu_tab_stop);

    for (int i = 0; i < 16; ++i)
        press(' ');
    EXPECT_EQ(engine().tutorial().page(), 16);
    EXPECT_EQ(view().message_lines[0], "このLESSONは、これで終了です。");
    EXPECT_EQ(view().message_lines[3], "");
    press(' ');
    EXPECT_EQ(engine().tutorial().page(), 16);
    EXPECT_EQ(view().message_lines[0], "このLESSONは、これで終了です。");

    EXPECT_EQ(state().key_count, 0);
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(host.results.empty());
    EXPECT_TRUE(scoreBytes().empty());
}

TEST_F(TutorialTest, ShowingItAgainStartsFromTheIntroduction) {
    engine().FormShow(0, problem);
    for (int i = 0; i < 5; ++i)
        press(' ');
    engine().Button_go_menuClick();
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
    engine().FormShow(0, problem);
    EXPECT_EQ(engine().tutorial().page(), 0);
    EXPECT_EQ(view().message_lines[0], "このLESSONでは、");
    EXPECT_TRUE(host.isRunning(DrillTimer::timer_special));
}

TEST_F(TutorialTest, BlinkingAlternatesBetweenThePagesKeysAndADarkKeyboard) {
    engine().FormShow(0, problem);
    engine().timerFired(DrillTimer::timer_special);  // introduction: nothing lit
    for (char key : kHomeKeys)
        EXPECT_EQ(keyState(static_cast<unsigned char>(key)), 0);
    engine().timerFired(DrillTimer::timer_special);

    press(' ');
    engine().timerFired(DrillTimer::timer_special);
    for (char key : kHomeKeys)
        EXPECT_EQ(keyState(static_cast<unsigned char>(key)), 2);
    engine().timerFired(DrillTimer::timer_special);
    for (char key : kHomeKeys)
        EXPECT_EQ(keyState(static_cast<unsigned char>(key)), 0);

    while (engine().tutorial().page() < 14)
        press(' ');
    for (int tick = 0; tick < 4; ++tick) {
        engine().timerFired(DrillTimer::timer_special);
        const bool lit = tick % 2 == 0;
        EXPECT_EQ(keyState('b'), lit ? 2 : 0);
        EXPECT_EQ(fingerState('b'), lit ? 2 : 0);
        EXPECT_EQ(keyState('a'), lit ? 1 : 0);
    }
}

TEST(TutorialPagesTest, PagesAreShownOnceEachInOrder) {
    Tutorial tutorial;
    EXPECT_EQ(&tutorial.lines(), &Tutorial::introduction());
    for (int n = 0; n < Tutorial::kShownPages; ++n) {
        tutorial.ShowNextPage();
        EXPECT_EQ(&tutorial.lines(), &Tutorial::explanationPage(n));
        EXPECT_EQ(tutorial.page(), n + 1);
    }
    tutorial.ShowNextPage();
    EXPECT_EQ(&tutorial.lines(), &Tutorial::explanationPage(15));
    EXPECT_EQ(Tutorial::explanationPage(16), (Tutorial::PageLines{"", "", "", ""}));
}

}  // namespace
}  // namespace kestrum::testing
