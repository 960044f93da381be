#include "drill_fixture.h"

#include "drill/tutorial.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum::testing {
namespace {

using TutorialTest = DrillFixture;

const std::vector<std::string> kIntroduction{"このLESSONでは、",
                                             "ホームポジションについて説明します。", "",
                                             std::string(28, ' ') + "(スペースキーで次へ進む)"};

std::vector<std::string> lines(const DrillView& view) {
    return {view.message_lines.begin(), view.message_lines.begin() + 4};
}

// Lesson zero opens its introduction each time it is shown; only the blank turns its pages, up
// to the last, and nothing is judged or recorded.
TEST_F(TutorialTest, OnlyTheBlankTurnsPagesAndNothingIsJudged) {
    engine().FormShow(0, problem);
    EXPECT_EQ(lines(view()), kIntroduction);
    EXPECT_EQ(view().Label_counter, "");
    EXPECT_EQ(host.running[DrillTimer::timer_special], kSpecialIntervalMs);
    EXPECT_EQ(engine().windowCaption(), "ケストラムLite   Lesson0");
    for (unsigned char key : {'a', 'j', '\r', '\x1b'})
        press(key);
    EXPECT_EQ(engine().tutorial().page(), 0);
    EXPECT_FALSE(view().go_menu_tab_stop);
    for (int i = 0; i < 20; ++i)
        press(' ');
    EXPECT_EQ(engine().tutorial().page(), 16);
    EXPECT_EQ(view().message_lines[0], "このLESSONは、これで終了です。");
    EXPECT_EQ(state().key_count, 0);
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(scoreBytes().empty());

    engine().Button_go_menuClick();
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
    engine().FormShow(0, problem);
    EXPECT_EQ(lines(view()), kIntroduction);
    engine().FormShow(1, problem);  // a drill lesson stops the blinking
    EXPECT_FALSE(host.isRunning(DrillTimer::timer_special));
    EXPECT_FALSE(view().tutorial_layout);
}

}  // namespace
}  // namespace kestrum::testing
