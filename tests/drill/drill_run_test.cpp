// Whole runs of every built-in lesson under every guide mode, typed with a fake clock and a
// seeded random source, recorded in a real history file.
#include "drill_fixture.h"

#include "drill/lesson_catalogue.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

namespace kestrum::testing {
namespace {

class BuiltInRunTest : public DrillFixture,
                       public ::testing::WithParamInterface<std::tuple<int, int>> {
protected:
    int guide() const { return std::get<1>(GetParam()); }

    // What the keyboard shows for the next character right after it became the next one.
    void expectGuideOffered(unsigned char next) {
        switch (guide()) {
            case 0:
                EXPECT_EQ(keyState(next), 2);
                EXPECT_EQ(fingerState(next), 2);
                break;
            case 1:
                EXPECT_EQ(keyState(next), 0);
                EXPECT_EQ(host.interval(DrillTimer::timer_target), kTargetIntervalMs);
                EXPECT_EQ(state().guide_char, next);
                break;
            default:
                EXPECT_EQ(keyState(next), 0);
                EXPECT_FALSE(host.isRunning(DrillTimer::timer_target));
        }
    }
};

TEST_P(BuiltInRunTest, RunShowsTheProgramJudgesEveryKeyAndRecordsTheAttempt) {
    const int lessonNo = std::get<0>(GetParam());
    settings.guide = guide();
    const auto lessons = SetUpLessons();
    const lesson& record = lessons[static_cast<std::size_t>(lessonNo)];

    engine().FormShow(lessonNo, problem);
    EXPECT_EQ(view().lbl_sample, "Press any key to start!!");
    EXPECT_EQ(view().message_lines[0], "何かキーを押すと始まります。");
    EXPECT_EQ(engine().windowCaption(), "ケストラムLite   " + record.name);
    press('s');
    const std::uint32_t firstJudgedKey = clock.now + 100;

    int misses = 0;
    int chars = 0;
    std::set<unsigned char> expectedChars;
    std::int32_t previous = -1;
    for (std::int32_t step = 0; step < record.program_length; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        ASSERT_EQ(state().started, 1);
        EXPECT_EQ(view().Label_counter,
                  "あと " + std::to_string(record.program_length - step) + "回");
        EXPECT_FALSE(view().go_menu_tab_stop);

        const std::int32_t w = state().previous_word;
        const Bytes target = state().target;
        ASSERT_EQ(record.words.at(static_cast<std::size_t>(w)), target);
        const std::int32_t fixed = record.program[static_cast<std::size_t>(step)];
        if (fixed != -1) {
            EXPECT_EQ(w, fixed);
        } else {
            EXPECT_NE(w, previous);
            if (step + 1 < record.program_length) {
                EXPECT_NE(w, record.program[static_cast<std::size_t>(step + 1)]);
            }
        }
        previous = w;
        const std::size_t ci =
            static_cast<std::size_t>(record.comment_index[static_cast<std::size_t>(w)]);
        EXPECT_EQ(view().message_lines[0], cp932ToUtf8(record.comments[ci]));
        for (std::size_t i = 0; i < view().cells.size(); ++i) {
            EXPECT_TRUE(view().cells[i].visible);
            EXPECT_FALSE(view().cells[i].typed);
            EXPECT_EQ(view().cells[i].text, i < target.size() ? target.substr(i, 1) : "");
        }
        const auto first = static_cast<unsigned char>(target[0]);
        expectGuideOffered(first);
        if (guide() == 1) {
            engine().timerFired(DrillTimer::timer_target);
            EXPECT_EQ(keyState(first), 2);
            EXPECT_FALSE(host.isRunning(DrillTimer::timer_target));
        }

        if (step % 2 == 0) {
            const unsigned char wrong = first == 'x' ? 'z' : 'x';
            press(wrong);
            ++misses;
            EXPECT_EQ(sound.played.back(), "ERROR");
            EXPECT_EQ(state().position, 1);
            EXPECT_EQ(host.interval(DrillTimer::timer_error), kErrorIntervalMs);
            EXPECT_EQ(keyState(wrong), guide() == 3 ? 0 : 1);
            EXPECT_EQ(keyState(first), guide() == 3 ? 0 : 2);
            EXPECT_FALSE(host.isRunning(DrillTimer::timer_target));
        }

        for (std::size_t i = 0; i < target.size(); ++i) {
            const auto c = static_cast<unsigned char>(target[i]);
            expectedChars.insert(c);
            press(c);
            EXPECT_EQ(sound.played.back(), "PUSH");
            EXPECT_FALSE(host.isRunning(DrillTimer::timer_error));
            EXPECT_TRUE(view().cells[i].typed);
            EXPECT_EQ(view().cells[i].text, c == ' ' ? "_" : target.substr(i, 1));
            if (i + 1 < target.size()) {
                expectGuideOffered(static_cast<unsigned char>(target[i + 1]));
            } else {
                EXPECT_EQ(keyState(c), 0);
            }
        }
        chars += static_cast<int>(target.size());
        EXPECT_EQ(state().accept_key, 0);
        endPause();
    }

    ASSERT_EQ(host.results.size(), 1u);
    const LessonResult& result = host.results[0];
    EXPECT_EQ(state().key_count, chars + misses);
    EXPECT_EQ(result.accuracy, chars * 100 / (chars + misses));
    EXPECT_EQ(result.speed, static_cast<std::int32_t>(std::int64_t{chars} * 60000 /
                                                      (clock.now - firstJudgedKey)));
    EXPECT_EQ(result.key, (ScoreKey{0, 7, record.name, result.speed, result.accuracy}));
    EXPECT_EQ(result.memo_lines.size(), expectedChars.size());
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(view().lbl_sample, "おわり～!!");
    EXPECT_TRUE(view().lbl_sample_visible);
    EXPECT_EQ(view().Label_counter, "");
    EXPECT_TRUE(view().go_menu_tab_stop);

    Bytes expected{'\0', '\x07'};
    expected += record.name;
    expected += {'\x01', static_cast<char>(result.speed >> 8),
                 static_cast<char>(result.speed & 0xFF), static_cast<char>(result.accuracy)};
    EXPECT_EQ(scoreBytes(), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryLessonAndGuide, BuiltInRunTest,
                         ::testing::Combine(::testing::Range(1, 7), ::testing::Values(0, 1, 2, 3)),
                         [](const auto& info) {
                             return "lesson" + std::to_string(std::get<0>(info.param)) + "_guide" +
                                    std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace kestrum::testing
