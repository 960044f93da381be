#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrum {
namespace {

using testing::entryBytes;
using testing::HistoryDir;
using FileOp = FaultFileSystem::FileOp;

const Messages kCantOpen{plainMessage("Can't open file.")};

// The two routines that rewrite the history, each on a lesson that has an entry.
struct Change {
    const char* name;
    std::function<ScoreOutcome(ScoreFile&)> run;
};

std::vector<Change> changes() {
    return {
        {"append",
         [](ScoreFile& scores) {
             ScoreKey key = scoreKeyFor(0, "lesson1");
             key.speed = 150;
             key.accuracy = 99;
             return scores.AppendScore(key);
         }},
        {"clear", [](ScoreFile& scores) { return scores.ClearScores(scoreKeyFor(0, "lesson1")); }}};
}

class ScoreFileFaultTest : public ::testing::Test {
protected:
    HistoryDir dir;
    FaultFileSystem files;
    ScoreFile scores{files, dir.path()};
    const Bytes before =
        entryBytes(0, "lesson1", {{120, 90}, {130, 95}}) + entryBytes(1, "set", {{60, 70}});

    void SetUp() override { dir.writeScore(before); }
};

TEST_F(ScoreFileFaultTest, ADiskFullWhileWritingTheCopyKeepsTheHistory) {
    for (const Change& change : changes()) {
        // The cleared copy is 19 bytes long, so even its last byte does not fit.
        for (std::size_t fits : {0u, 1u, 10u, 18u}) {
            SCOPED_TRACE(std::string(change.name) + ", disk full after " + std::to_string(fits));
            files.diskFullAfter(fits);
            const ScoreOutcome outcome = change.run(scores);
            files.restore();
            EXPECT_EQ(outcome.result, 0);
            EXPECT_EQ(outcome.messages, kCantOpen);
            EXPECT_EQ(dir.scoreBytes(), before);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

TEST_F(ScoreFileFaultTest, AFailedReplaceIsReportedNotPassedOffAsSuccess) {
    files.fail(FileOp::Replace);
    for (const Change& change : changes()) {
        SCOPED_TRACE(change.name);
        const ScoreOutcome outcome = change.run(scores);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.messages, kCantOpen);
        EXPECT_EQ(dir.scoreBytes(), before);
        EXPECT_FALSE(dir.hasTemp());
    }
}

TEST_F(ScoreFileFaultTest, AFailureStaysAFailureWhenTheScratchCopyCannotBeRemoved) {
    files.fail(FileOp::Replace);
    files.fail(FileOp::Remove);
    const ScoreOutcome outcome = changes()[0].run(scores);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.messages, kCantOpen);
    EXPECT_EQ(dir.scoreBytes(), before);
}

TEST_F(ScoreFileFaultTest, AnUnreadableHistoryWritesNothing) {
    files.fail(FileOp::ReadOrCreate);
    for (const Change& change : changes()) {
        EXPECT_EQ(change.run(scores).messages, kCantOpen);
    }
    EXPECT_EQ(files.calls(FileOp::WriteFile), 0);
    EXPECT_EQ(dir.scoreBytes(), before);
}

// The power goes off after each step of a change in turn: afterwards score.dat holds either the
// whole old history or the whole new one, and the next run works normally.
TEST_F(ScoreFileFaultTest, PowerLossAfterAnyStepLeavesAWholeHistory) {
    for (const Change& change : changes()) {
        dir.writeScore(before);
        ASSERT_EQ(change.run(scores).result, 1);
        const Bytes after = dir.scoreBytes();
        ASSERT_NE(after, before);

        for (FileOp step : {FileOp::ReadOrCreate, FileOp::WriteFile, FileOp::Replace}) {
            SCOPED_TRACE(std::string(change.name) + ", step " +
                         std::to_string(static_cast<int>(step)));
            dir.writeScore(before);
            files.powerLossAfter(step);
            const ScoreOutcome outcome = change.run(scores);
            files.restore();
            const bool replaced = step == FileOp::Replace;
            EXPECT_EQ(outcome.result, replaced ? 1 : 0);
            EXPECT_EQ(dir.scoreBytes(), replaced ? after : before);

            ScoreFile restarted(files, dir.path());
            EXPECT_EQ(change.run(restarted).result, 1);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

TEST_F(ScoreFileFaultTest, ReadingNeverWrites) {
    scores.ReadScores(scoreKeyFor(0, "lesson1"));
    scores.ReadScores(scoreKeyFor(0, "missing"));
    EXPECT_EQ(files.calls(FileOp::ReadOrCreate), 2);
    EXPECT_EQ(files.calls(FileOp::WriteFile), 0);
    EXPECT_EQ(files.calls(FileOp::Replace), 0);
    EXPECT_EQ(files.calls(FileOp::Remove), 0);
    EXPECT_EQ(dir.scoreBytes(), before);
}

}  // namespace
}  // namespace kestrum
