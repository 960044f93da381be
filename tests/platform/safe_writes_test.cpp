// Every file the learner keeps is replaced through a scratch copy beside it. Whatever the disk
// does to a change (fills up, refuses a step, loses power after one), the file holds the whole
// old or the whole new content byte for byte, a failure is reported as one, and the next change
// works once the fault is gone.
#include "history/history_test_dir.h"
#include "history/score_file.h"
#include "menu/settings_file.h"
#include "platform/folders.h"
#include "problem_sets/problem_set_library.h"
#include "support/fault_file_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using FileOp = FaultFileSystem::FileOp;
using testing::entryBytes;

struct Writer {
    const char* file;  // in the data folder, and its scratch copy
    const char* scratch;
    Bytes before, after;
    std::function<bool(FaultFileSystem&, const fs::path&)> change;
    bool reads = false;  // reads the file under the same lock first
};

const Bytes kSet = entryBytes(1, "set", {{60, 70}});
const Writer kWriters[] = {
    {"score.dat", "temp.tmp", kSet + entryBytes(0, "lesson1", {{120, 90}}),
     kSet + entryBytes(0, "lesson1", {{120, 90}, {150, 99}}),
     [](auto& files, const auto& dir) {
         const ScoreOutcome added =
             ScoreFile(files, dir).AppendScore(testing::attemptOf(0, "lesson1", 150, 99));
         EXPECT_EQ(added.messages,
                   added.result == 1 ? Messages{} : Messages{plainMessage("Can't open file.")});
         return added.result == 1;
     },
     true},
    {"kestruml.ini", "kestruml.tmp", "0,2,1,0,2,60,3\r\nmy set\r\n", "1,1,0,1,0,5,0\r\nmy set\r\n",
     [](auto& files, const auto& dir) {
         return SaveSettings({1, 1, 0, 1, 0, 5, 0, "my set"}, files, dir);
     }},
    {"tdcs/set.tdc", "tdcs/.set.tmp", "Title=old\r\nAmount=1\r\nText[1]=old\r\nComment[1]=\r\n",
     "Title=new\r\nAmount=1\r\nText[1]=new\r\nComment[1]=\r\n",
     [](auto& files, const auto& dir) {
         DiskFolders folders;
         const LibraryResult saved =
             ProblemSetLibrary(files, folders, dir).save("set", {"new", {{"new", ""}}});
         EXPECT_EQ(saved.ok, saved.messages.empty());
         return saved.ok;
     }},
};

class SafeWrites : public ::testing::Test {
protected:
    void put(const fs::path& file, const Bytes& bytes) const {
        fs::create_directories((dir.path() / file).parent_path());
        std::ofstream(dir.path() / file, std::ios::binary) << bytes;
    }
    Bytes onDisk(const Writer& writer) const {
        return testing::fileBytes(dir.path() / writer.file);
    }
    bool scratchLeft(const Writer& writer) const {
        return fs::exists(fs::symlink_status(dir.path() / writer.scratch));
    }
    bool change(const Writer& writer) { return writer.change(files, dir.path()); }

    testing::HistoryDir dir;
    FaultFileSystem files;
};

// The disk-full cases cut the copy before its first byte, after one, halfway and before its last.
TEST_F(SafeWrites, AFailedChangeLeavesTheFileAndTheNextOneWorks) {
    const std::function<void(FaultFileSystem&, std::size_t)> faults[] = {
        [](auto& f, auto) { f.diskFullAfter(0); },
        [](auto& f, auto) { f.diskFullAfter(1); },
        [](auto& f, auto size) { f.diskFullAfter(size / 2); },
        [](auto& f, auto size) { f.diskFullAfter(size - 1); },
        [](auto& f, auto) { f.fail(FileOp::WriteFile); },  // a read-only folder
        [](auto& f, auto) { f.fail(FileOp::Replace); },
        [](auto& f, auto) { f.fail(FileOp::ReadOrCreate); },  // the only one before any write
        [](auto& f, auto) {
            f.fail(FileOp::Replace);
            f.fail(FileOp::Remove);  // the only fault that leaves the copy behind
        },
    };
    const auto* const unreadable = &faults[6];
    for (const Writer& writer : kWriters) {
        for (const auto& arm : faults) {
            if (&arm == unreadable && !writer.reads) continue;
            SCOPED_TRACE(writer.file + (" fault " + std::to_string(&arm - faults)));
            put(writer.file, writer.before);
            arm(files, writer.after.size());
            EXPECT_FALSE(change(writer));
            files.restore();
            EXPECT_EQ(onDisk(writer), writer.before);
            EXPECT_EQ(scratchLeft(writer), &arm == std::end(faults) - 1);
            EXPECT_TRUE(change(writer));
            EXPECT_EQ(onDisk(writer), writer.after);
            EXPECT_FALSE(scratchLeft(writer));
        }
    }
}

// A copy torn by an earlier crash is in the scratch copy's place (cut after a different byte
// each time); the power then goes off after each step of the change in turn. The restarted
// program changes the file normally.
TEST_F(SafeWrites, PowerLossAfterEachStepOverAStaleScratchCopy) {
    for (const Writer& writer : kWriters) {
        for (const FileOp step :
             {FileOp::ReadOrCreate, FileOp::Remove, FileOp::WriteFile, FileOp::Replace}) {
            if (step == FileOp::ReadOrCreate && !writer.reads) continue;  // only the history reads
            const std::size_t torn = writer.after.size() / 4 * static_cast<std::size_t>(step);
            SCOPED_TRACE(writer.file + (" torn at " + std::to_string(torn)));
            put(writer.file, writer.before);
            put(writer.scratch, writer.after.substr(0, torn));
            files.powerLossAfter(step);
            const bool replaced = step == FileOp::Replace;
            EXPECT_EQ(change(writer), replaced);
            files.restore();
            EXPECT_EQ(onDisk(writer), replaced ? writer.after : writer.before);
            EXPECT_TRUE(replaced || change(writer));
            EXPECT_EQ(onDisk(writer), writer.after);
            EXPECT_FALSE(scratchLeft(writer));
        }
    }
}

// A scratch name that is a link, to the file itself or to any other, cannot send the write
// elsewhere; the replaced file keeps its permission bits.
TEST_F(SafeWrites, AScratchLinkNeverRedirectsTheWriteAndTheModeStays) {
    testing::HistoryDir elsewhere;
    const fs::path notes = elsewhere.path() / "notes.txt";
    std::ofstream(notes) << "keep me";
    for (const Writer& writer : kWriters) {
        for (const fs::path& target : {dir.path() / writer.file, notes}) {
            SCOPED_TRACE(writer.file + (" to " + target.string()));
            put(writer.file, writer.before);
            fs::permissions(dir.path() / writer.file, fs::perms(0600));
            fs::create_symlink(target, dir.path() / writer.scratch);
            EXPECT_TRUE(change(writer));
            EXPECT_EQ(onDisk(writer), writer.after);
            EXPECT_EQ(fs::status(dir.path() / writer.file).permissions(), fs::perms(0600));
            EXPECT_EQ(testing::fileBytes(notes), "keep me");
            EXPECT_FALSE(scratchLeft(writer));
        }
    }
}

}  // namespace
}  // namespace kestrum
