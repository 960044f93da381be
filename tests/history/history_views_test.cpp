// What the history windows show: the graph of a lesson's attempts and the result of the newest.
#include "history/graph_plot.h"
#include "history/history_test_dir.h"
#include "history/result_summary.h"
#include "platform/file_system.h"

#include <gmock/gmock.h>

#include <tuple>

namespace kestrum {
namespace {

using testing::Attempt;
using ::testing::Contains;
using ::testing::Field;

ScoreReadOutcome history(const std::vector<Attempt>& attempts) {
    ScoreReadOutcome read;
    read.result = 1;
    read.count = static_cast<int>(attempts.size());
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        read.speeds[i] = attempts[i].speed;
        read.accuracies[i] = attempts[i].accuracy;
    }
    return read;
}

// Exact positions land one pixel higher; nothing is clamped, and truncation is toward zero.
TEST(GraphPlan, ValuesAndAttemptsMapToTheirPixels) {
    for (const auto& [value, y] : {std::pair{100, 19}, {80, 82}, {60, 145}, {50, 177}, {0, 335}})
        EXPECT_EQ(accuracyY(value), y) << value;
    for (const auto& [value, y] : {std::pair{400, 19}, {200, 177}, {0, 335}, {500, -58}, {420, 4}})
        EXPECT_EQ(speedY(value), y) << value;
    EXPECT_EQ(plotX(1, 2), 530);
    EXPECT_EQ(plotX(9, 10), 529);  // the double step lies just below 510/9
    EXPECT_EQ(plotX(50, 100), 277);

    const GraphPlot plot = planGraph(history({{200, 100}, {400, 0}, {500, 50}}));
    EXPECT_FALSE(plot.closeAtOnce);
    EXPECT_TRUE(planGraph(history({{120, 90}})).closeAtOnce);  // one attempt draws no line
    ASSERT_EQ(plot.series.size(), 2u);
    EXPECT_EQ(std::pair(plot.series[0].color, plot.series[0].points),
              std::pair(kPlotBlue, std::vector<PlotPoint>{{20, 19}, {275, 335}, {530, 177}}));
    EXPECT_EQ(std::pair(plot.series[1].color, plot.series[1].points),
              std::pair(kPlotRed, std::vector<PlotPoint>{{20, 177}, {275, 19}, {530, -58}}));
}

// The footer: the count and the best figures, which may stand at either end of the history; a
// full one counts as 100 or more.
TEST(GraphPlan, FooterScalesAndGridLines) {
    std::vector<Attempt> attempts(37, Attempt{100, 50});
    attempts.front() = {90, 98};
    attempts.back() = {215, 60};
    const GraphPlot plot = planGraph(history(attempts));
    EXPECT_THAT(plot.texts, Contains(PlotText{"練習回数 37 回", {50, 340}, kPlotBlack, 129}));
    EXPECT_THAT(plot.texts, Contains(PlotText{"最高正解率 98(%)", {180, 340}, kPlotBlue, 119}));
    EXPECT_THAT(plot.texts, Contains(PlotText{"最高速度 215(字/分)", {300, 340}, kPlotRed, 249}));
    // The scales: 100 to 0 % in blue left of the plot and 400 to 0 characters a minute in red right
    // of it, a quarter apart (78 pixels), each label ending a pixel short of the frame or the edge;
    // grid lines at the top and between the quarters, none on the base.
    for (int i = 0; i <= 4; ++i) {
        const int y = 15 + 78 * i;
        EXPECT_THAT(plot.texts,
                    Contains(PlotText{std::to_string(100 - 25 * i), {0, y}, kPlotBlue, 19}));
        EXPECT_THAT(plot.texts,
                    Contains(PlotText{std::to_string(400 - 100 * i), {533, y}, kPlotRed, 16}));
    }
    EXPECT_EQ(plot.texts.size(), 10u + 2 + 3);  // the scales, two titles, the footer
    EXPECT_EQ(plot.gridLines, (std::vector<PlotLine>{{{20, 20}, {530, 20}},
                                                     {{20, 98}, {530, 98}},
                                                     {{20, 176}, {530, 176}},
                                                     {{20, 254}, {530, 254}}}));
    attempts.back() = {80, 99};
    EXPECT_EQ(planGraph(history(attempts)).bestAccuracy, 99);

    for (const auto& [count, text] :
         {std::pair{100, "練習回数 100 回以上"}, {99, "練習回数 99 回"}})
        EXPECT_THAT(planGraph(history(std::vector<Attempt>(count, {0, 0}))).texts,
                    Contains(Field(&PlotText::text, text)));
    EXPECT_EQ(graphCaption(scoreKeyFor(1, "\x93\xfa\x96\x7b")), "グラフ   日本");
}

// Each step plays the drill: record the attempt, then summarise it as the window would, giving
// the figures, the previous ones and the two arrows.
TEST(ResultSummary, ArrowsCompareTheTwoNewestAttemptsWithoutThreshold) {
    testing::HistoryDir dir;
    DiskFileSystem disk;
    ScoreFile scores{disk, dir.path()};
    const auto shown = [](const ResultSummary& s) {
        return std::tuple(s.speedText, s.accuracyText, s.previousSpeedText, s.previousAccuracyText,
                          s.speedTrend, s.accuracyTrend);
    };
    const auto finish = [&](std::int32_t speed, std::int32_t accuracy) {
        scores.AppendScore(testing::attemptOf(0, "lesson2", speed, accuracy));
        return shown(summarizeResult(scores, scoreKeyFor(0, "lesson2"), speed, accuracy));
    };
    EXPECT_EQ(summarizeResult(scores, scoreKeyFor(0, "lesson2"), 10, 20).messages,
              Messages{plainMessage("no match data")});
    EXPECT_EQ(finish(123, 95),
              std::tuple("123字/分", "95%", "(-----)", "(-----)", Trend::None, Trend::None));
    EXPECT_EQ(finish(123, 96),
              std::tuple("123字/分", "96%", "123字/分", "95%", Trend::Even, Trend::Up));
    EXPECT_EQ(finish(124, 95),
              std::tuple("124字/分", "95%", "123字/分", "96%", Trend::Up, Trend::Down));
    EXPECT_EQ(finish(0, 95),
              std::tuple("0字/分", "95%", "124字/分", "95%", Trend::Down, Trend::Even));
    EXPECT_EQ(resultCaption(), "ケストラムLite  結果");
    // A full history still compares with the second newest, the attempt numbered 99.
    dir.writeScore(testing::entryBytes(0, "lesson2", testing::numberedAttempts(0, 100)));
    EXPECT_EQ(finish(1000, 0),
              std::tuple("1000字/分", "0%", "297字/分", "99%", Trend::Up, Trend::Down));
}

}  // namespace
}  // namespace kestrum
