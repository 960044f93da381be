#include "drill/lesson_figures.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrum {
namespace {

// Correct keys per minute and percent correct, both truncated.
TEST(LessonFigures, SpeedAccuracyAndElapsedTime) {
    EXPECT_EQ(speedPerMinute(100, 60000), 100);
    EXPECT_EQ(speedPerMinute(100, 60001), 99);
    EXPECT_EQ(speedPerMinute(50000, 3000000), 1000);  // correct * 60000 passes 2^31
    EXPECT_EQ(speedPerMinute(100000, 1), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(speedPerMinute(5, 0), 0);
    EXPECT_EQ(accuracyPercent(2, 3), 66);
    EXPECT_EQ(accuracyPercent(100, 100), 100);
    EXPECT_EQ(accuracyPercent(0, 0), 0);
    EXPECT_EQ(elapsedTicks(0xFFFFFF00u, 0x00000100u), 0x200u);  // the tick counter wrapped
}

TEST(LessonFigures, StatisticsListHitCharactersInByteOrderWithTheirMissRate) {
    CharCounts hits{};
    CharCounts misses{};
    hits['s'] = 3;
    misses['s'] = 1;
    hits[' '] = 1;
    misses[' '] = 2;
    misses['q'] = 5;  // never typed right: no line
    hits[0xB1] = 1;   // a katakana byte stays a single byte
    EXPECT_EQ(statisticsLines(hits, misses),
              (std::vector<Bytes>{" :total = 1,miss = 2,rate = 200",
                                  "s:total = 3,miss = 1,rate = 33.3333333333333",
                                  "\xB1:total = 1,miss = 0,rate = 0"}));
}

TEST(LessonFigures, TheHistoryKeyComesFromTheLessonRecord) {
    lesson record;
    record.kind = 1;
    record.name = "sample";
    EXPECT_EQ(scoreKeyForRun(record, 123, 95), (ScoreKey{1, 6, "sample", 123, 95}));
    record.name = Bytes(300, 'n');  // more than the key's buffer holds
    EXPECT_EQ(scoreKeyForRun(record, 1, 2), (ScoreKey{1, 259, Bytes(259, 'n'), 1, 2}));
}

}  // namespace
}  // namespace kestrum
