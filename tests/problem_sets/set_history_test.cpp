// A problem set's history follows its name in both records, score.dat and the attempt store.
#include "problem_sets/set_history.h"

#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "progress/attempt_store.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using testing::entryBytes;
using Row = std::tuple<int, std::string, int>;  // kind, lesson, speed

class SetHistoryTest : public ::testing::Test {
protected:
    void record(int kind, const std::string& lesson, int speed, const std::string& ch) {
        Attempt attempt;
        attempt.started_at = "2026-12-06T10:00:00Z";
        attempt.kind = kind;
        attempt.lesson = lesson;
        attempt.speed = speed;
        attempt.key_stats = {{ch, 3, 1}};
        ASSERT_NE(store.record(attempt), 0);
    }
    std::vector<Row> rows() {
        std::vector<Row> result;
        for (const Attempt& attempt : store.attempts())
            result.emplace_back(attempt.kind, attempt.lesson, attempt.speed);
        return result;
    }

    testing::HistoryDir dir;
    FaultFileSystem files;
    ScoreFile scores{files, dir.path()};
    AttemptStore store{AttemptStore::fileIn(dir.path())};
    SetHistory history{scores, store};
};

// The entry keeps its place and its attempts; the new name's old history (a deleted set's) goes,
// and a built-in lesson of the same name stays.
TEST_F(SetHistoryTest, RenameMovesBothRecordsAndReplacesTheNewNamesOldHistory) {
    const Bytes practice = utf8ToCp932("練習");
    const Bytes builtIn = entryBytes(0, "renamed", {{100, 90}});
    dir.writeScore(entryBytes(1, "renamed", {{50, 80}}) + builtIn +
                   entryBytes(1, practice, {{120, 95}, {130, 96}}));
    record(1, "練習", 120, "a");
    record(1, "renamed", 50, "b");
    record(0, "renamed", 100, "c");
    EXPECT_TRUE(history.exists("renamed"));
    EXPECT_FALSE(history.exists("other"));

    EXPECT_EQ(history.move("練習", "renamed"), Messages{});
    EXPECT_EQ(dir.scoreBytes(), builtIn + entryBytes(1, "renamed", {{120, 95}, {130, 96}}));
    EXPECT_EQ(rows(), (std::vector<Row>{{1, "renamed", 120}, {0, "renamed", 100}}));
    EXPECT_EQ(store.lessonTotals({1, "renamed"}), (std::vector<KeyTally>{{"a", 3, 1}}));
    EXPECT_FALSE(history.exists("練習"));
    EXPECT_FALSE(dir.hasTemp());
}

// When score.dat cannot be replaced neither record changes, so each stays whole and they agree.
TEST_F(SetHistoryTest, EraseRemovesOneSetOrNothingWhenScoreDatCannotChange) {
    const Bytes gone = entryBytes(1, "gone", {{60, 80}});
    const Bytes kept = entryBytes(1, "kept", {{70, 90}});
    dir.writeScore(gone + kept);
    record(1, "gone", 60, "a");
    record(1, "kept", 70, "a");
    files.fail(FaultFileSystem::FileOp::Replace);
    EXPECT_FALSE(history.erase("gone").empty());
    EXPECT_FALSE(history.move("gone", "moved").empty());
    EXPECT_EQ(dir.scoreBytes(), gone + kept);
    EXPECT_EQ(rows().size(), 2u);

    files.restore();
    EXPECT_EQ(history.erase("gone"), Messages{});
    EXPECT_EQ(dir.scoreBytes(), kept);
    EXPECT_EQ(rows(), (std::vector<Row>{{1, "kept", 70}}));
    EXPECT_EQ(store.lessonTotals({1, "gone"}), std::vector<KeyTally>{});
}

}  // namespace
}  // namespace kestrum
