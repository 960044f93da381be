#include "progress/attempt_store.h"

#include "history/history_test_dir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <optional>

using namespace kestrum;
using kestrum::testing::fileBytes;
using kestrum::testing::HistoryDir;

namespace {

// The SQL driver is a plug-in, which Qt loads only with an application object.
class QtApplication : public ::testing::Environment {
    void SetUp() override { app_.emplace(argc_, argv_); }
    void TearDown() override { app_.reset(); }
    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    std::optional<QCoreApplication> app_;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtApplication);

Attempt sample(const char* lesson, std::vector<KeyTally> stats = {}) {
    return {0, "2026-12-01T09:00:00Z", 1, lesson, 123, 95, 61000, 120, 6, std::move(stats)};
}

}  // namespace

TEST(AttemptStore, AttemptAndItsKeyStatisticsRoundTrip) {
    HistoryDir dir;
    const Attempt first = sample("さくら", {{"a", 30, 2}, {"f", 12, 0}});
    AttemptStore(AttemptStore::fileIn(dir.path())).record(first);
    AttemptStore(AttemptStore::fileIn(dir.path())).record(sample("lesson1", {{"a", 5, 1}}));
    AttemptStore reopened(AttemptStore::fileIn(dir.path()));
    const std::vector<Attempt> all = reopened.attempts();
    ASSERT_EQ(all.size(), 2u);
    Attempt expected = first;
    expected.id = all[0].id;
    expected.key_stats.clear();  // read per lesson or over the newest attempts, below
    EXPECT_EQ(all[0], expected);
    EXPECT_EQ(all[1].lesson, "lesson1");
    EXPECT_EQ(reopened.lessonTotals({1, "さくら"}), first.key_stats);
    EXPECT_EQ(reopened.recentTotals(1), (std::vector<KeyTally>{{"a", 5, 1}}));
    EXPECT_EQ(reopened.recentTotals(2), (std::vector<KeyTally>{{"a", 35, 3}, {"f", 12, 0}}));
    EXPECT_TRUE(reopened.pendingMessages().empty());
}

// A damaged file is kept, byte for byte, under a new name, and the store starts afresh. (A store
// that cannot work at all is in tests/ui/application_test.cpp.)
TEST(AttemptStore, DamagedFileIsSetAside) {
    HistoryDir dir;
    const std::string damaged =
        std::string("SQLite format 3\0garbage", 23) + std::string(2000, 'x');
    std::ofstream(AttemptStore::fileIn(dir.path())) << damaged;
    AttemptStore store(AttemptStore::fileIn(dir.path()));
    EXPECT_GT(store.record(sample("x")), 0);
    EXPECT_EQ(fileBytes(dir.path() / "kestrum.sqlite3.broken-1"), damaged);
    const Messages messages = store.pendingMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("kestrum.sqlite3.broken-1"), std::string::npos);
    EXPECT_EQ(store.attempts().size(), 1u);
}
