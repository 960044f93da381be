#include "drill/lesson_catalogue.h"
#include "history/history_test_dir.h"
#include "progress/attempt_csv.h"
#include "progress/attempt_queries.h"
#include "progress/attempt_record.h"
#include "progress/attempt_store.h"
#include "progress/heat_map.h"
#include "progress/progress_series.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_keys.h"
#include "support/other_connection.h"
#include "support/table_file.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>

using namespace kestrum;
using kestrum::testing::HistoryDir;

namespace {

// The system's time-zone rules for one zone, as if the learner lived there.
void useZone(const char* name) {
    ::setenv("TZ", name, 1);
    ::tzset();
}

struct Store {
    HistoryDir dir;
    AttemptStore store{AttemptStore::fileIn(dir.path())};

    void add(const char* startedAt, int speed, int accuracy, const char* lesson = "l") {
        ASSERT_GT(store.record({0, startedAt, 1, lesson, speed, accuracy, 0, 0, 0, {}}), 0);
    }
    std::vector<ProgressPoint> series(ProgressUnit unit, QDate from = {2000, 1, 1},
                                      QDate to = {2100, 1, 1}) {
        return progressSeries(store, {std::nullopt, from, to, unit});
    }
};

QDateTime local(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

}  // namespace

// Every byte typed right or missed is one tally under its character; the rest are left out.
TEST(AttemptRecord, EveryKeyTypedOrMissedIsOneTally) {
    CharCounts hits{}, misses{};
    hits['a'] = 3;
    misses['s'] = 2;
    hits['d'] = misses['d'] = 1;
    hits[0xB1] = 4;  // ｱ in code page 932
    EXPECT_EQ(keyTallies(hits, misses),
              (std::vector<KeyTally>{{"a", 3, 0}, {"d", 1, 1}, {"s", 0, 2}, {"ｱ", 4, 0}}));
}

// Formula-like names stay text; beside each UTC time its local time.
TEST(AttemptCsv, GoldenFileWithFormulaLikeNamesAndLocalTimes) {
    useZone("Asia/Tokyo");
    Store s;
    s.store.record(
        {0, "2026-12-01T09:00:00Z", 0, "lesson1", 123, 95, 61000, 120, 6, {{"a", 1, 0}}});
    s.store.record({0, "2026-12-02T23:59:59Z", 1, "さくら, \"春\"", 0, 0, 0, 0, 0, {}});
    int hour = 1;
    for (const char* name : {"=1+2", "=HYPERLINK(\"http://x.example/\",\"x\")", "+1", "-1",
                             "@SUM(A1)", "\tx", "＝1", "a=b -1"}) {
        const std::string at = "2026-12-03T0" + std::to_string(hour++) + ":00:00Z";
        s.store.record({0, at, 1, name, 0, 0, 0, 0, 0, {}});
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(exportAttemptsCsv(s.store, out));
    EXPECT_EQ(out.data().toStdString(),
              kestrum::testing::fileBytes(KESTRUM_TEST_DATA "/attempts.csv"));
}

// Each attempt's own date decides its offset: Berlin is UTC+1 in winter and UTC+2 in summer.
TEST(ProgressSeries, LocalDaysFollowTheZoneRulesOfEachDate) {
    useZone("Europe/Berlin");
    Store s;
    s.add("2026-03-28T23:30:00Z", 100, 90);   // Sunday 29 March, 00:30 CET
    s.add("2026-03-29T22:30:00Z", 200, 80);   // Monday 30 March, 00:30 CEST
    s.add("2026-07-10T22:30:00Z", 120, 100);  // Saturday 11 July, 00:30 CEST
    s.add("2026-10-24T22:30:00Z", 140, 70);   // Sunday 25 October, 00:30 CEST
    s.add("2026-10-25T23:30:00Z", 160, 60);   // Monday 26 October, 00:30 CET
    // Each unit's points, in data/zone_series.tsv.
    std::map<std::string, std::vector<ProgressPoint>> points;
    for (const auto& row : kestrum::testing::tableRows("zone_series.tsv"))
        points[row[0]].push_back(
            {local(row[1].c_str()), std::stod(row[2]), std::stod(row[3]), std::stoi(row.at(4))});
    for (const auto& [unit, name] : {std::pair{ProgressUnit::Attempt, "attempt"},
                                     {ProgressUnit::Week, "week"},
                                     {ProgressUnit::Month, "month"}})
        EXPECT_EQ(s.series(unit), points[name]) << name;
    // The range is of local days, both ends included.
    const std::vector<ProgressPoint> days =
        s.series(ProgressUnit::Day, QDate(2026, 3, 30), QDate(2026, 10, 25));
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days.front().at, local("2026-03-30T00:00:00"));
    EXPECT_EQ(days.back().at, local("2026-10-25T00:00:00"));
    s.add("not a time", 1, 1);
    EXPECT_EQ(storedDays(s.store), (DayRange{{2026, 3, 29}, {2026, 10, 26}}));
    // One lesson's attempts alone, and every lesson once.
    s.add("2026-05-01T10:00:00Z", 70, 50, "m");
    EXPECT_EQ(storedLessons(s.store), (std::vector<LessonId>{{1, "l"}, {1, "m"}}));
    EXPECT_EQ(progressSeries(s.store,
                             {LessonId{1, "m"}, {2026, 1, 1}, {2027, 1, 1}, ProgressUnit::Attempt}),
              (std::vector<ProgressPoint>{{local("2026-05-01T12:00:00"), 70, 50, 1}}));
    // The day sums forget an erased lesson, and follow a renamed one to its new name.
    const ProgressFilter mayDay{std::nullopt, {2026, 5, 1}, {2026, 5, 1}, ProgressUnit::Day};
    EXPECT_EQ(progressSeries(s.store, mayDay),
              (std::vector<ProgressPoint>{{local("2026-05-01T00:00:00"), 70, 50, 1}}));
    ASSERT_TRUE(s.store.eraseLesson({1, "m"}));
    EXPECT_EQ(progressSeries(s.store, mayDay), std::vector<ProgressPoint>{});
    ASSERT_TRUE(s.store.renameLesson({1, "l"}, "n"));
    EXPECT_EQ(progressSeries(s.store,
                             {LessonId{1, "n"}, {2026, 7, 11}, {2026, 7, 11}, ProgressUnit::Day}),
              (std::vector<ProgressPoint>{{local("2026-07-11T00:00:00"), 120, 100, 1}}));
}

// A file of the version before (data/attempts_v2.sql) gains the sums of what it holds at their
// first read: a lesson's key counts, the attempts per local day, these again whenever the
// learner's zone changes.
TEST(ProgressSeries, AnOlderFileGainsItsSumsAndDaysFollowTheZone) {
    useZone("Asia/Tokyo");
    HistoryDir dir;
    const auto file = AttemptStore::fileIn(dir.path());
    QStringList statements =
        QString::fromStdString(kestrum::testing::fileBytes(KESTRUM_TEST_DATA "/attempts_v2.sql"))
            .split('\n');
    statements.removeIf(
        [](const QString& line) { return line.isEmpty() || line.startsWith("--"); });
    kestrum::testing::OtherConnection(file).run(statements);
    AttemptStore store(file);
    EXPECT_EQ(store.lessonTotals({0, "a"}), (std::vector<KeyTally>{{"e", 100, 100}}));
    EXPECT_EQ(storedLessons(store), (std::vector<LessonId>{{0, "a"}, {1, "a"}}));
    const ProgressFilter lessonA{
        LessonId{1, "a"}, {2026, 11, 1}, {2026, 12, 31}, ProgressUnit::Day};
    // 17:00 on the 30th and 05:00 on the 1st in Tokyo; 03:00 and 15:00 on the 30th in New York.
    EXPECT_EQ(progressSeries(store, lessonA),
              (std::vector<ProgressPoint>{{local("2026-11-30T00:00:00"), 100, 90, 1},
                                          {local("2026-12-01T00:00:00"), 200, 80, 1}}));
    useZone("America/New_York");
    const std::vector<ProgressPoint> newYork{{local("2026-11-30T00:00:00"), 150, 85, 2}};
    {
        // While another program writes, the days cannot be summed again: the attempts are read.
        kestrum::testing::OtherConnection writer(file);
        writer.run({"BEGIN IMMEDIATE"});
        EXPECT_EQ(progressSeries(store, lessonA), newYork);
        EXPECT_EQ(store.lessonTotals({1, "a"}), (std::vector<KeyTally>{{"e", 12, 1}, {"f", 3, 3}}));
    }
    EXPECT_EQ(progressSeries(store, lessonA), newYork);
    EXPECT_TRUE(store.pendingMessages().empty());
    // Written while the learner was in Tokyo (1 December there), read back in New York.
    useZone("Asia/Tokyo");
    store.record({0, "2026-11-30T16:00:00Z", 1, "a", 300, 100, 0, 0, 0, {{"f", 1, 0}}});
    useZone("America/New_York");
    EXPECT_EQ(progressSeries(store, lessonA),
              (std::vector<ProgressPoint>{{local("2026-11-30T00:00:00"), 200, 90, 3}}));
    EXPECT_EQ(store.lessonTotals({1, "a"}), (std::vector<KeyTally>{{"e", 12, 1}, {"f", 4, 3}}));
    // Both lessons' key counts are summed for good: a later read costs a row per key.
    kestrum::testing::OtherConnection look(file);
    EXPECT_EQ(look.run({"PRAGMA user_version"}), QStringList{"3"});
    EXPECT_EQ(look.run({"SELECT count(*) FROM lesson_keys_pending"}), QStringList{"0"});
}

// Rows of data/progress_axes.tsv.
TEST(ProgressChart, AxesHoldAgainstHostileValuesAndUnitsKeepRangesReadable) {
    const QDate today(2026, 12, 6);
    const char* const units[] = {"attempt", "day", "week", "month"};
    const auto text = [](Axis a) {
        return std::to_string(a.top) + "," + std::to_string(a.step) + "," +
               std::to_string(a.bottom);
    };
    for (const auto& row : kestrum::testing::tableRows("progress_axes.tsv")) {
        const double value = std::stod(row.at(1));
        const std::string got = row[0] == "unit"
                                    ? units[int(unitFor({today, today.addDays(qint64(value) - 1)}))]
                                : row[0] == "axis" ? text(axisFor(value))
                                                   : text(percentAxis(value));
        EXPECT_EQ(got, row.at(2)) << row[0] << " " << row[1];
    }
}

TEST(ProgressChart, TimeAxisTicks) {
    for (const auto& row : kestrum::testing::tableRows("time_ticks.tsv")) {
        const auto date = [](const std::string& text) {
            return QDate::fromString(QString::fromStdString(text), Qt::ISODate);
        };
        std::vector<TimeTick> expected;
        for (std::size_t i = 4; i < row.size(); ++i) {
            const std::size_t equals = row[i].find('=');
            expected.push_back({date(row[i].substr(0, equals)), row[i].substr(equals + 1)});
        }
        EXPECT_EQ(timeTicks(date(row[0]), date(row[1]), std::stoi(row[2]), std::stoi(row[3])),
                  expected)
            << row[0] << ".." << row[1];
    }
}

TEST(HeatMap, ColourFollowsMissRate) {
    for (const auto& row : kestrum::testing::tableRows("heat_colours.tsv")) {
        const auto n = [&](std::size_t i) { return std::stoi(row.at(i)); };
        EXPECT_EQ(heatColour(n(0), n(1)),
                  (Rgb{std::uint8_t(n(2)), std::uint8_t(n(3)), std::uint8_t(n(4))}))
            << row[0] << "/" << row[1];
    }
}

// Both cases of a letter are one key, named by its caption; a character the keyboard does not
// show (a kana typed by mistake) has no key.
TEST(HeatMap, BothCasesOfALetterTintOneKey) {
    KeyboardModel model;
    const RomajiHeatKeys keys(model);
    const KeyPosition a{2, 0};
    const std::vector<KeyHeat> heats = keyHeats(keys, {{"a", 10, 1}, {"A", 5, 2}, {"ア", 1, 1}});
    EXPECT_EQ(heats, (std::vector<KeyHeat>{{a, 15, 3}}));
    EXPECT_EQ(keys.caption(a), "A");
    EXPECT_EQ(keys.keyOf("ﾁ"), std::nullopt);
    EXPECT_EQ(heatFigures(heats[0]), "打鍵 18回・ミス 3回（16.7%）");
    paintHeat(model, heats);
    EXPECT_EQ(model.keyLook({2, 0}).background, heatColour(15, 3));
    EXPECT_EQ(model.keyLook({2, 1}).background, (Rgb{228, 228, 228}));
}

// Keys never missed are left out; the worst miss rate comes first, and more misses win a tie.
TEST(HeatMap, WorstKeysFirst) {
    const auto heat = [](int col, std::int64_t hits, std::int64_t misses) {
        return KeyHeat{{2, col}, hits, misses};
    };
    const std::vector<KeyHeat> heats = {heat(0, 9, 1), heat(5, 5, 0), heat(2, 2, 2),
                                        heat(3, 4, 4), heat(4, 1, 1), heat(6, 0, 3)};
    EXPECT_EQ(worstKeys(heats, 4),
              (std::vector<KeyHeat>{heat(6, 0, 3), heat(3, 4, 4), heat(2, 2, 2), heat(4, 1, 1)}));
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
    // Fifteen steps, as in lessons 1 to 4: the words in order, then words at random.
    EXPECT_EQ(record.program,
              (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, -1, -1, -1, -1, -1, -1, -1, -1}));
    // A single weak key has nothing to sum up.
    EXPECT_EQ(buildWeakKeyDrill({{"e", 20, 10}}).record.value().words.size(), 3u);
}
