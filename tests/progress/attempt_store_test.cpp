#include "progress/attempt_store.h"

#include "history/history_test_dir.h"
#include "support/other_connection.h"
#include "support/table_file.h"

#include <QCoreApplication>
#include <QSqlError>

#include <gmock/gmock.h>
#include <sys/fsuid.h>

#include <functional>
#include <optional>
#include <regex>

using namespace kestrum;
using kestrum::testing::fileBytes;
using kestrum::testing::HistoryDir;
using kestrum::testing::OtherConnection;
using kestrum::testing::tableRows;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

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

// A case of tests/data/store_faults.tsv set up: the file, perhaps another program holding it
// until it is let go, and how the rest of the condition goes away.
struct Condition {
    std::unique_ptr<OtherConnection> holder;
    std::function<void()> lift = [] {};
    QString driver = QStringLiteral("QSQLITE");
};

Condition prepare(const std::string& name, const std::string& setup, const fs::path& file) {
    Condition condition;
    QStringList statements = QString::fromStdString(setup).split(QStringLiteral(" | "));
    if (statements.front() == QStringLiteral("ours")) {
        AttemptStore(file).record(sample("lesson2", {{"e", 20, 0}}));
        statements.pop_front();
    }
    if (setup.starts_with("bytes:")) {
        std::ofstream(file, std::ios::binary) << setup.substr(6);
    } else if (setup != "-" && !statements.empty()) {
        OtherConnection(file).run(statements);
    }
    if (name.starts_with("busy_")) {
        condition.holder = std::make_unique<OtherConnection>(file);
        condition.holder->run(name == "busy_exclusive"
                                  ? QStringList{QStringLiteral("BEGIN EXCLUSIVE")}
                                  : QStringList{QStringLiteral("BEGIN IMMEDIATE"),
                                                QStringLiteral("DELETE FROM key_stats")});
    } else if (name == "read_only") {
        // Root passes any permission bits: the store works as an ordinary user would meanwhile.
        fs::permissions(file.parent_path(), fs::perms(0555));
        fs::permissions(file, fs::perms(0444));
        setfsuid(65534);
        condition.lift = [file] {
            setfsuid(0);
            fs::permissions(file.parent_path(), fs::perms(0755));
            fs::permissions(file, fs::perms(0644));
        };
    } else if (name == "directory") {
        fs::create_directory(file);
        condition.lift = [file] { fs::remove(file); };
    } else if (name == "missing_driver") {
        condition.driver = QStringLiteral("QNOSUCHDRIVER");
    }
    return condition;
}

// Japanese throughout: SQLite's own words go to the log, never to the learner.
bool japaneseOnly(std::string text) {
    text = std::regex_replace(
        text, std::regex("kestrum\\.sqlite3(\\.broken-1)?|score\\.dat|SQLite|Qt"), "");
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

}  // namespace

// Every row also leaves score.dat as it was, and a store that writes ends on our current schema,
// whose indices serve one lesson's attempts and a span of dates.
TEST(AttemptStoreFaults, EachFileOrConditionHasItsTabledOutcome) {
    const std::string score("\x00\x07lesson1\x01\x00\x00\x00", 13);
    const std::vector<KeyTally> thisAttempt{{"e", 10, 5}};
    const char* const health[] = {"Keeps", "Waits", "CannotRead"};  // in StoreHealth's order
    for (const auto& row : tableRows("store_faults.tsv")) {
        SCOPED_TRACE(row[0]);
        const std::string &afterwards = row[2], &records = row[3];
        HistoryDir dir;
        fs::permissions(dir.path(), fs::perms(0755));
        const fs::path file = AttemptStore::fileIn(dir.path());
        const fs::path aside = file.string() + ".broken-1";
        dir.writeScore(score);
        Condition condition = prepare(row[0], row[1], file);
        const Bytes before = fs::is_regular_file(file) ? fileBytes(file) : "";
        {
            AttemptStore store(file, condition.driver);
            EXPECT_EQ(store.record(sample("lesson1", thisAttempt)) > 0, records == "written");
            const std::vector<KeyTally> lesson = store.lessonTotals({1, "lesson1"});
            EXPECT_EQ(health[static_cast<int>(store.health())], row[4]);
            if (store.health() != StoreHealth::CannotRead) {
                EXPECT_EQ(lesson, thisAttempt);
            }
            const Messages messages = store.pendingMessages();
            EXPECT_EQ(messages.size(), row[5] == "-" ? 0u : 1u);
            for (const Message& message : messages) {
                EXPECT_THAT(message.text, HasSubstr(row[5]));
                EXPECT_TRUE(japaneseOnly(message.text)) << message.text;
            }
            if (afterwards == "kept" && fs::is_regular_file(file)) {
                EXPECT_EQ(fileBytes(file), before);
            }
            EXPECT_EQ(fs::exists(aside), afterwards == "aside");
            EXPECT_EQ(fs::exists(file), afterwards != "none");
            condition.holder.reset();
            condition.lift();
            EXPECT_EQ(store.flush(), records != "refused");
        }
        if (afterwards == "aside") {
            EXPECT_EQ(fileBytes(aside), before);
        }
        EXPECT_EQ(dir.scoreBytes(), score);
        if (records == "refused") continue;
        EXPECT_EQ(AttemptStore(file).lessonTotals({1, "lesson1"}), thisAttempt);
        OtherConnection look(file);
        EXPECT_EQ(look.run({QStringLiteral("PRAGMA user_version")}), QStringList{"3"});
        const QString plan = QStringLiteral("EXPLAIN QUERY PLAN SELECT speed FROM attempts WHERE ");
        EXPECT_THAT(look.run({plan + "kind = 1 AND lesson = 'x'"}).join(' ').toStdString(),
                    HasSubstr("USING INDEX attempts_by_lesson"));
        EXPECT_THAT(look.run({plan + "started_at > '2026-11'"}).join(' ').toStdString(),
                    HasSubstr("USING INDEX attempts_by_date"));
    }
}

// An attempt and its keys read back; attempts that wait in memory count among the newest,
// before any in the file, and in their own lesson alone.
TEST(AttemptStore, AttemptsRoundTripAndWaitingOnesAreTheNewest) {
    HistoryDir dir;
    const fs::path file = AttemptStore::fileIn(dir.path());
    const Attempt first = sample("さくら", {{"a", 30, 2}, {"f", 12, 0}});
    AttemptStore(file).record(first);
    AttemptStore(file).record(sample("lesson1", {{"a", 5, 1}}));
    AttemptStore reopened(file);
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
    {
        // A read that another program's lock refuses is worth nothing, and says so.
        OtherConnection locker(file);
        locker.run({QStringLiteral("BEGIN EXCLUSIVE")});
        EXPECT_EQ(reopened.recentTotals(1), std::vector<KeyTally>{});
        EXPECT_EQ(reopened.health(), StoreHealth::CannotRead);
    }

    OtherConnection holder(file);
    holder.run({QStringLiteral("BEGIN IMMEDIATE"), QStringLiteral("DELETE FROM key_stats")});
    reopened.keep(sample("lesson2", {{"s", 4, 1}}));
    reopened.keep(sample("lesson3", {{"d", 9, 2}, {"s", 1, 0}}));
    EXPECT_EQ(reopened.recentTotals(1), (std::vector<KeyTally>{{"d", 9, 2}, {"s", 1, 0}}));
    EXPECT_EQ(reopened.recentTotals(3),
              (std::vector<KeyTally>{{"a", 5, 1}, {"d", 9, 2}, {"s", 5, 1}}));
    EXPECT_EQ(reopened.lessonTotals({1, "lesson2"}), (std::vector<KeyTally>{{"s", 4, 1}}));
    EXPECT_EQ(reopened.health(), StoreHealth::Waits);
    EXPECT_EQ(reopened.attempts().size(), 4u);
    // A set renamed over another set's name drops that set's waiting attempts, not a lesson's.
    Attempt lesson = sample("lesson2");
    lesson.kind = 0;
    reopened.keep(lesson);
    reopened.renameLesson({1, "lesson3"}, "lesson2");
    EXPECT_EQ(reopened.attempts().size(), 4u);
}

// SQLite's file names are bytes: a folder name that is not UTF-8, or holds URI characters.
TEST(AttemptStore, OpensInAFolderWhoseNameIsNotUtf8) {
    HistoryDir dir;
    const fs::path folder = dir.path() / "caf\xE9 #1?%20";
    fs::create_directory(folder);
    EXPECT_GT(AttemptStore(AttemptStore::fileIn(folder)).record(sample("x")), 0);
    EXPECT_TRUE(fs::is_regular_file(folder / "kestrum.sqlite3"));
    EXPECT_EQ(AttemptStore(AttemptStore::fileIn(folder)).attempts().size(), 1u);
    fs::remove_all(folder);  // which QTemporaryDir cannot name
}

// The connection's own defences, for whatever a check of the schema might miss: no view or
// trigger runs, and a statement past its deadline is stopped.
TEST(SqliteDefences, AnArmedConnectionRunsNoViewNoTriggerAndNoEndlessQuery) {
    HistoryDir dir;
    const fs::path file = dir.path() / "armed.sqlite3";
    OtherConnection(file).run({QStringLiteral("CREATE TABLE t(x)"),
                               QStringLiteral("CREATE VIEW v AS SELECT x FROM t"),
                               QStringLiteral("CREATE TRIGGER g AFTER INSERT ON t BEGIN DELETE "
                                              "FROM t; END")});
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("armed"));
    db.setDatabaseName(QString::fromStdString(file.string()));
    ASSERT_TRUE(db.open());
    QueryDeadline deadline;
    ASSERT_TRUE(armConnection(db, deadline));
    {
        QSqlQuery query(db);
        EXPECT_FALSE(query.exec(QStringLiteral("SELECT * FROM v")));
        EXPECT_TRUE(query.exec(QStringLiteral("INSERT INTO t VALUES(1)")));
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT count(*) FROM t")) && query.next());
        EXPECT_EQ(query.value(0).toInt(), 1);  // the trigger would have emptied it
        QueryBudget budget(deadline, std::chrono::milliseconds(50));
        EXPECT_FALSE(
            query.exec(QStringLiteral("WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL "
                                      "SELECT n + 1 FROM r) SELECT max(n) FROM r")));
        EXPECT_EQ(faultOf(query.lastError()), StoreFault::TooSlow);
        EXPECT_THAT(faultReason(StoreFault::TooSlow), HasSubstr("時間がかかりすぎる"));
    }
    db.close();
    db = {};
    QSqlDatabase::removeDatabase(QStringLiteral("armed"));
}
