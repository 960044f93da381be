#include "history/graph_plot.h"

#include "platform/text.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace kestrum {

namespace {

constexpr int kScaleStep = kPlotHeight / 4;  // 78: truncated, so the bottom labels sit at 327
constexpr int kLabelRaise = 5;               // centres a label of about 12 pixels on its mark
constexpr int kFooterY = kGraphHeight - 15;

// Pixel arithmetic in extended precision on top of the double constants, then truncated: this
// is what places values that fall exactly on a pixel one pixel higher.
int scaledY(std::int32_t value, double factor) {
    const long double y =
        (1.0L - static_cast<long double>(value) * static_cast<long double>(factor)) * kPlotHeight +
        kGraphMargin;
    return static_cast<int>(y);
}

void addScales(GraphPlot& plot) {
    const int right = kGraphWidth - kGraphMargin;
    const int bottom = kGraphHeight - kGraphMargin;
    plot.frame = {{kGraphMargin, kGraphMargin},
                  {kGraphMargin, bottom},
                  {right, bottom},
                  {right, kGraphMargin}};

    // The titles stand above the plot, the scale numbers beside it, left of the left scale line
    // and right of the right one. Each may reach one pixel short of the next line, label or edge.
    const int speedTitleX = kGraphWidth - 65;
    plot.texts.push_back({"正解率(%)", {0, 1}, kPlotBlue, speedTitleX - 1});
    for (int i = 0; i <= 4; ++i) {
        const int y = kGraphMargin + kScaleStep * i - kLabelRaise;
        plot.texts.push_back({std::to_string((4 - i) * 25), {0, y}, kPlotBlue, kGraphMargin - 1});
    }
    plot.texts.push_back(
        {"速度(字/分)", {speedTitleX, 1}, kPlotRed, kGraphWidth - speedTitleX - 1});
    for (int i = 0; i <= 4; ++i) {
        const int y = kGraphMargin + kScaleStep * i - kLabelRaise;
        plot.texts.push_back(
            {std::to_string((4 - i) * 100), {right + 3, y}, kPlotRed, kGraphWidth - right - 4});
    }
    // No grid line on the base: the frame is there.
    for (int i = 0; i < 4; ++i) {
        const int y = kGraphMargin + kScaleStep * i;
        plot.gridLines.push_back({{kGraphMargin, y}, {right, y}});
    }
}

PlotSeries seriesOf(const std::array<std::int32_t, kMaxAttempts>& values, int count,
                    PlotColor color, int (*toY)(std::int32_t)) {
    PlotSeries series{color, {}};
    for (int i = 0; i < count; ++i) {
        series.points.push_back({plotX(i, count), toY(values[static_cast<std::size_t>(i)])});
    }
    return series;
}

std::int32_t best(const std::array<std::int32_t, kMaxAttempts>& values, int count) {
    return std::max<std::int32_t>(0, *std::max_element(values.begin(), values.begin() + count));
}

}  // namespace

int plotX(int index, int count) {
    const double step = static_cast<double>(kPlotWidth) / (count - 1);
    return static_cast<int>(kGraphMargin +
                            static_cast<long double>(index) * static_cast<long double>(step));
}

int accuracyY(std::int32_t accuracy) {
    return scaledY(accuracy, 0.01);
}

int speedY(std::int32_t speed) {
    return scaledY(speed, 0.0025);
}

GraphPlot DrawGraph(ScoreFile& scores, const ScoreKey& key) {
    return planGraph(scores.ReadScores(key));
}

GraphPlot planGraph(const ScoreReadOutcome& history) {
    GraphPlot plot;
    plot.messages = history.messages;
    plot.count = history.result == 1 ? history.count : 0;
    addScales(plot);

    if (plot.count <= 1) {
        plot.messages.push_back(plainMessage("練習回数が１回以下なので表示できません。"));
        plot.closeAtOnce = true;
        return plot;
    }

    plot.series.push_back(seriesOf(history.accuracies, plot.count, kPlotBlue, accuracyY));
    plot.series.push_back(seriesOf(history.speeds, plot.count, kPlotRed, speedY));

    plot.bestAccuracy = best(history.accuracies, plot.count);
    plot.bestSpeed = best(history.speeds, plot.count);
    // The history keeps at most 100 attempts, so 100 means "100 or more".
    std::string countText = "練習回数 " + std::to_string(plot.count) + " 回";
    if (plot.count == kMaxAttempts) countText += "以上";
    plot.texts.push_back({countText, {50, kFooterY}, kPlotBlack, 180 - 50 - 1});
    plot.texts.push_back({"最高正解率 " + std::to_string(plot.bestAccuracy) + "(%)",
                          {180, kFooterY},
                          kPlotBlue,
                          300 - 180 - 1});
    plot.texts.push_back({"最高速度 " + std::to_string(plot.bestSpeed) + "(字/分)",
                          {300, kFooterY},
                          kPlotRed,
                          kGraphWidth - 300 - 1});
    return plot;
}

std::string graphCaption(const ScoreKey& key) {
    return "グラフ   " + cp932ToUtf8(key.name);
}

Message eraseConfirmation() {
    return {Message::Icon::Information, "このグラフデータを消去します。", "消去の確認"};
}

EraseOutcome eraseGraphData(ScoreFile& scores, const ScoreKey& key, bool confirmed) {
    EraseOutcome outcome;
    if (!confirmed) return outcome;
    ScoreOutcome cleared = scores.ClearScores(key);
    outcome.messages = std::move(cleared.messages);
    outcome.erased = cleared.result == 1;
    outcome.closeWindow = outcome.erased;
    outcome.messages.push_back(
        plainMessage(outcome.erased ? "グラフデータを消去しました。" : "消去に失敗しました。"));
    return outcome;
}

}  // namespace kestrum
