#include "progress/attempt_store.h"

#include "history/history_test_dir.h"
#include "support/table_file.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/fsuid.h>

#include <functional>
#include <memory>
#include <optional>
#include <regex>

using namespace kestrum;
using kestrum::testing::fileBytes;
using kestrum::testing::HistoryDir;
using kestrum::testing::tableRows;
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

// The schema as the previous version wrote it, and our application id ("KSTR").
const std::vector<const char*> kVersion1 = {
    "CREATE TABLE attempts(id INTEGER PRIMARY KEY, started_at TEXT NOT NULL, kind INTEGER NOT "
    "NULL, lesson TEXT NOT NULL, speed INTEGER, accuracy INTEGER, duration_ms INTEGER, keys "
    "INTEGER, misses INTEGER)",
    "CREATE TABLE key_stats(attempt_id INTEGER NOT NULL REFERENCES attempts(id), ch TEXT NOT "
    "NULL, hits INTEGER, misses INTEGER)",
    "CREATE INDEX key_stats_by_attempt ON key_stats(attempt_id)",
    "PRAGMA application_id = 1263752274",
    "PRAGMA user_version = 1",
};

// A connection of the test's own, with views and triggers allowed: it writes the files the
// store meets, or holds one locked as another program would.
class Other {
public:
    explicit Other(const fs::path& file) : name_(QStringLiteral("other-%1").arg(next_++)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(QString::fromStdString(file.string()));
        EXPECT_TRUE(db.open());
    }
    ~Other() {
        QSqlDatabase::database(name_).close();
        QSqlDatabase::removeDatabase(name_);
    }
    void run(const std::vector<const char*>& statements) {
        QSqlQuery query(QSqlDatabase::database(name_));
        for (const char* sql : statements)
            EXPECT_TRUE(query.exec(QString::fromLatin1(sql)))
                << sql << query.lastError().text().toStdString();
    }
    QString answer(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(name_));
        QString text;
        for (query.exec(sql); query.next();)
            text += query.value(query.record().count() - 1).toString() + '\n';
        return text;
    }

private:
    static inline int next_ = 0;
    QString name_;
};

// What a case of tests/data/store_faults.tsv sets up: the file, perhaps another program holding
// it until it is let go, and how the rest of the condition goes away.
struct Condition {
    std::unique_ptr<Other> holder;
    std::function<void()> lift = [] {};
    QString driver = QStringLiteral("QSQLITE");
};

Condition prepare(const std::string& name, const fs::path& file) {
    Condition condition;
    auto ours = [&] { AttemptStore(file).record(sample("lesson2", {{"e", 20, 0}})); };
    auto make = [&](std::vector<const char*> statements) { Other(file).run(statements); };
    if (name == "busy_exclusive" || name == "busy_reserved") {
        ours();
        condition.holder = std::make_unique<Other>(file);
        condition.holder->run(
            name == "busy_exclusive"
                ? std::vector<const char*>{"BEGIN EXCLUSIVE"}
                : std::vector<const char*>{"BEGIN IMMEDIATE", "DELETE FROM key_stats"});
    } else if (name == "read_only") {
        // Root passes any permission bits: the store works as an ordinary user would meanwhile.
        ours();
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
    } else if (name == "later_version") {
        make({kVersion1[0], "PRAGMA application_id = 1263752274", "PRAGMA user_version = 3"});
    } else if (name == "foreign_tables") {
        make({"CREATE TABLE notes(body TEXT)", "INSERT INTO notes VALUES('私のメモ')"});
    } else if (name == "foreign_id") {
        make({"PRAGMA application_id = 1179011410"});
    } else if (name == "zero_tables") {
        make({"PRAGMA application_id = 1263752274"});
    } else if (name == "empty_file") {
        std::ofstream{file};
    } else if (name == "hostile_view") {
        make(
            {"CREATE VIEW attempts AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 "
             "FROM r) SELECT n AS id, 'x' AS started_at, 1 AS kind, 'lesson1' AS lesson, "
             "randomblob(1000000) AS speed, 0 AS accuracy, 0 AS duration_ms, 0 AS keys, "
             "0 AS misses FROM r ORDER BY speed",
             kVersion1[1], kVersion1[2], kVersion1[3], kVersion1[4]});
    } else if (name == "hostile_trigger" || name == "extra_index") {
        ours();
        make({name == "extra_index" ? "CREATE INDEX by_speed ON attempts(speed)"
                                    : "CREATE TRIGGER wipe AFTER INSERT ON attempts BEGIN "
                                      "DELETE FROM key_stats; END"});
    } else if (name == "damaged_header") {
        std::ofstream(file) << std::string("SQLite format 3\0\x10\x00\x01\x01", 20)
                            << std::string(4000, '\xA5');
    } else if (name == "text_file") {
        std::ofstream(file) << "買い物メモ: 牛乳、卵\n";
    }
    return condition;
}

const char* healthName(StoreHealth health) {
    return health == StoreHealth::Keeps   ? "Keeps"
           : health == StoreHealth::Waits ? "Waits"
                                          : "CannotRead";
}

// Japanese throughout: SQLite's own words go to the log, never to the learner.
bool japaneseOnly(std::string text) {
    text = std::regex_replace(
        text, std::regex("kestrum\\.sqlite3(\\.broken-1)?|score\\.dat|SQLite|Qt"), "");
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

}  // namespace

TEST(AttemptStoreFaults, EachFileOrConditionHasItsTabledOutcome) {
    for (const auto& row : tableRows("store_faults.tsv")) {
        SCOPED_TRACE(row[0]);
        const std::string& afterwards = row[1];
        const std::string& records = row[2];
        HistoryDir dir;
        fs::permissions(dir.path(), fs::perms(0755));
        const fs::path file = AttemptStore::fileIn(dir.path());
        const fs::path aside = file.string() + ".broken-1";
        dir.writeScore(std::string("\x00\x07lesson1\x01\x00\x00\x00", 13));
        Condition condition = prepare(row[0], file);
        const Bytes before = fs::is_directory(file) ? "(folder)" : fileBytes(file);
        {
            AttemptStore store(file, condition.driver);
            EXPECT_EQ(store.record(sample("lesson1", {{"e", 10, 5}})) > 0, records == "written");
            const std::vector<KeyTally> lesson = store.lessonTotals({1, "lesson1"});
            EXPECT_STREQ(healthName(store.health()), row[3].c_str());
            if (store.health() != StoreHealth::CannotRead) {
                EXPECT_EQ(lesson, (std::vector<KeyTally>{{"e", 10, 5}}));
            }
            const Messages messages = store.pendingMessages();
            if (row[4] == "-") {
                EXPECT_TRUE(messages.empty());
            } else {
                ASSERT_EQ(messages.size(), 1u);
                EXPECT_THAT(messages[0].text, ::testing::HasSubstr(row[4]));
                EXPECT_TRUE(japaneseOnly(messages[0].text)) << messages[0].text;
            }
            if (afterwards == "kept" && before != "(folder)") {
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
        EXPECT_EQ(dir.scoreBytes(), std::string("\x00\x07lesson1\x01\x00\x00\x00", 13));
        if (records == "refused") continue;
        AttemptStore reopened(file);
        EXPECT_EQ(reopened.lessonTotals({1, "lesson1"}), (std::vector<KeyTally>{{"e", 10, 5}}));
        EXPECT_TRUE(reopened.pendingMessages().empty());
    }
}

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

// Attempts that wait in memory count among the newest, before any in the file.
TEST(AttemptStore, WaitingAttemptsAreTheNewestInRecentTotals) {
    HistoryDir dir;
    const fs::path file = AttemptStore::fileIn(dir.path());
    AttemptStore(file).record(sample("lesson1", {{"a", 7, 0}, {"s", 3, 3}}));
    AttemptStore store(file);
    Other holder(file);
    holder.run({"BEGIN IMMEDIATE", "DELETE FROM key_stats"});
    store.keep(sample("lesson2", {{"s", 4, 1}}));
    store.keep(sample("lesson3", {{"d", 9, 2}, {"s", 1, 0}}));
    EXPECT_EQ(store.recentTotals(1), (std::vector<KeyTally>{{"d", 9, 2}, {"s", 1, 0}}));
    EXPECT_EQ(store.recentTotals(3),
              (std::vector<KeyTally>{{"a", 7, 0}, {"d", 9, 2}, {"s", 8, 4}}));
    EXPECT_EQ(store.health(), StoreHealth::Waits);
    EXPECT_EQ(store.attempts().size(), 3u);
}

TEST(AttemptStore, AFileOfThePreviousVersionOpensAndGainsItsIndices) {
    HistoryDir dir;
    const fs::path file = AttemptStore::fileIn(dir.path());
    std::vector<const char*> previous = kVersion1;
    previous.push_back(
        "INSERT INTO attempts VALUES(7, '2026-11-30T08:00:00Z', 0, 'lesson2', 150, 97, 40000, "
        "80, 2)");
    previous.push_back("INSERT INTO key_stats VALUES(7, 'a', 60, 2)");
    Other(file).run(previous);

    AttemptStore store(file);
    EXPECT_EQ(store.lessonTotals({0, "lesson2"}), (std::vector<KeyTally>{{"a", 60, 2}}));
    EXPECT_TRUE(store.pendingMessages().empty());
    Other look(file);
    EXPECT_EQ(look.answer(QStringLiteral("PRAGMA user_version")), QStringLiteral("2\n"));
    EXPECT_THAT(look.answer(QStringLiteral("EXPLAIN QUERY PLAN SELECT id FROM attempts "
                                           "WHERE kind = 0 AND lesson = 'lesson2'"))
                    .toStdString(),
                ::testing::HasSubstr("USING COVERING INDEX attempts_by_lesson"));
    EXPECT_THAT(look.answer(QStringLiteral("EXPLAIN QUERY PLAN SELECT speed FROM attempts WHERE "
                                           "started_at BETWEEN '2026-11-01' AND '2026-12-01'"))
                    .toStdString(),
                ::testing::HasSubstr("USING INDEX attempts_by_date"));
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
    Other(file).run({"CREATE TABLE t(x)", "CREATE VIEW v AS SELECT x FROM t",
                     "CREATE TRIGGER g AFTER INSERT ON t BEGIN DELETE FROM t; END"});
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
        const QString endless = QStringLiteral(
            "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) SELECT max(n) FROM r");
        QueryBudget budget(deadline, std::chrono::milliseconds(50));
        EXPECT_FALSE(query.exec(endless));
        EXPECT_EQ(faultOf(query.lastError()), StoreFault::TooSlow);
    }
    db.close();
    db = {};
    QSqlDatabase::removeDatabase(QStringLiteral("armed"));
}
