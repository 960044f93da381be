// The history survives what the disk and other programs do to it: every failed change leaves
// the earlier score.dat byte for byte, says so, and the next change works once the fault is gone.
#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "support/fault_file_system.h"

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
const Bytes kBefore =
    entryBytes(1, "set", {{60, 70}}) + entryBytes(0, "lesson1", {{120, 90}, {130, 95}});

ScoreKey lesson1Attempt() {
    ScoreKey key = scoreKeyFor(0, "lesson1");
    key.speed = 150;
    key.accuracy = 99;
    return key;
}

struct Change {
    const char* name;
    std::function<ScoreOutcome(ScoreFile&)> run;
    Bytes after;  // what it makes of kBefore
};

const Change kChanges[] = {
    {"append", [](ScoreFile& scores) { return scores.AppendScore(lesson1Attempt()); },
     entryBytes(1, "set", {{60, 70}}) +
         entryBytes(0, "lesson1", {{120, 90}, {130, 95}, {150, 99}})},
    {"clear", [](ScoreFile& scores) { return scores.ClearScores(scoreKeyFor(0, "lesson1")); },
     entryBytes(1, "set", {{60, 70}}) + entryBytes(0, "lesson1", {})}};

class ScoreFileReliabilityTest : public ::testing::Test {
protected:
    HistoryDir dir;
    FaultFileSystem files;
    ScoreFile scores{files, dir.path()};

    void SetUp() override { dir.writeScore(kBefore); }
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
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(change.name) + ": " + fault.name);
            dir.writeScore(kBefore);
            fault.arm();
            const int writes = files.calls(FileOp::WriteFile);
            const ScoreOutcome failed = change.run(scores);
            EXPECT_EQ(failed.result, 0);
            EXPECT_EQ(failed.messages, kCantOpen);
            EXPECT_EQ(dir.scoreBytes(), kBefore);
            EXPECT_EQ(files.calls(FileOp::WriteFile) > writes, fault.reachesTheCopy);
            EXPECT_EQ(dir.hasTemp(), fault.leavesTheCopy);
            files.restore();
            const ScoreOutcome retried = change.run(scores);
            EXPECT_EQ(retried.result, 1);
            EXPECT_TRUE(retried.messages.empty());
            EXPECT_EQ(dir.scoreBytes(), change.after);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
}

// A scratch copy left by an earlier crash is in the way; the power then goes off after each step
// of the change in turn. score.dat holds the whole old or the whole new history, and the next
// run serves it and changes it normally.
TEST_F(ScoreFileReliabilityTest, PowerLossAfterEachStepOverAStaleScratchCopy) {
    for (const Change& change : kChanges) {
        for (const FileOp step :
             {FileOp::ReadOrCreate, FileOp::Remove, FileOp::WriteFile, FileOp::Replace}) {
            SCOPED_TRACE(std::string(change.name) + ", power lost after step " +
                         std::to_string(static_cast<int>(step)));
            dir.writeScore(kBefore);
            std::ofstream(dir.path() / "temp.tmp", std::ios::binary) << "\x07torn";
            files.powerLossAfter(step);
            const ScoreOutcome outcome = change.run(scores);
            files.restore();
            const bool replaced = step == FileOp::Replace;
            EXPECT_EQ(outcome.result, replaced ? 1 : 0);
            EXPECT_EQ(dir.scoreBytes(), replaced ? change.after : kBefore);

            ScoreFile restarted(files, dir.path());
            EXPECT_EQ(restarted.ReadScores(scoreKeyFor(1, "set")).count, 1);
            EXPECT_EQ(change.run(restarted).result, 1);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
    // A crash may stop the copy after any byte: the history in use stays the old one.
    const Change& append = kChanges[0];
    for (std::size_t torn = 0; torn < append.after.size(); ++torn) {
        SCOPED_TRACE("copy torn after " + std::to_string(torn) + " bytes");
        dir.writeScore(kBefore);
        std::ofstream(dir.path() / "temp.tmp", std::ios::binary) << append.after.substr(0, torn);
        EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 2);
        EXPECT_EQ(append.run(scores).result, 1);
        EXPECT_EQ(dir.scoreBytes(), append.after);
    }
}

// temp.tmp as a link: writing through it would empty its target (score.dat itself, or anything
// else), and renaming the link would leave score.dat pointing at nothing.
TEST_F(ScoreFileReliabilityTest, AScratchLinkCannotRedirectTheWrite) {
    const std::filesystem::path temp = dir.path() / "temp.tmp";
    std::filesystem::create_symlink("score.dat", temp);
    ASSERT_EQ(kChanges[0].run(scores).result, 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.score())));
    EXPECT_EQ(dir.scoreBytes(), kChanges[0].after);

    HistoryDir elsewhere;
    const std::filesystem::path outside = elsewhere.path() / "notes.txt";
    std::ofstream(outside) << "keep me";
    std::filesystem::create_symlink(outside, temp);
    ASSERT_EQ(kChanges[1].run(scores).result, 1);
    std::ifstream notes(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "keep me");
    EXPECT_FALSE(dir.hasTemp());
}

// A history kept elsewhere through a link is read through it; the new history then takes the
// link's place and the linked file keeps its bytes. Reading alone never writes.
TEST_F(ScoreFileReliabilityTest, ALinkedHistoryIsReadThroughTheLinkAndNeverWrittenThroughIt) {
    HistoryDir elsewhere;
    const std::filesystem::path linked = elsewhere.path() / "score.dat";
    std::filesystem::rename(dir.score(), linked);
    std::filesystem::create_symlink(linked, dir.score());
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 2);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "missing")).count, 0);
    EXPECT_EQ(files.calls(FileOp::WriteFile) + files.calls(FileOp::Replace), 0);
    ASSERT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson1")).count, 3);
    EXPECT_EQ(elsewhere.scoreBytes(), kBefore);
}

// Another program changes score.dat between two calls: each call reads the file as it is then.
TEST_F(ScoreFileReliabilityTest, AFileThatChangesBetweenCallsIsReadAfresh) {
    dir.writeScore(kBefore + entryBytes(0, "lesson2", {{80, 81}}));
    ASSERT_EQ(scores.AppendScore(lesson1Attempt()).result, 1);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(0, "lesson2")).count, 1);
    const Bytes shrunk = kBefore.substr(0, 12);  // inside the name of lesson1
    dir.writeScore(shrunk);
    EXPECT_EQ(scores.AppendScore(lesson1Attempt()).messages,
              Messages{plainMessage("error : unexpected EOF")});
    EXPECT_EQ(dir.scoreBytes(), shrunk);
}

}  // namespace
}  // namespace kestrum
