// Every file the learner keeps is replaced through a scratch copy beside it: the history, the
// settings and a problem set, each whatever the disk does to the change.
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
     }},
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

struct Fault {
    std::function<void(FaultFileSystem&, std::size_t)> arm;  // given the new content's size
    bool changed = false;                                    // the change went through
    bool leavesCopy = false;  // a scratch copy is left until the next change
    int linked = 0;  // the scratch name is a link, not a torn copy: 1 to another file, 2 to itself
};

// A copy torn by an earlier crash lies in the scratch copy's place. The disk fills up before the
// copy's first byte, after one, halfway and before its last; the power goes off after each step.
const Fault kFaults[] = {
    {[](auto& f, auto) { f.diskFullAfter(0); }},
    {[](auto& f, auto) { f.diskFullAfter(1); }},
    {[](auto& f, auto size) { f.diskFullAfter(size / 2); }},
    {[](auto& f, auto size) { f.diskFullAfter(size - 1); }},
    {[](auto& f, auto) { f.fail(FileOp::WriteFile); }},  // a read-only folder
    {[](auto& f, auto) { f.fail(FileOp::Replace); }},
    {[](auto& f, auto) { f.fail(FileOp::Replace), f.fail(FileOp::Remove); }, false, true},
    {[](auto& f, auto) { f.powerLossAfter(FileOp::Remove); }},
    {[](auto& f, auto) { f.powerLossAfter(FileOp::WriteFile); }, false, true},
    {[](auto& f, auto) { f.powerLossAfter(FileOp::Replace); }, true},
    {[](auto&, auto) {}, true, false, 1},
    {[](auto&, auto) {}, true, false, 2},
};

// The file holds the whole old or new content with its mode, a failure is reported as one, the
// next change works once the fault is gone, and a scratch link cannot send the write elsewhere.
TEST(SafeWrites, EachFaultLeavesTheOldFileOrTheNewAndTheNextChangeWorks) {
    testing::HistoryDir dir;
    FaultFileSystem files;
    const auto put = [&](const fs::path& file, const Bytes& bytes) {
        fs::create_directories((dir.path() / file).parent_path());
        std::ofstream(dir.path() / file, std::ios::binary) << bytes;
    };
    const auto onDisk = [&](const Writer& w) { return testing::fileBytes(dir.path() / w.file); };
    const auto scratchLeft = [&](const Writer& w) {
        return fs::exists(fs::symlink_status(dir.path() / w.scratch));
    };
    const auto change = [&](const Writer& w) { return w.change(files, dir.path()); };
    testing::HistoryDir elsewhere;
    const fs::path notes = elsewhere.path() / "notes.txt";
    std::ofstream(notes) << "keep me";
    for (const Writer& writer : kWriters) {
        for (const Fault& fault : kFaults) {
            const std::size_t at = static_cast<std::size_t>(&fault - kFaults);
            SCOPED_TRACE(writer.file + (" fault " + std::to_string(at)));
            put(writer.file, writer.before);
            fs::permissions(dir.path() / writer.file, fs::perms(0600));
            if (fault.linked)
                fs::create_symlink(fault.linked == 1 ? notes : dir.path() / writer.file,
                                   dir.path() / writer.scratch);
            if (!fault.linked)
                put(writer.scratch, writer.after.substr(0, at * writer.after.size() / 12));
            fault.arm(files, writer.after.size());
            EXPECT_EQ(change(writer), fault.changed);
            files.restore();
            EXPECT_EQ(onDisk(writer), fault.changed ? writer.after : writer.before);
            EXPECT_EQ(scratchLeft(writer), fault.leavesCopy);
            EXPECT_TRUE(fault.changed || change(writer));
            EXPECT_EQ(onDisk(writer), writer.after);
            EXPECT_FALSE(scratchLeft(writer));
            EXPECT_EQ(fs::status(dir.path() / writer.file).permissions(), fs::perms(0600));
            EXPECT_EQ(testing::fileBytes(notes), "keep me");
        }
    }
}

}  // namespace
}  // namespace kestrum
