// A problem set's history follows its name in both records, score.dat and the attempt store.
#include "problem_sets/set_history.h"

#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "progress/attempt_queries.h"
#include "progress/attempt_store.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using testing::entryBytes;
using Row = std::pair<std::string, int>;  // a problem set's attempt: its name and speed

// Renaming keeps the entry in its place with its attempts and drops the new name's old history
// (a deleted set's); a built-in lesson of that name stays. When score.dat cannot be replaced,
// neither record changes; erasing then removes one set's history from both.
TEST(SetHistory, RenameAndEraseChangeBothRecordsOrNeither) {
    testing::HistoryDir dir;
    FaultFileSystem files;
    ScoreFile scores(files, dir.path());
    AttemptStore store(AttemptStore::fileIn(dir.path()));
    SetHistory history(scores, store);
    const auto rows = [&] {
        std::vector<Row> result;
        for (const Attempt& attempt : store.attempts())
            if (attempt.kind == 1) result.emplace_back(attempt.lesson, attempt.speed);
        return result;
    };
    const Bytes builtIn = entryBytes(0, "new", {{100, 90}});
    dir.writeScore(entryBytes(1, "new", {{50, 80}}) + builtIn +
                   entryBytes(1, utf8ToCp932("練習"), {{120, 95}, {130, 96}}));
    Attempt attempt;
    attempt.started_at = "2026-12-06T10:00:00Z";
    for (const auto& [kind, name, speed] :
         {std::tuple{1, "練習", 120}, std::tuple{1, "new", 50}, std::tuple{0, "new", 100}}) {
        std::tie(attempt.kind, attempt.lesson, attempt.speed) = std::tuple{kind, name, speed};
        attempt.key_stats = {{"a", speed, 1}};
        ASSERT_NE(store.record(attempt), 0);
    }
    EXPECT_TRUE(history.exists("new") && !history.exists("other"));
    EXPECT_EQ(history.move("練習", "new"), Messages{});
    const Bytes renamed = builtIn + entryBytes(1, "new", {{120, 95}, {130, 96}});
    EXPECT_EQ(dir.scoreBytes(), renamed);
    EXPECT_EQ(rows(), (std::vector<Row>{{"new", 120}}));
    EXPECT_FALSE(history.exists("練習"));
    // The sums of what the windows draw follow.
    EXPECT_EQ(store.lessonTotals({1, "new"}), (std::vector<KeyTally>{{"a", 120, 1}}));
    EXPECT_EQ(storedLessons(store), (std::vector<LessonId>{{0, "new"}, {1, "new"}}));

    files.fail(FaultFileSystem::FileOp::Replace);
    EXPECT_FALSE(history.erase("new").empty());
    EXPECT_FALSE(history.move("new", "moved").empty());
    EXPECT_EQ(dir.scoreBytes(), renamed);
    EXPECT_EQ(rows(), (std::vector<Row>{{"new", 120}}));
    files.restore();
    EXPECT_EQ(history.erase("new"), Messages{});
    EXPECT_EQ(dir.scoreBytes(), builtIn);
    EXPECT_EQ(rows(), std::vector<Row>{});
    EXPECT_EQ(store.attempts().size(), 1u);
    EXPECT_EQ(store.lessonTotals({1, "new"}), std::vector<KeyTally>{});
    EXPECT_TRUE(store.holds({0, "new"}) && !store.holds({1, "new"}));
    EXPECT_EQ(storedLessons(store), (std::vector<LessonId>{{0, "new"}}));
}

}  // namespace
}  // namespace kestrum
