#include "drill/lesson_figures.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrum {
namespace {

TEST(LessonFiguresTest, SpeedIsCorrectKeysPerMinuteTruncated) {
    EXPECT_EQ(speedPerMinute(100, 60000), 100);
    EXPECT_EQ(speedPerMinute(100, 60001), 99);
    EXPECT_EQ(speedPerMinute(40, 20000), 120);
    // correct * 60000 passes 2^31 here; the quotient still fits.
    EXPECT_EQ(speedPerMinute(50000, 3000000), 1000);
    EXPECT_EQ(speedPerMinute(100000, 1), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(speedPerMinute(5, 0), 0);
}

TEST(LessonFiguresTest, ElapsedTimeSurvivesTheTickCounterWrapping) {
    EXPECT_EQ(elapsedTicks(1000, 61000), 60000u);
    EXPECT_EQ(elapsedTicks(0xFFFFFF00u, 0x00000100u), 0x200u);
}

TEST(LessonFiguresTest, AccuracyIsThePercentOfCorrectKeysTruncated) {
    EXPECT_EQ(accuracyPercent(90, 100), 90);
    EXPECT_EQ(accuracyPercent(100, 100), 100);
    EXPECT_EQ(accuracyPercent(2, 3), 66);
    EXPECT_EQ(accuracyPercent(0, 0), 0);
}

TEST(LessonFiguresTest, StatisticsListHitCharactersInByteOrderWithTheirMissRate) {
    CharCounts hits{};
    CharCounts misses{};
    hits['s'] = 3;
    misses['s'] = 1;
    hits['a'] = 12;
    misses['a'] = 3;
    hits[' '] = 1;
    misses[' '] = 2;
    misses['q'] = 5;  // never typed right: no line
    hits[0xB1] = 1;   // a katakana byte stays a single byte
    const std::vector<Bytes> lines = statisticsLines(hits, misses);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], " :total = 1,miss = 2,rate = 200");
    EXPECT_EQ(lines[1], "a:total = 12,miss = 3,rate = 25");
    EXPECT_EQ(lines[2], "s:total = 3,miss = 1,rate = 33.3333333333333");
    EXPECT_EQ(lines[3], "\xB1:total = 1,miss = 0,rate = 0");
}

TEST(LessonFiguresTest, TheHistoryKeyComesFromTheLessonRecord) {
    lesson record;
    record.kind = 1;
    record.name = "sample";
    EXPECT_EQ(scoreKeyForRun(record, 123, 95), (ScoreKey{1, 6, "sample", 123, 95}));

    record.name = Bytes(300, 'n');  // more than the key's buffer holds
    const ScoreKey key = scoreKeyForRun(record, 1, 2);
    EXPECT_EQ(key.name, Bytes(259, 'n'));
    EXPECT_EQ(key.name_length, 259);
}

}  // namespace
}  // namespace kestrum
