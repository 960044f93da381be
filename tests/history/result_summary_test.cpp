#include "history/result_summary.h"

#include "history/history_test_dir.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrum {
namespace {

// Each test plays the drill: record the attempt, then summarise it as the window would.
class ResultSummaryTest : public ::testing::Test {
protected:
    testing::HistoryDir dir;
    DiskFileSystem disk;
    ScoreFile scores{disk, dir.path()};

    // The figures, the previous ones and the two arrows.
    static auto shown(const ResultSummary& s) {
        return std::tuple(s.speedText, s.accuracyText, s.previousSpeedText, s.previousAccuracyText,
                          s.speedTrend, s.accuracyTrend);
    }
    auto finish(std::int32_t speed, std::int32_t accuracy) {
        scores.AppendScore(testing::attemptOf(0, "lesson2", speed, accuracy));
        return shown(summarizeResult(scores, scoreKeyFor(0, "lesson2"), speed, accuracy));
    }
};

const auto kFirst = std::tuple("(-----)", "(-----)", Trend::None, Trend::None);

TEST_F(ResultSummaryTest, ArrowsCompareTheTwoNewestAttemptsWithoutThreshold) {
    const ResultSummary none = summarizeResult(scores, scoreKeyFor(0, "lesson2"), 10, 20);
    EXPECT_EQ(none.messages, Messages{plainMessage("no match data")});
    EXPECT_EQ(shown(none), std::tuple_cat(std::tuple("10字/分", "20%"), kFirst));
    EXPECT_EQ(finish(123, 95), std::tuple_cat(std::tuple("123字/分", "95%"), kFirst));
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
