#include "history/result_summary.h"

#include "history/graph_plot.h"
#include "history/history_test_dir.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using testing::entryBytes;
using testing::HistoryDir;
using testing::numberedAttempts;

// Each test plays the drill: record the attempt, then summarise it as the window would.
class ResultSummaryTest : public ::testing::Test {
protected:
    HistoryDir dir;
    DiskFileSystem disk;
    ScoreFile scores{disk, dir.path()};
    const ScoreKey lesson = scoreKeyFor(0, "lesson2");

    ResultSummary finish(std::int32_t speed, std::int32_t accuracy) {
        ScoreKey key = lesson;
        key.speed = speed;
        key.accuracy = accuracy;
        scores.AppendScore(key);
        return summarizeResult(scores, lesson, speed, accuracy);
    }
};

void expectFirstAttempt(const ResultSummary& summary) {
    EXPECT_EQ(summary.previousSpeedText, "(-----)");
    EXPECT_EQ(summary.previousAccuracyText, "(-----)");
    EXPECT_EQ(summary.speedTrend, Trend::None);
    EXPECT_EQ(summary.accuracyTrend, Trend::None);
}

TEST_F(ResultSummaryTest, TheFirstAttemptHasNoPreviousColumnAndNoArrows) {
    const ResultSummary summary = finish(123, 95);
    EXPECT_EQ(summary.speedText, "123字/分");
    EXPECT_EQ(summary.accuracyText, "95%");
    expectFirstAttempt(summary);
    EXPECT_TRUE(summary.messages.empty());
}

TEST_F(ResultSummaryTest, ArrowsCompareTheTwoNewestAttemptsWithoutThreshold) {
    finish(150, 90);
    ResultSummary summary = finish(150, 91);
    EXPECT_EQ(summary.previousSpeedText, "150字/分");
    EXPECT_EQ(summary.previousAccuracyText, "90%");
    EXPECT_EQ(summary.speedTrend, Trend::Even);
    EXPECT_EQ(summary.accuracyTrend, Trend::Up);

    summary = finish(151, 90);
    EXPECT_EQ(summary.speedTrend, Trend::Up);
    EXPECT_EQ(summary.accuracyTrend, Trend::Down);

    summary = finish(0, 90);
    EXPECT_EQ(summary.speedText, "0字/分");
    EXPECT_EQ(summary.previousSpeedText, "151字/分");
    EXPECT_EQ(summary.speedTrend, Trend::Down);
    EXPECT_EQ(summary.accuracyTrend, Trend::Even);
}

TEST_F(ResultSummaryTest, AFullHistoryStillComparesWithTheSecondNewest) {
    dir.writeScore(entryBytes(0, "lesson2", numberedAttempts(0, 100)));
    const ResultSummary summary = finish(1000, 0);
    // The second newest of the stored 100 is the attempt numbered 99.
    EXPECT_EQ(summary.previousSpeedText, "297字/分");
    EXPECT_EQ(summary.previousAccuracyText, "99%");
    EXPECT_EQ(summary.speedTrend, Trend::Up);
    EXPECT_EQ(summary.accuracyTrend, Trend::Down);
}

TEST_F(ResultSummaryTest, AfterErasingTheNextAttemptIsAFirstAttemptAgain) {
    finish(100, 80);
    finish(110, 85);
    ASSERT_TRUE(eraseGraphData(scores, lesson, true).erased);
    expectFirstAttempt(finish(120, 90));
}

TEST_F(ResultSummaryTest, WithoutAReadableEntryTheFiguresShowAsAFirstAttempt) {
    const ResultSummary none = summarizeResult(scores, lesson, 10, 20);
    EXPECT_EQ(none.messages, Messages{plainMessage("no match data")});
    expectFirstAttempt(none);

    dir.writeScore(entryBytes(0, "lesson2", {{1, 2}}).substr(0, 5));
    const ResultSummary cut = summarizeResult(scores, lesson, 88, 77);
    EXPECT_EQ(cut.messages,
              (Messages{plainMessage("error : unexpected EOF"), plainMessage("no match data")}));
    EXPECT_EQ(cut.speedText, "88字/分");
    EXPECT_EQ(cut.accuracyText, "77%");
    expectFirstAttempt(cut);
}

TEST(ResultCaption, IsTheApplicationTitleWithTwoBlanksAndResult) {
    EXPECT_EQ(resultCaption(), "ケストラムLite  結果");
}

}  // namespace
}  // namespace kestrum
