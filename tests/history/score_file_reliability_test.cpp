// The history survives what the disk and other programs do to it: every failed change leaves
// the earlier score.dat byte for byte, says so, and the next change works once the fault is gone.
#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"
#include "support/hostile_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

namespace kestrum {
namespace {

using testing::entryBytes;
using testing::HistoryDir;
using FileOp = FaultFileSystem::FileOp;

const Messages kCantOpen{plainMessage("Can't open file.")};

ScoreKey lesson1Attempt() {
    ScoreKey key = scoreKeyFor(0, "lesson1");
    key.speed = 150;
    key.accuracy = 99;
    return key;
}

struct Change {
    const char* name;
    std::function<ScoreOutcome(ScoreFile&)> run;
};

const Change kChanges[] = {
    {"append", [](ScoreFile& scores) { return scores.AppendScore(lesson1Attempt()); }},
    {"clear", [](ScoreFile& scores) { return scores.ClearScores(scoreKeyFor(0, "lesson1")); }}};

class ScoreFileReliabilityTest : public ::testing::Test {
protected:
    HistoryDir dir;
    FaultFileSystem files;
    ScoreFile scores{files, dir.path()};
    const Bytes before =
        entryBytes(1, "set", {{60, 70}}) + entryBytes(0, "lesson1", {{120, 90}, {130, 95}});

    void SetUp() override { dir.writeScore(before); }

    // What a change makes of `before` when nothing goes wrong.
    Bytes cleanResult(const Change& change) {
        HistoryDir clean;
        clean.writeScore(before);
        DiskFileSystem disk;
        ScoreFile cleanScores(disk, clean.path());
        EXPECT_EQ(change.run(cleanScores).result, 1);
        return clean.scoreBytes();
    }

    void expectUntouched(const ScoreOutcome& outcome) {
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.messages, kCantOpen);
        EXPECT_EQ(dir.scoreBytes(), before);
    }
};

// Each fault makes the change fail with "Can't open file." and leaves score.dat byte for byte;
// the disk-full cases cut the copy before its first byte, inside a name and before its last
// byte. Once the fault is gone the same change writes what a fault-free run writes.
TEST_F(ScoreFileReliabilityTest, TheNextChangeWorksOnceAFaultIsGone) {
    struct Fault {
        const char* name;
        std::function<void()> arm;
        bool reachesTheCopy;
        bool leavesTheCopy = false;  // only when its removal is refused too
    };
    const Fault faults[] = {
        {"disk full before the first byte", [&] { files.diskFullAfter(0); }, true},
        {"disk full after one byte", [&] { files.diskFullAfter(1); }, true},
        {"disk full inside a name", [&] { files.diskFullAfter(13); }, true},
        {"disk full before the last byte", [&] { files.diskFullAfter(18); }, true},
        {"scratch copy cannot be created", [&] { files.fail(FileOp::WriteFile); }, true},
        {"rename refused", [&] { files.fail(FileOp::Replace); }, true},
        {"rename and removal refused",
         [&] {
             files.fail(FileOp::Replace);
             files.fail(FileOp::Remove);
         },
         true, true},
        {"history unreadable", [&] { files.fail(FileOp::ReadOrCreate); }, false},
    };
    for (const Change& change : kChanges) {
        const Bytes expected = cleanResult(change);
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(change.name) + ": " + fault.name);
            dir.writeScore(before);
            fault.arm();
            const int writes = files.calls(FileOp::WriteFile);
            expectUntouched(change.run(scores));
            EXPECT_EQ(files.calls(FileOp::WriteFile) > writes, fault.reachesTheCopy);
            EXPECT_EQ(dir.hasTemp(), fault.leavesTheCopy);
            files.restore();
            const ScoreOutcome retried = change.run(scores);
            EXPECT_EQ(retried.result, 1);
            EXPECT_TRUE(retried.messages.empty());
            EXPECT_EQ(dir.scoreBytes(), expected);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

// A scratch copy left by an earlier crash is in the way; the power then goes off after each step
// of the change in turn. score.dat holds the whole old or the whole new history, and the next
// run serves it and changes it normally.
TEST_F(ScoreFileReliabilityTest, PowerLossAfterEachStepOverAStaleScratchCopy) {
    const FileOp steps[] = {FileOp::ReadOrCreate, FileOp::Remove, FileOp::WriteFile,
                            FileOp::Replace};
    for (const Change& change : kChanges) {
        const Bytes after = cleanResult(change);
        for (const FileOp step : steps) {
            SCOPED_TRACE(std::string(change.name) + ", power lost after step " +
                         std::to_string(static_cast<int>(step)));
            dir.writeScore(before);
            std::ofstream(dir.path() / "temp.tmp", std::ios::binary) << "\x07torn";
            files.powerLossAfter(step);
            const ScoreOutcome outcome = change.run(scores);
            files.restore();
            const bool replaced = step == FileOp::Replace;
            EXPECT_EQ(outcome.result, replaced ? 1 : 0);
            EXPECT_EQ(dir.scoreBytes(), replaced ? after : before);

            ScoreFile restarted(files, dir.path());
            EXPECT_EQ(restarted.ReadScores(scoreKeyFor(1, "set")).count, 1);
            EXPECT_EQ(change.run(restarted).result, 1);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

// A crash may stop the copy after any byte. Whatever part of it is left, the history in use is
// the old one, and the next change replaces the torn copy.
TEST_F(ScoreFileReliabilityTest, ACopyTornAtAnyByteIsNeverTakenForTheHistory) {
    const Change& append = kChanges[0];
    const Bytes after = cleanResult(append);
    for (std::size_t torn = 0; torn < after.size(); ++torn) {
        SCOPED_TRACE("copy torn after " + std::to_string(torn) + " bytes");
        dir.writeScore(before);
        std::ofstream(dir.path() / "temp.tmp", std::ios::binary) << after.substr(0, torn);
        const ScoreReadOutcome read = scores.ReadScores(scoreKeyFor(0, "lesson1"));
        EXPECT_EQ(read.count, 2);
        EXPECT_EQ(append.run(scores).result, 1);
        EXPECT_EQ(dir.scoreBytes(), after);
        EXPECT_FALSE(dir.hasTemp());
    }
}

// temp.tmp as a link: writing through it would empty its target (score.dat itself, or anything
// else), and renaming the link would leave score.dat pointing at nothing.
TEST_F(ScoreFileReliabilityTest, AScratchLinkCannotRedirectTheWrite) {
    const std::filesystem::path temp = dir.path() / "temp.tmp";
    std::filesystem::create_symlink("score.dat", temp);
    const Bytes expected = cleanResult(kChanges[0]);
    ASSERT_EQ(kChanges[0].run(scores).result, 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.score())));
    EXPECT_EQ(dir.scoreBytes(), expected);

    HistoryDir elsewhere;
    const std::filesystem::path outside = elsewhere.path() / "notes.txt";
    std::ofstream(outside) << "keep me";
    std::filesystem::create_symlink(outside, temp);
    ASSERT_EQ(kChanges[1].run(scores).result, 1);
    std::ifstream notes(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "keep me");
    EXPECT_FALSE(dir.hasTemp());
}

// In place of score.dat: something that is not a file. Nothing is created or changed through
// it, no call hangs, and once it is gone the history starts afresh.
TEST_F(ScoreFileReliabilityTest, AScoreFileThatIsNotAFileIsReportedAndLeftAlone) {
    HistoryDir elsewhere;
    const std::filesystem::path missingTarget = elsewhere.path() / "moved.dat";
    const std::pair<const char*, std::function<void()>> impostors[] = {
        {"a directory", [&] { std::filesystem::create_directory(dir.score()); }},
        {"a dangling link", [&] { std::filesystem::create_symlink(missingTarget, dir.score()); }},
        {"a named pipe", [&] { testing::makeFifo(dir.score()); }},
        {"a link to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", dir.score()); }},
    };
    for (const auto& [what, make] : impostors) {
        SCOPED_TRACE(what);
        std::filesystem::remove(dir.score());
        make();
        const auto status = std::filesystem::symlink_status(dir.score()).type();
        testing::FifoHangGuard guard(dir.score());
        EXPECT_EQ(scores.AppendScore(lesson1Attempt()).messages, kCantOpen);
        EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).messages, kCantOpen);
        EXPECT_EQ(scores.ClearScores(scoreKeyFor(0, "lesson1")).messages, kCantOpen);
        EXPECT_FALSE(guard.stop()) << "a call hung";
        EXPECT_EQ(std::filesystem::symlink_status(dir.score()).type(), status);
        EXPECT_FALSE(std::filesystem::exists(missingTarget));
        EXPECT_FALSE(dir.hasTemp());

        std::filesystem::remove(dir.score());
        EXPECT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);
        EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 1);
    }
}

// A history kept elsewhere through a link is read through it; the new history then takes the
// link's place and the linked file keeps its bytes.
TEST_F(ScoreFileReliabilityTest, ALinkedHistoryIsReadThroughTheLinkAndNeverWrittenThroughIt) {
    HistoryDir elsewhere;
    const std::filesystem::path linked = elsewhere.path() / "score.dat";
    std::filesystem::rename(dir.score(), linked);
    std::filesystem::create_symlink(linked, dir.score());
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 2);
    ASSERT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 3);
    EXPECT_EQ(elsewhere.scoreBytes(), before);
}

// Another program, or a restore from a backup, changes score.dat between two calls: each call
// reads the file as it is then.
TEST_F(ScoreFileReliabilityTest, AFileThatChangesBetweenCallsIsReadAfresh) {
    ASSERT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);

    const Bytes grown = dir.scoreBytes() + entryBytes(0, "lesson2", {{80, 81}});
    dir.writeScore(grown);
    ASSERT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson2")).count, 1);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 4);

    const Bytes shrunk = dir.scoreBytes().substr(0, 12);  // inside the name of lesson1
    dir.writeScore(shrunk);
    const ScoreOutcome refused = scores.AppendScore(lesson1Attempt());
    EXPECT_EQ(refused.messages, Messages{plainMessage("error : unexpected EOF")});
    EXPECT_EQ(dir.scoreBytes(), shrunk);

    dir.writeScore({});
    ASSERT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", {{150, 99}}));
}

TEST_F(ScoreFileReliabilityTest, ReadingNeverWrites) {
    scores.ReadScores(scoreKeyFor(0, "lesson1"));
    scores.ReadScores(scoreKeyFor(0, "missing"));
    EXPECT_EQ(
        files.calls(FileOp::WriteFile) + files.calls(FileOp::Replace) + files.calls(FileOp::Remove),
        0);
    EXPECT_EQ(dir.scoreBytes(), before);
}

TEST_F(ScoreFileReliabilityTest, AReadOnlyDirectoryKeepsTheHistory) {
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const bool enforced = testing::permissionsStopWrites(dir.path());
    if (enforced) {
        for (const Change& change : kChanges)
            expectUntouched(change.run(scores));
        EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 2);
    }
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    if (!enforced)
        GTEST_SKIP() << "permission bits do not stop this user (root); the fault "
                        "layer covers an uncreatable scratch copy instead";
    EXPECT_EQ(kChanges[0].run(scores).result, 1);
    EXPECT_FALSE(dir.hasTemp());
}

TEST_F(ScoreFileReliabilityTest, AHistoryTooLargeToBeOursIsRefusedUntouched) {
    const std::uintmax_t size = 64u * 1024u * 1024u + 1u;
    std::filesystem::resize_file(dir.score(), size);
    for (const Change& change : kChanges)
        EXPECT_EQ(change.run(scores).messages, kCantOpen);
    EXPECT_EQ(std::filesystem::file_size(dir.score()), size);
    Bytes start(before.size(), '\0');
    std::ifstream(dir.score(), std::ios::binary).read(start.data(), std::ssize(start));
    EXPECT_EQ(start, before);
    EXPECT_FALSE(dir.hasTemp());
}

}  // namespace
}  // namespace kestrum
