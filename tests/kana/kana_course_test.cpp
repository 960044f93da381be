#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "kana/kana_drill.h"
#include "kana/kana_heat_keys.h"
#include "kana/kana_layout.h"
#include "kana/kana_lessons.h"
#include "kana/kana_marks_text.h"
#include "kana/kana_text.h"
#include "platform/key_positions.h"
#include "platform/random_source.h"
#include "progress/attempt_record.h"
#include "support/fake_services.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <set>

namespace kestrum::testing {
namespace {

const std::map<std::string, int> kFingers{
    {"index", 0}, {"middle", 1}, {"ring", 2}, {"little", 3}, {"thumb", 4}};

TEST(KanaLayout, EveryKeyHasItsKanaFingerKeycodeAndName) {
    const auto rows = tableRows("kana_layout.tsv");
    EXPECT_EQ(kanaKeys().size(), rows.size()) << "keys the table does not list";
    const XKeyPositions keyboard;
    for (const auto& row : rows) {
        const KeyPosition position{std::stoi(row[0]), std::stoi(row[1])};
        SCOPED_TRACE(row[3]);
        const KanaKey* key = kanaKeyAt(position);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->kana, row[3]);
        EXPECT_EQ(key->shifted, row[4] == "-" ? "" : row[4]);
        EXPECT_EQ(key->finger, (Finger{row[5] == "L" ? 0 : 1, kFingers.at(row[6])}));
        EXPECT_EQ(fingerOf(position), key->finger);
        EXPECT_EQ(key->byte, static_cast<unsigned char>(row[7].at(0)));
        const auto keycode = static_cast<std::uint32_t>(std::stoul(row[2]));
        EXPECT_EQ(keyboard.positionOf(keycode), position);
        EXPECT_EQ(XKeyPositions::scanCodeOf(position), keycode);
    }
    EXPECT_EQ(keyboard.positionOf(50), kLeftShiftPosition);
    EXPECT_EQ(keyboard.positionOf(62), kRightShiftPosition);
    for (const std::uint32_t notAKanaKey : {9u, 22u, 23u, 36u, 66u, 94u, 0u})
        EXPECT_EQ(keyboard.positionOf(notAKanaKey), std::nullopt) << notAKanaKey;
}

TEST(KanaLayout, KanaTurnIntoTheirKeyStrokes) {
    for (const auto& row : tableRows("kana_strokes.tsv")) {
        const std::u32string kana = toUtf32(row[0]);
        ASSERT_EQ(kana.size(), 1u) << row[0];
        const auto strokes = strokesOf(kana.front());
        std::string text;  // "row,col" of each key, ",S" when shifted
        for (const KanaStroke& key : strokes.value_or(std::vector<KanaStroke>{}))
            text += (text.empty() ? "" : " ") + std::to_string(key.position.row) + "," +
                    std::to_string(key.position.col) + (key.shift ? ",S" : "");
        EXPECT_EQ(strokes ? text : "-", row[1]) << row[0];
    }
}

// Each letter lesson uses only the rows taught so far, unshifted; every item of the course can
// be typed and fits the row.
TEST(KanaLessons, LettersComeRowByRowAndEveryItemCanBeTyped) {
    const std::vector<KanaLesson>& course = kanaCourse();
    ASSERT_EQ(course.size(), 8u);
    const std::vector<std::set<int>> taughtRows{{2}, {1, 2}, {1, 2, 3}, {0, 1, 2, 3}};
    for (std::size_t n = 0; n < course.size(); ++n) {
        const KanaLesson& lesson = course[n];
        EXPECT_EQ(lesson.name, "kana" + std::to_string(n + 1));
        for (const std::int32_t entry : lesson.program)
            EXPECT_TRUE(entry >= -1 && entry < static_cast<std::int32_t>(lesson.items.size()));
        for (const KanaItem& item : lesson.items) {
            SCOPED_TRACE(toUtf8(item.text));
            EXPECT_LE(item.text.size(), 20u);
            EXPECT_FALSE(item.comment.empty());
            for (const char32_t kana : item.text) {
                const auto strokes = strokesOf(kana);
                ASSERT_TRUE(strokes.has_value());
                if (n >= taughtRows.size()) continue;
                for (const KanaStroke& stroke : *strokes) {
                    EXPECT_FALSE(stroke.shift);
                    EXPECT_TRUE(stroke.position == kSpacePosition ||
                                taughtRows[n].contains(stroke.position.row));
                }
            }
        }
    }
    EXPECT_EQ(course[6].program,
              std::vector<std::int32_t>(15, -1));  // words at random, as lesson 5
}

// Rows of data/kana_hints.tsv: each pair's items ("aab..." on) carry its line.
TEST(KanaLessons, HintsNameTheFingersThatStrikeEachKana) {
    const std::vector<KanaLesson>& course = kanaCourse();
    for (const auto& row : tableRows("kana_hints.tsv")) {
        const std::u32string pair = toUtf32(row.at(1));
        const std::u32string start{pair[0], pair[0], pair[1]};
        const auto& items = course.at(std::stoul(row[0])).items;
        const auto item = std::find_if(items.begin(), items.end(), [&](const KanaItem& i) {
            return i.text.starts_with(start);
        });
        ASSERT_NE(item, items.end()) << row[1];
        EXPECT_EQ(item->comment, row.at(2)) << row[1];
    }
}

// The course's history keys are built-in keys named kana1..kana8, whatever attempt they carry;
// a problem set may take such a name without becoming one.
TEST(KanaLessons, TheCourseKnowsItsOwnHistoryKeys) {
    for (const auto& [kind, name, own] : {std::tuple{0, "kana8", true},
                                          {0, "kana1", true},
                                          {0, "kana9", false},
                                          {0, "lesson1", false},
                                          {1, "kana1", false}})
        EXPECT_EQ(isKanaLesson(attemptOf(kind, name, 120, 97)), own) << kind << name;
    EXPECT_EQ(lessonListTitle({0, "kana5"}), "かな入力: 濁音と半濁音");
    EXPECT_EQ(lessonListTitle({1, "kana5"}), "問題集: kana5");
    EXPECT_EQ(lessonListTitle({0, "lesson5"}), "lesson5");
}

class KanaDrillTest : public ::testing::Test {
protected:
    // Presses the X key code, with Shift held when asked, through the key map under test.
    void press(std::uint32_t keycode, bool shift = false) {
        clock.now += 100;
        const auto position = keyboard->positionOf(keycode);
        ASSERT_TRUE(position.has_value()) << keycode;
        drill.keyDown(*position, shift);
    }
    void typeKana(char32_t kana) {
        const auto strokes = strokesOf(kana);
        for (const KanaStroke& stroke : strokes.value())
            press(XKeyPositions::scanCodeOf(stroke.position), stroke.shift);
    }
    std::u32string itemOnScreen() {
        std::string text;
        for (const KanaCell& cell : drill.view().cells)
            text += cell.kana;
        return toUtf32(text);
    }
    void endPause() {
        clock.now += kPauseMs;
        drill.timerFired(DrillTimer::pause);
    }
    // Types every item of the lesson, a wrong key before the kana at each index in `missAt`;
    // plannedMisses counts those under the key each was meant to be.
    LessonResult typeLesson(const KanaLesson& lesson, std::set<std::size_t> missAt = {}) {
        plannedMisses.fill(0);
        drill.start(lesson, *keyboard);
        press(38);  // the start key
        std::u32string previous;
        while (drill.running()) {
            const std::u32string item = itemOnScreen();
            EXPECT_NE(item, previous) << "the same item twice in a row";
            previous = item;
            for (std::size_t i = 0; i < item.size(); ++i) {
                if (missAt.contains(i)) {
                    press(item[i] == U'ち' ? 39 : 38);
                    ++plannedMisses[kanaKeyAt(strokesOf(item[i])->front().position)->byte];
                }
                typeKana(item[i]);
            }
            endPause();
        }
        return host.results.back();
    }

    MemoryFileSystem files;
    ScoreFile scores{files, "/data"};
    Settings settings;
    FakeClock clock;
    SeededRandom random{7};
    RecordingSound sound;
    RecordingHost host;
    std::unique_ptr<KeyPositions> keyboard = std::make_unique<XKeyPositions>();
    KanaDrill drill{settings, clock, random, sound, scores, host};
    const std::vector<KanaLesson>& course = kanaCourse();
    CharCounts plannedMisses{};
};

// Every lesson typed, three of them with a wrong key before the first and the third kana of each
// item: a miss counts under the key that was expected, a push or an error sounds for every judged
// key, and the attempt is recorded.
TEST_F(KanaDrillTest, EveryLessonIsJudgedKeyByKeyAndRecorded) {
    for (std::size_t n = 0; n < course.size(); ++n) {
        SCOPED_TRACE(course[n].name);
        sound.played.clear();
        const bool missing = n == 0 || n == 4 || n == 7;
        const LessonResult result =
            typeLesson(course[n], missing ? std::set<std::size_t>{0, 2} : std::set<std::size_t>{});
        EXPECT_EQ(result.miss_counts, plannedMisses);
        const int misses = std::accumulate(result.miss_counts.begin(), result.miss_counts.end(), 0);
        EXPECT_EQ(misses, missing ? 2 * static_cast<int>(course[n].program.size()) : 0);
        EXPECT_EQ(result.accuracy, (result.key_count - misses) * 100 / result.key_count);
        EXPECT_EQ(sound.played.size(), static_cast<std::size_t>(result.key_count));
        const int hits = std::accumulate(result.hit_counts.begin(), result.hit_counts.end(), 0);
        EXPECT_EQ(result.key_count, hits + misses);
        EXPECT_EQ(result.key, (ScoreKey{0, 5, course[n].name, result.speed, result.accuracy}));
        EXPECT_GT(result.speed, 0);
        // Dated by the calendar as the run ended, when the last item's pause was over.
        EXPECT_EQ(result.ended_utc_ms, clock.utcMs + clock.now);
        const ScoreReadOutcome read = scores.ReadScores(scoreKeyFor(0, course[n].name));
        EXPECT_EQ(std::tuple(read.count, read.accuracies[0]), std::tuple(1, result.accuracy));
    }
    EXPECT_EQ(host.results.size(), course.size());
}

TEST_F(KanaDrillTest, UsAndJapaneseKeyMapsGiveTheSameRunAndNameTheMissingKeys) {
    const LessonResult japanese = typeLesson(course[2], {1});
    drill.start(course[2], *keyboard);
    EXPECT_EQ(drill.view().message, "何かキーを押すと始まります。");

    // The keys a US key map leaves: no yen key (132), no backslash key left of Shift (97).
    std::set<std::uint32_t> us;
    for (const auto& row : tableRows("kana_layout.tsv"))
        us.insert(static_cast<std::uint32_t>(std::stoul(row.at(2))));
    us.erase(97);
    us.erase(132);
    keyboard = std::make_unique<XKeyPositions>(us);
    random = SeededRandom{7};
    const LessonResult usRun = typeLesson(course[2], {1});
    EXPECT_EQ(
        std::tie(usRun.key_count, usRun.accuracy, usRun.hit_counts, usRun.miss_counts),
        std::tie(japanese.key_count, japanese.accuracy, japanese.hit_counts, japanese.miss_counts));
    drill.start(course[2], *keyboard);
    EXPECT_EQ(drill.view().message, "キーボードに「ろ」がありません。");
    drill.start(course[3], *keyboard);  // the number row: ー on the yen key
    EXPECT_EQ(drill.view().message, "キーボードに「ー」がありません。");
}

// が takes か then ゛: the kana turns typed with the second key; ゃ needs the left Shift (its key
// is the right hand's), and without Shift it is a miss that greys nothing. Every stroke reaches
// the heat map on its key of the kana keyboard, named by the kana on it; a romaji key's name is
// no kana key.
TEST_F(KanaDrillTest, VoicedAndShiftedKanaGuideJudgeAndCountEveryKey) {
    const KanaLesson lesson{"t", "t", {{U"がゃ", "c"}}, {0}};
    drill.start(lesson, *keyboard);
    press(38);
    const Finger leftIndex{0, 0}, rightLittle{1, 3};
    EXPECT_EQ(drill.marks(), (KanaGuideMarks{KeyPosition{1, 4}, {}, leftIndex, {}}));
    press(28);  // か
    EXPECT_FALSE(drill.view().cells[0].typed);
    EXPECT_EQ(drill.marks(), (KanaGuideMarks{KeyPosition{1, 10}, {}, rightLittle, {}}));
    press(38);  // ち: wrong
    EXPECT_EQ(drill.marks().missed, (KeyPosition{2, 0}));
    EXPECT_EQ(kanaMarksText(drill.marks()), "次のキー: ゛、右手の小指。間違えたキー: ち。");
    EXPECT_TRUE(host.isRunning(DrillTimer::timer_error));
    drill.timerFired(DrillTimer::timer_error);
    EXPECT_EQ(drill.marks().missed, std::nullopt);
    press(34);  // ゛
    EXPECT_TRUE(drill.view().cells[0].typed);
    EXPECT_EQ(drill.marks(),
              (KanaGuideMarks{KeyPosition{0, 6}, kLeftShiftPosition, Finger{1, 0}, {}}));
    press(16);  // や without Shift
    EXPECT_EQ(drill.marks().missed, std::nullopt);
    EXPECT_EQ(kanaMarksText(drill.marks()), "次のキー: ゃ、左Shift、右手の人差し指。");
    press(50, true);  // the Shift key itself is no stroke
    press(16, true);
    EXPECT_TRUE(drill.view().cells[1].typed);
    endPause();
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0].key_count, 5);
    EXPECT_EQ(host.results[0].accuracy, 60);
    const LessonResult& result = host.results[0];
    const KanaHeatKeys keys;
    const KeyPosition ka{1, 4}, voicing{1, 10}, ya{0, 6};
    EXPECT_EQ(keyHeats(keys, keyTallies(result.hit_counts, result.miss_counts)),
              (std::vector<KeyHeat>{{ka, 1, 0}, {ya, 1, 1}, {voicing, 1, 1}}));
    EXPECT_EQ(keys.caption(ya), "や（ゃ）");
    EXPECT_EQ(keys.caption(voicing), "゛");
    EXPECT_EQ(keys.caption(kSpacePosition), "スペース");
    EXPECT_EQ(keys.keyOf("a"), std::nullopt);
    EXPECT_EQ(keys.keyOf("ﾁ"), (KeyPosition{2, 0}));
}

}  // namespace
}  // namespace kestrum::testing
