#include "drill/lesson_catalogue.h"
#include "history/history_test_dir.h"
#include "progress/attempt_csv.h"
#include "progress/heat_map.h"
#include "progress/progress_series.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_keys.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

using namespace kestrum;

TEST(AttemptCsv, BomHeaderAndOneQuotedWhereNeededRowPerAttempt) {
    const std::vector<Attempt> attempts = {
        {7, "2026-12-01T09:00:00Z", 0, "lesson1", 123, 95, 61000, 120, 6, {{"a", 1, 0}}},
        {9, "2026-12-02T23:59:59Z", 1, "さくら, \"春\"", 0, 0, 0, 0, 0, {}},
    };
    // A byte-order mark for spreadsheets, a header, CRLF line ends, quotes only where needed.
    EXPECT_EQ(attemptsCsv(attempts),
              kestrum::testing::fileBytes(KESTRUM_TEST_DATA "/attempts.csv"));
}

TEST(ProgressSeries, LocalDaysAveragedWithinRangeAndLesson) {
    const std::vector<Attempt> attempts = {
        {1, "2026-12-01T14:30:00Z", 0, "lesson1", 100, 90, 0, 0, 0, {}},  // 12/01 23:30 at +9
        {2, "2026-12-01T15:30:00Z", 0, "lesson1", 150, 80, 0, 0, 0, {}},  // 12/02 00:30
        {3, "2026-12-02T01:00:00Z", 0, "lesson1", 201, 95, 0, 0, 0, {}},  // 12/02 10:00
        {4, "2026-12-02T02:00:00Z", 1, "sample", 999, 10, 0, 0, 0, {}},
        {5, "2026-12-05T02:00:00Z", 0, "lesson1", 300, 99, 0, 0, 0, {}},  // after the range
        {6, "not a time", 0, "lesson1", 1, 1, 0, 0, 0, {}},
    };
    ProgressFilter filter{LessonId{0, "lesson1"}, QDate(2026, 12, 1), QDate(2026, 12, 2), true,
                          9 * 3600};
    EXPECT_EQ(progressPoints(attempts, filter),
              (std::vector<ProgressPoint>{{QDate(2026, 12, 1), "12/01", 100, 90, 1},
                                          {QDate(2026, 12, 2), "12/02", 175.5, 87.5, 2}}));
    filter = {std::nullopt, QDate(2026, 12, 1), QDate(2026, 12, 2), false, 0};
    EXPECT_EQ(progressPoints(attempts, filter).back(),
              (ProgressPoint{QDate(2026, 12, 2), "12/02 02:00", 999, 10, 1}));
    EXPECT_EQ(lessonsOf(attempts), (std::vector<LessonId>{{0, "lesson1"}, {1, "sample"}}));
}

TEST(HeatMap, ColourFollowsMissRate) {
    for (const auto& row : kestrum::testing::tableRows("heat_colours.tsv")) {
        const auto n = [&](std::size_t i) { return std::stoi(row.at(i)); };
        EXPECT_EQ(heatColour(n(0), n(1)),
                  (Rgb{std::uint8_t(n(2)), std::uint8_t(n(3)), std::uint8_t(n(4))}))
            << row[0] << "/" << row[1];
    }
}

TEST(HeatMap, BothCasesOfALetterTintOneKey) {
    KeyboardModel model;
    const std::vector<KeyHeat> heats = keyHeats(model, {{"a", 10, 1}, {"A", 5, 2}, {"ア", 1, 1}});
    EXPECT_EQ(heats, (std::vector<KeyHeat>{{model.keyOf('a'), 15, 3}}));
    EXPECT_EQ(heatFigures(heats[0]), "打鍵 18回・ミス 3回（16.7%）");
    paintHeat(model, heats);
    EXPECT_EQ(model.keyLook(model.keyOf('a')).background, heatColour(15, 3));
    EXPECT_EQ(model.keyLook(model.keyOf('s')).background, (Rgb{228, 228, 228}));
}

// Keys never missed are left out; the worst miss rate comes first, and more misses win a tie.
TEST(HeatMap, WorstKeysFirst) {
    KeyboardModel model;
    const auto heat = [&](char key, std::int64_t hits, std::int64_t misses) {
        return KeyHeat{model.keyOf(static_cast<unsigned char>(key)), hits, misses};
    };
    const std::vector<KeyHeat> heats = {heat('a', 9, 1), heat('h', 5, 0), heat('d', 2, 2),
                                        heat('f', 4, 4), heat('g', 1, 1), heat('j', 0, 3)};
    EXPECT_EQ(worstKeys(heats, 4), (std::vector<KeyHeat>{heat('j', 0, 3), heat('f', 4, 4),
                                                         heat('d', 2, 2), heat('g', 1, 1)}));
}

TEST(WeakKeys, ChoiceOnCraftedHistories) {
    for (const auto& row : kestrum::testing::tableRows("weak_keys.tsv")) {
        std::vector<KeyTally> totals;
        for (std::size_t i = 1; i + 2 < row.size(); i += 3)
            totals.push_back({row[i], std::stoll(row[i + 1]), std::stoll(row[i + 2])});
        std::string chosen;
        for (const WeakKey& key : chooseWeakKeys(totals))
            chosen += key.key;
        EXPECT_EQ(chosen.empty() ? "none" : chosen, row[0]);
    }
}

// Without enough history the drill says why (and asks for more practice only when the store
// keeps it); with it, it pairs each weak key with its finger's home key and ends on all of them.
TEST(WeakKeyDrill, PairsWeakKeysWithTheirFingersHomeKeys) {
    using enum StoreHealth;
    for (const auto& [tally, health, why] :
         {std::tuple{KeyTally{"e", 5, 5}, Keeps, "ほかのレッスンを何回か練習"},
          {KeyTally{"e", 5, 5}, Waits, "プログラムを閉じると残りません"},
          {KeyTally{"e", 50, 0}, Waits, "間違えたキーがありません"},
          {KeyTally{"e", 20, 10}, CannotRead, "今は読めない"}}) {
        const WeakKeyDrill none = buildWeakKeyDrill({tally}, health);
        EXPECT_FALSE(none.record.has_value());
        EXPECT_NE(none.messages.at(0).text.find(why), std::string::npos) << why;
    }
    const WeakKeyDrill drill = buildWeakKeyDrill({{"e", 20, 10}, {"a", 27, 3}});
    const lesson& record = drill.record.value();
    EXPECT_EQ(CheckLesson(record), std::nullopt);
    EXPECT_EQ(std::tuple(record.name, record.kind), std::tuple(utf8ToCp932("苦手キー練習"), 0));
    // e is the left middle finger's (home d); a is itself a home key, so its partner is the
    // right little finger's ;.
    EXPECT_EQ(record.words, (std::vector<Bytes>{"ddeeddee", "dededede", "eeeedddd", ";;aa;;aa",
                                                ";a;a;a;a", "aaaa;;;;", "eda;eda;eda;eda;"}));
    EXPECT_EQ(record.comments, (std::vector<Bytes>{utf8ToCp932("「e」は左手の中指"),
                                                   utf8ToCp932("「a」は左手の小指"),
                                                   utf8ToCp932("苦手キーのまとめ")}));
}
