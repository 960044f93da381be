#include "progress/attempt_store.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <optional>
#include <system_error>
#include <utility>

namespace kestrum {

namespace {

constexpr int kMaxAsideNames = 1000;

enum class FileState { Ours, Newer, Empty, Foreign, Damaged };

std::optional<QVariant> scalar(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next()) return std::nullopt;
    return query.value(0);
}

FileState stateOf(const QSqlDatabase& db) {
    const auto check = scalar(db, QStringLiteral("PRAGMA quick_check"));
    if (!check || check->toString() != QStringLiteral("ok")) return FileState::Damaged;
    const auto id = scalar(db, QStringLiteral("PRAGMA application_id"));
    const auto version = scalar(db, QStringLiteral("PRAGMA user_version"));
    const auto tables = scalar(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!id || !version || !tables) return FileState::Damaged;
    if (id->toInt() == AttemptStore::kApplicationId) {
        return version->toInt() > AttemptStore::kSchemaVersion ? FileState::Newer : FileState::Ours;
    }
    return id->toInt() == 0 && tables->toInt() == 0 ? FileState::Empty : FileState::Foreign;
}

QString connectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("kestrum-attempts-%1").arg(next++);
}

bool execAll(QSqlQuery& query, const QStringList& statements) {
    for (const QString& sql : statements) {
        if (!query.exec(sql)) return false;
    }
    return true;
}

// Runs the statement with `values` bound in order.
bool execWith(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

// The statements that erase a lesson's attempts, key statistics first, each bound to its kind
// and name.
const QStringList kEraseLesson = {
    QStringLiteral("DELETE FROM key_stats WHERE attempt_id IN "
                   "(SELECT id FROM attempts WHERE kind = ? AND lesson = ?)"),
    QStringLiteral("DELETE FROM attempts WHERE kind = ? AND lesson = ?"),
};

}  // namespace

AttemptStore::AttemptStore(std::filesystem::path file, QString driver)
    : file_(std::move(file)), driver_(std::move(driver)), connection_(connectionName()) {}

AttemptStore::~AttemptStore() {
    if (!tried_ || !QSqlDatabase::contains(connection_)) return;
    database().close();
    QSqlDatabase::removeDatabase(connection_);
}

std::filesystem::path AttemptStore::fileIn(const std::filesystem::path& dataDir) {
    return dataDir / "kestrum.sqlite3";
}

QSqlDatabase AttemptStore::database() const {
    return QSqlDatabase::database(connection_, false);
}

bool AttemptStore::open() {
    if (tried_) return usable_;
    tried_ = true;
    usable_ = openFile();
    return usable_;
}

bool AttemptStore::openFile() {
    if (!QSqlDatabase::isDriverAvailable(driver_)) {
        fail(QStringLiteral("SQLite のドライバー %1 がありません").arg(driver_));
        return false;
    }
    QSqlDatabase::addDatabase(driver_, connection_)
        .setDatabaseName(QString::fromStdString(file_.string()));
    for (int attemptNo = 0; attemptNo < 2; ++attemptNo) {
        QSqlDatabase db = database();
        if (!db.open()) {
            fail(db.lastError().text());
            return false;
        }
        switch (stateOf(db)) {
            case FileState::Ours:
                return true;
            case FileState::Empty:
                return createSchema();
            case FileState::Newer:
                db.close();
                fail(QStringLiteral("新しい版で作られたファイルです"));
                return false;
            case FileState::Foreign:
            case FileState::Damaged:
                db.close();
                if (!setAside(QStringLiteral("壊れているか、別のプログラムのファイルでした")))
                    return false;
                break;
        }
    }
    fail(QStringLiteral("新しいファイルを作れません"));
    return false;
}

// Renames the file (and a journal SQLite left with it) to the first free "<name>.broken-N".
bool AttemptStore::setAside(const QString& why) {
    const std::filesystem::path journal = file_.string() + "-journal";
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::filesystem::path target = file_.string() + ".broken-" + std::to_string(n);
        std::error_code error;
        if (std::filesystem::exists(target, error)) continue;
        std::filesystem::rename(file_, target, error);
        if (error) break;
        if (std::filesystem::exists(journal, error))
            std::filesystem::rename(journal, target.string() + "-journal", error);
        pending_.push_back(infoMessage(
            QStringLiteral("成績の記録ファイル %1 は%2。%3 と名前を変えて残し、新しく作ります。")
                .arg(QString::fromStdString(file_.filename().string()), why,
                     QString::fromStdString(target.filename().string()))
                .toStdString()));
        return true;
    }
    fail(QStringLiteral("読めないファイルを別の名前にできません"));
    return false;
}

bool AttemptStore::createSchema() {
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const QStringList schema = {
        QStringLiteral("CREATE TABLE attempts(id INTEGER PRIMARY KEY, started_at TEXT NOT NULL, "
                       "kind INTEGER NOT NULL, lesson TEXT NOT NULL, speed INTEGER, "
                       "accuracy INTEGER, duration_ms INTEGER, keys INTEGER, misses INTEGER)"),
        QStringLiteral("CREATE TABLE key_stats(attempt_id INTEGER NOT NULL REFERENCES "
                       "attempts(id), ch TEXT NOT NULL, hits INTEGER, misses INTEGER)"),
        QStringLiteral("CREATE INDEX key_stats_by_attempt ON key_stats(attempt_id)"),
        QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId),
        QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion),
    };
    if (db.transaction() && execAll(query, schema) && db.commit()) return true;
    abandon(query);
    return false;
}

// The query's error, or the connection's when the transaction itself failed.
void AttemptStore::abandon(const QSqlQuery& query) {
    QSqlDatabase db = database();
    const QString error =
        query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
    db.rollback();
    fail(error);
}

std::int64_t AttemptStore::record(const Attempt& attempt) {
    if (!open()) return 0;
    QSqlDatabase db = database();
    QSqlQuery query(db);
    auto failed = [&] {
        abandon(query);
        return std::int64_t{0};
    };
    if (!db.transaction()) return failed();
    query.prepare(QStringLiteral(
        "INSERT INTO attempts(started_at, kind, lesson, speed, accuracy, duration_ms, keys, "
        "misses) VALUES(?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value :
         {QVariant(QString::fromStdString(attempt.started_at)), QVariant(attempt.kind),
          QVariant(QString::fromStdString(attempt.lesson)), QVariant(attempt.speed),
          QVariant(attempt.accuracy), QVariant(qint64{attempt.duration_ms}), QVariant(attempt.keys),
          QVariant(attempt.misses)})
        query.addBindValue(value);
    if (!query.exec()) return failed();
    const std::int64_t id = query.lastInsertId().toLongLong();
    query.prepare(
        QStringLiteral("INSERT INTO key_stats(attempt_id, ch, hits, misses) VALUES(?, ?, ?, ?)"));
    for (const KeyTally& tally : attempt.key_stats) {
        query.addBindValue(qint64{id});
        query.addBindValue(QString::fromStdString(tally.ch));
        query.addBindValue(qint64{tally.hits});
        query.addBindValue(qint64{tally.misses});
        if (!query.exec()) return failed();
    }
    if (!db.commit()) return failed();
    return id;
}

std::vector<Attempt> AttemptStore::attempts() {
    std::vector<Attempt> result;
    if (!open()) return result;
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT id, started_at, kind, lesson, speed, accuracy, "
                                   "duration_ms, keys, misses FROM attempts "
                                   "ORDER BY started_at, id"))) {
        fail(query.lastError().text());
        return result;
    }
    while (query.next()) {
        Attempt attempt;
        attempt.id = query.value(0).toLongLong();
        attempt.started_at = query.value(1).toString().toStdString();
        attempt.kind = query.value(2).toInt();
        attempt.lesson = query.value(3).toString().toStdString();
        attempt.speed = query.value(4).toInt();
        attempt.accuracy = query.value(5).toInt();
        attempt.duration_ms = query.value(6).toLongLong();
        attempt.keys = query.value(7).toInt();
        attempt.misses = query.value(8).toInt();
        result.push_back(std::move(attempt));
    }
    return result;
}

std::vector<KeyTally> AttemptStore::lessonTotals(const LessonId& lesson) {
    return totals(QStringLiteral("JOIN attempts ON attempts.id = attempt_id "
                                 "WHERE attempts.kind = ? AND attempts.lesson = ?"),
                  {QVariant(lesson.kind), QVariant(QString::fromStdString(lesson.lesson))});
}

std::vector<KeyTally> AttemptStore::recentTotals(int count) {
    return totals(QStringLiteral("WHERE attempt_id IN "
                                 "(SELECT id FROM attempts ORDER BY id DESC LIMIT ?)"),
                  {QVariant(count)});
}

std::vector<KeyTally> AttemptStore::totals(const QString& where, const QVariantList& values) {
    std::vector<KeyTally> result;
    if (!open()) return result;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT ch, SUM(key_stats.hits), SUM(key_stats.misses) "
                                 "FROM key_stats %1 GROUP BY ch ORDER BY ch")
                      .arg(where));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        fail(query.lastError().text());
        return result;
    }
    while (query.next()) {
        result.push_back({query.value(0).toString().toStdString(), query.value(1).toLongLong(),
                          query.value(2).toLongLong()});
    }
    return result;
}

bool AttemptStore::renameLesson(const LessonId& from, const std::string& to) {
    if (from.lesson == to) return true;
    if (!open()) return false;
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const QVariantList target = {QVariant(from.kind), QVariant(QString::fromStdString(to))};
    bool done = db.transaction();
    for (const QString& sql : kEraseLesson)
        done = done && execWith(query, sql, target);
    done = done && execWith(query,
                            QStringLiteral("UPDATE attempts SET lesson = ? "
                                           "WHERE kind = ? AND lesson = ?"),
                            {QVariant(QString::fromStdString(to)), QVariant(from.kind),
                             QVariant(QString::fromStdString(from.lesson))});
    if (done && db.commit()) return true;
    abandon(query);
    return false;
}

bool AttemptStore::eraseLesson(const LessonId& lesson) {
    if (!open()) return false;
    QSqlDatabase db = database();
    QSqlQuery query(db);
    bool done = db.transaction();
    for (const QString& sql : kEraseLesson) {
        done = done &&
               execWith(query, sql,
                        {QVariant(lesson.kind), QVariant(QString::fromStdString(lesson.lesson))});
    }
    if (done && db.commit()) return true;
    abandon(query);
    return false;
}

void AttemptStore::fail(const QString& detail) {
    if (failureReported_) return;
    failureReported_ = true;
    pending_.push_back(infoMessage(
        QStringLiteral("成績の記録ファイル %1 を使えないため、苦手キーと成績の推移は記録"
                       "されません。練習と score.dat への記録はこれまでどおり続きます。\n(%2)")
            .arg(QString::fromStdString(file_.filename().string()), detail)
            .toStdString()));
}

Messages AttemptStore::pendingMessages() {
    return std::exchange(pending_, {});
}

}  // namespace kestrum
