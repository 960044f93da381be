// The history's byte layout, and what the disk and other programs do to it: every failed change
// leaves score.dat byte for byte, says so, and the next change works once the fault is gone.
#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrum {
namespace {

using testing::attemptOf;
using testing::entryBytes;
using testing::fileBytes;
using testing::HistoryDir;
using testing::numberedAttempts;
using FileOp = FaultFileSystem::FileOp;

const Messages kEof{plainMessage("error : unexpected EOF")};
const Messages kCantOpen{plainMessage("Can't open file.")};

class ScoreFileTest : public ::testing::Test {
protected:
    HistoryDir dir;
    FaultFileSystem files;
    ScoreFile scores{files, dir.path()};

    std::vector<testing::Attempt> attempts(const ScoreKey& key) {
        const ScoreReadOutcome read = scores.ReadScores(key);
        EXPECT_EQ(read.result, 1);
        std::vector<testing::Attempt> out;
        for (int i = 0; i < read.count; ++i)
            out.push_back({read.speeds[i], read.accuracies[i]});
        return out;
    }
};

TEST_F(ScoreFileTest, AttemptsAccumulateInTheDocumentedLayout) {
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).result, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.score()));
    EXPECT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 300, 95)).result, 1);
    EXPECT_EQ(dir.scoreBytes(), Bytes("\x00\x07lesson1\x01\x01\x2C\x5F", 13));
    scores.AppendScore(attemptOf(0, "lesson1", 300 + 65536, 256 + 7));  // kept modulo a byte pair
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", {{300, 95}, {300, 7}}));
    EXPECT_EQ(attempts(scoreKeyFor(0, "lesson1")),
              (std::vector<testing::Attempt>{{300, 95}, {300, 7}}));
    // A name is stored with its length in one byte: 255 at most.
    dir.writeScore("");
    ASSERT_EQ(scores.AppendScore(attemptOf(1, Bytes(255, 'n'), 80, 85)).result, 1);
    const ScoreKey tooLong = attemptOf(1, Bytes(256, 'n'), 80, 85);
    EXPECT_EQ(scores.AppendScore(tooLong).result + scores.ClearScores(tooLong).result, 0);
    EXPECT_EQ(dir.scoreBytes(), entryBytes(1, Bytes(255, 'n'), {{80, 85}}));
}

TEST_F(ScoreFileTest, AChangeTouchesOnlyTheFirstEntryOfItsKindAndExactName) {
    const Bytes a = entryBytes(0, "lesson1", {{120, 90}});
    const Bytes c = entryBytes(1, "\x93\xfa\x96\x7b", {{50, 70}, {60, 80}});  // a Japanese set name
    const Bytes twin = entryBytes(0, "lesson2", {{7, 7}});
    dir.writeScore(a + entryBytes(0, "lesson2", {{100, 99}, {101, 98}}) + c + twin);

    EXPECT_EQ(scores.ClearScores(scoreKeyFor(0, "lesson2")).result, 1);
    EXPECT_EQ(dir.scoreBytes(), a + entryBytes(0, "lesson2", {}) + c + twin);
    EXPECT_TRUE(attempts(scoreKeyFor(0, "lesson2")).empty());
    scores.AppendScore(attemptOf(0, "lesson2", 130, 97));
    for (const char* other : {"Lesson2", "lesson22", "lesson"})
        scores.AppendScore(attemptOf(0, other, 1, 2));
    scores.AppendScore(attemptOf(1, "lesson2", 3, 4));
    EXPECT_EQ(dir.scoreBytes(),
              a + entryBytes(0, "lesson2", {{130, 97}}) + c + twin +
                  entryBytes(0, "Lesson2", {{1, 2}}) + entryBytes(0, "lesson22", {{1, 2}}) +
                  entryBytes(0, "lesson", {{1, 2}}) + entryBytes(1, "lesson2", {{3, 4}}));
    EXPECT_EQ(scores.ClearScores(scoreKeyFor(0, "lesson5")).result, 0);
}

TEST_F(ScoreFileTest, AnEntryHoldsTheNewestHundredAttempts) {
    const Bytes after = entryBytes(0, "lesson2", {{1, 1}});
    dir.writeScore(entryBytes(0, "lesson1", numberedAttempts(0, 150)) + after);
    EXPECT_EQ(attempts(scoreKeyFor(0, "lesson1")), numberedAttempts(50, 100));
    ASSERT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 7, 8)).result, 1);
    std::vector<testing::Attempt> expected = numberedAttempts(51, 99);
    expected.push_back({7, 8});
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", expected) + after);
}

// A cut anywhere inside an entry (length, name, count, attempts) is reported and never changes
// the file; an entry before the cut is still served, and its change keeps the tail.
TEST_F(ScoreFileTest, AFileCutShortInsideAnEntryIsReportedAndLeftAlone) {
    const Bytes whole = entryBytes(0, "lesson1", {{120, 90}});
    const Bytes cut = entryBytes(1, "set", {{1, 2}, {3, 4}});
    for (std::size_t length = 1; length < cut.size(); ++length) {
        const Bytes before = whole + cut.substr(0, length);
        dir.writeScore(before);
        for (const ScoreKey& key : {attemptOf(1, "set", 5, 6), attemptOf(0, "lesson9", 5, 6)}) {
            EXPECT_EQ(scores.AppendScore(key).messages, kEof) << length;
            EXPECT_EQ(scores.ReadScores(key).messages, kEof) << length;
            EXPECT_EQ(scores.ClearScores(key).messages, kEof) << length;
            EXPECT_EQ(dir.scoreBytes(), before) << length;
        }
    }
    EXPECT_EQ(attempts(scoreKeyFor(0, "lesson1")), (std::vector<testing::Attempt>{{120, 90}}));
    EXPECT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 130, 91)).result, 1);
    EXPECT_EQ(dir.scoreBytes(),
              entryBytes(0, "lesson1", {{120, 90}, {130, 91}}) + cut.substr(0, cut.size() - 1));
}

const Bytes kBefore =
    entryBytes(1, "set", {{60, 70}}) + entryBytes(0, "lesson1", {{120, 90}, {130, 95}});

struct Change {
    const char* name;
    std::function<ScoreOutcome(ScoreFile&)> run;
    Bytes after;  // what it makes of kBefore
};

const Change kChanges[] = {
    {"append", [](ScoreFile& s) { return s.AppendScore(attemptOf(0, "lesson1", 150, 99)); },
     entryBytes(1, "set", {{60, 70}}) +
         entryBytes(0, "lesson1", {{120, 90}, {130, 95}, {150, 99}})},
    {"clear", [](ScoreFile& s) { return s.ClearScores(scoreKeyFor(0, "lesson1")); },
     entryBytes(1, "set", {{60, 70}}) + entryBytes(0, "lesson1", {})}};

// Each fault fails the change with "Can't open file." and leaves score.dat byte for byte (the
// disk-full cases cut the copy before its first byte, after one, inside a name and before its
// last byte). Once the fault is gone the same change writes what a fault-free run writes.
TEST_F(ScoreFileTest, TheNextChangeWorksOnceAFaultIsGone) {
    const std::function<void(FaultFileSystem&)> faults[] = {
        [](auto& f) { f.diskFullAfter(0); },
        [](auto& f) { f.diskFullAfter(1); },
        [](auto& f) { f.diskFullAfter(13); },
        [](auto& f) { f.diskFullAfter(18); },
        [](auto& f) { f.fail(FileOp::WriteFile); },  // a read-only directory
        [](auto& f) { f.fail(FileOp::Replace); },
        [](auto& f) { f.fail(FileOp::ReadOrCreate); },
        [](auto& f) {
            f.fail(FileOp::Replace);
            f.fail(FileOp::Remove);  // the only fault that leaves the copy behind
        },
    };
    for (const Change& change : kChanges) {
        for (const auto& arm : faults) {
            SCOPED_TRACE(std::string(change.name) + " with fault " + std::to_string(&arm - faults));
            dir.writeScore(kBefore);
            arm(files);
            const ScoreOutcome failed = change.run(scores);
            EXPECT_EQ(std::pair(failed.result, failed.messages), std::pair(0, kCantOpen));
            EXPECT_EQ(dir.scoreBytes(), kBefore);
            EXPECT_EQ(dir.hasTemp(), &arm == std::end(faults) - 1);
            files.restore();
            EXPECT_EQ(change.run(scores).result, 1);
            EXPECT_EQ(dir.scoreBytes(), change.after);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

// A scratch copy torn by an earlier crash is in the way (after a different byte each time); the
// power then goes off after each step of the change in turn. score.dat holds the whole old or the
// whole new history, and the next run serves it and changes it normally.
TEST_F(ScoreFileTest, PowerLossAfterEachStepOverAStaleScratchCopy) {
    for (const Change& change : kChanges) {
        for (const FileOp step :
             {FileOp::ReadOrCreate, FileOp::Remove, FileOp::WriteFile, FileOp::Replace}) {
            const std::size_t torn = change.after.size() / 4 * static_cast<std::size_t>(step);
            SCOPED_TRACE(std::string(change.name) + " " + std::to_string(torn));
            dir.writeScore(kBefore);
            std::ofstream(dir.path() / "temp.tmp", std::ios::binary)
                << change.after.substr(0, torn);
            files.powerLossAfter(step);
            const ScoreOutcome outcome = change.run(scores);
            files.restore();
            const bool replaced = step == FileOp::Replace;
            EXPECT_EQ(outcome.result, replaced ? 1 : 0);
            EXPECT_EQ(dir.scoreBytes(), replaced ? change.after : kBefore);
            ScoreFile restarted(files, dir.path());
            EXPECT_EQ(restarted.ReadScores(scoreKeyFor(1, "set")).count, 1);
            EXPECT_EQ(change.run(restarted).result, 1);
            EXPECT_TRUE(replaced || dir.scoreBytes() == change.after);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

// Links and other programs: a scratch link cannot send the write elsewhere (to score.dat or any
// other file); a history linked from elsewhere is read through the link and replaced beside it;
// a file changed between two calls is read afresh.
TEST_F(ScoreFileTest, LinksAndOtherProgramsNeverRedirectOrSpoilAWrite) {
    dir.writeScore(kBefore);
    const std::filesystem::path temp = dir.path() / "temp.tmp";
    std::filesystem::create_symlink("score.dat", temp);
    ASSERT_EQ(kChanges[0].run(scores).result, 1);
    EXPECT_EQ(dir.scoreBytes(), kChanges[0].after);
    HistoryDir elsewhere;
    const std::filesystem::path notes = elsewhere.path() / "notes.txt";
    std::ofstream(notes) << "keep me";
    std::filesystem::create_symlink(notes, temp);
    ASSERT_EQ(kChanges[1].run(scores).result, 1);
    EXPECT_EQ(fileBytes(notes), "keep me");
    EXPECT_FALSE(dir.hasTemp());

    dir.writeScore(kBefore);
    std::filesystem::rename(dir.score(), elsewhere.score());
    std::filesystem::create_symlink(elsewhere.score(), dir.score());
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 2);
    ASSERT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 150, 99)).result, 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.score())));
    EXPECT_EQ(dir.scoreBytes(), kChanges[0].after);
    EXPECT_EQ(elsewhere.scoreBytes(), kBefore);

    dir.writeScore(kBefore.substr(0, 12));  // another program cut it inside lesson1's name
    EXPECT_EQ(scores.AppendScore(attemptOf(0, "lesson1", 1, 1)).messages, kEof);
    EXPECT_EQ(dir.scoreBytes(), kBefore.substr(0, 12));
}

}  // namespace
}  // namespace kestrum
