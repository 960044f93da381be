#include "drill_fixture.h"

#include "drill/tutorial.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum::testing {
namespace {

using TutorialTest = DrillFixture;

void expectIntroduction(const DrillView& view) {
    EXPECT_EQ(view.message_lines[0], "このLESSONでは、");
    EXPECT_EQ(view.message_lines[1], "ホームポジションについて説明します。");
    EXPECT_EQ(view.message_lines[2], "");
    EXPECT_EQ(view.message_lines[3], std::string(28, ' ') + "(スペースキーで次へ進む)");
}

TEST_F(TutorialTest, LessonZeroOpensTheIntroductionEachTimeItIsShown) {
    engine().FormShow(0, problem);
    EXPECT_EQ(state().tutorial_mode, 1);
    EXPECT_TRUE(view().tutorial_layout);
    expectIntroduction(view());
    EXPECT_EQ(view().Label_counter, "");
    EXPECT_EQ(host.interval(DrillTimer::timer_special), kSpecialIntervalMs);
    EXPECT_EQ(engine().windowCaption(), "ケストラムLite   Lesson0");

    for (int i = 0; i < 5; ++i)
        press(' ');
    engine().Button_go_menuClick();
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
    engine().FormShow(0, problem);
    EXPECT_EQ(engine().tutorial().page(), 0);
    expectIntroduction(view());
    EXPECT_TRUE(host.isRunning(DrillTimer::timer_special));

    engine().FormShow(1, problem);  // a drill lesson stops the blinking
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
    EXPECT_FALSE(view().tutorial_layout);
}

TEST_F(TutorialTest, OnlyTheBlankTurnsPagesUpToTheLastAndNothingIsJudgedOrRecorded) {
    engine().FormShow(0, problem);
    for (unsigned char key : {'a', 'j', '\r', '\x1b'})
        press(key);
    EXPECT_EQ(engine().tutorial().page(), 0);
    EXPECT_FALSE(view().go_menu_tab_stop);

    for (int i = 0; i < 20; ++i)
        press(' ');
    EXPECT_EQ(engine().tutorial().page(), 16);
    EXPECT_EQ(view().message_lines[0], "このLESSONは、これで終了です。");
    EXPECT_EQ(view().message_lines[3], "");
    EXPECT_EQ(state().key_count, 0);
    EXPECT_EQ(state().started, 0);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(host.results.empty());
    EXPECT_TRUE(scoreBytes().empty());
}

}  // namespace
}  // namespace kestrum::testing
