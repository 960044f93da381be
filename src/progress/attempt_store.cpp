#include "progress/attempt_store.h"

#include "progress/attempt_queries.h"

#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iterator>
#include <map>
#include <system_error>
#include <utility>

namespace kestrum {

namespace {

Q_LOGGING_CATEGORY(storeLog, "kestrum.store")

constexpr int kMaxAsideNames = 1000;
// Longer than any honest query at 100,000 attempts, short enough that no file hangs the program.
constexpr auto kQueryBudget = std::chrono::seconds(3);
// A lock held longer than about a frame is met again at the next call.
constexpr int kBusyWaitMs = 10;
// At the close no window waits any more.
constexpr int kCloseBusyWaitMs = 1000;
// SQLite's lock bytes start at 1 GiB: the pending byte, the reserved byte, the shared range.
constexpr off_t kLockBytes = 0x40000000;
constexpr off_t kLockByteCount = 512;

// An SQLite URI names the file by its bytes, so a folder whose name is not UTF-8 is reached.
QString uriOf(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(file, error);
    const QByteArray bytes = QByteArray::fromStdString((error ? file : full).string());
    return QStringLiteral("file:") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

// Whether another process holds one of SQLite's locks on the file. Locks of this process are
// not seen, and opening the file here would drop them: call it with no connection open.
bool othersHoldLocks(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kLockBytes;
    probe.l_len = kLockByteCount;
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

// What the header and sqlite_master say; `error` is set when they could not be read.
struct FileLook {
    QSqlError error;
    std::int32_t applicationId = 0;
    std::int32_t userVersion = 0;
    std::vector<SchemaObject> objects;
};

QSqlError errorOf(const QSqlQuery& query) {
    return query.lastError().isValid()
               ? query.lastError()
               : QSqlError(QString(), QStringLiteral("no row"), QSqlError::UnknownError);
}

FileLook lookAt(const QSqlDatabase& db) {
    FileLook look;
    QSqlQuery query(db);
    for (auto [sql, value] : {std::pair{"PRAGMA application_id", &look.applicationId},
                              std::pair{"PRAGMA user_version", &look.userVersion}}) {
        if (!query.exec(QString::fromLatin1(sql)) || !query.next()) {
            look.error = errorOf(query);
            return look;
        }
        *value = query.value(0).toInt();
    }
    if (!query.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master"))) {
        look.error = errorOf(query);
        return look;
    }
    while (query.next()) {
        look.objects.push_back({query.value(0).toString().toStdString(),
                                query.value(1).toString().toStdString(),
                                query.value(2).toString().toStdString()});
    }
    if (query.lastError().isValid()) look.error = query.lastError();
    return look;
}

QString connectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("kestrum-attempts-%1").arg(next++);
}

QString nameOf(const std::filesystem::path& file) {
    return QString::fromStdString(file.filename().string());
}

// Prepares the statement with `values` bound in order.
void prepareWith(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
}

// Whether the attempt is one of the lesson's.
bool isOf(const Attempt& attempt, const LessonId& lesson) {
    return attempt.kind == lesson.kind && attempt.lesson == lesson.lesson;
}

// The lesson as the statements name it: its kind, then its name.
QVariantList valuesOf(const LessonId& lesson) {
    return {QVariant(lesson.kind), QVariant(QString::fromStdString(lesson.lesson))};
}

// Runs the statement with `values` bound in order; one without values is run as it stands.
bool execWith(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) {
    if (values.isEmpty()) return query.exec(sql);
    prepareWith(query, sql, values);
    return query.exec();
}

// The statements that erase a lesson's attempts, key statistics first, and its key sums, each
// bound to its kind and name.
const QStringList kEraseLesson = {
    QStringLiteral("DELETE FROM key_stats WHERE attempt_id IN "
                   "(SELECT id FROM attempts WHERE kind = ? AND lesson = ?)"),
    QStringLiteral("DELETE FROM attempts WHERE kind = ? AND lesson = ?"),
    QStringLiteral("DELETE FROM lesson_keys WHERE kind = ? AND lesson = ?"),
    QStringLiteral("DELETE FROM lesson_keys_pending WHERE kind = ? AND lesson = ?"),
};

// The statements that give a lesson's attempts and key sums a new name, each bound to the new
// name, the kind and the old name.
const QStringList kRenameLesson = {
    QStringLiteral("UPDATE attempts SET lesson = ? WHERE kind = ? AND lesson = ?"),
    QStringLiteral("UPDATE lesson_keys SET lesson = ? WHERE kind = ? AND lesson = ?"),
    QStringLiteral("UPDATE lesson_keys_pending SET lesson = ? WHERE kind = ? AND lesson = ?"),
};

// After either, the day sums are made again at the next read.
const QString kForgetDays = QStringLiteral("DELETE FROM days_zone");

}  // namespace

AttemptStore::AttemptStore(std::filesystem::path file, QString driver)
    : file_(std::move(file)), driver_(std::move(driver)), connection_(connectionName()) {}

AttemptStore::~AttemptStore() {
    if (!waiting_.empty() && open()) {
        QSqlQuery(database())
            .exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(kCloseBusyWaitMs));
        if (!flush()) qCWarning(storeLog) << waiting_.size() << "attempts could not be written";
    }
    if (!QSqlDatabase::contains(connection_)) return;
    close();
    QSqlDatabase::removeDatabase(connection_);
}

std::filesystem::path AttemptStore::fileIn(const std::filesystem::path& dataDir) {
    return dataDir / "kestrum.sqlite3";
}

QSqlDatabase AttemptStore::database() const {
    return QSqlDatabase::database(connection_, false);
}

bool AttemptStore::readable() {
    flush();
    readFailed_ = !open();
    return !readFailed_;
}

bool AttemptStore::exec(QSqlQuery& query) {
    QueryBudget budget(deadline_, kQueryBudget);
    if (query.exec()) return true;
    readFailed_ = true;
    failed(query.lastError());
    return false;
}

void AttemptStore::close() {
    if (QSqlDatabase::contains(connection_)) database().close();
}

bool AttemptStore::open() {
    if (state_ == State::Closed && openFile()) state_ = State::Open;
    return state_ == State::Open;
}

bool AttemptStore::openFile() {
    if (!QSqlDatabase::isDriverAvailable(driver_)) {
        state_ = State::Refused;
        fail(StoreFault::NoDriver, driver_);
        return false;
    }
    std::error_code error;
    const auto status = std::filesystem::status(file_, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        fail(StoreFault::CannotOpen, QStringLiteral("not a regular file"));
        return false;
    }
    for (int round = 0; round < 2; ++round) {
        if (!asideReason_.isEmpty() && !setAside(std::exchange(asideReason_, {}))) return false;
        if (!connect()) return false;
        if (useFile()) return true;
        close();
        if (asideReason_.isEmpty()) return false;
    }
    fail(StoreFault::CannotSetAside, QStringLiteral("the new file is refused as well"));
    return false;
}

bool AttemptStore::connect() {
    if (!QSqlDatabase::contains(connection_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver_, connection_);
        db.setDatabaseName(uriOf(file_));
        db.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_OPEN_URI").arg(kBusyWaitMs));
    }
    QSqlDatabase db = database();
    if (!db.open()) {
        fail(faultOf(db.lastError()), db.lastError().text());
        return false;
    }
    if (!armConnection(db, deadline_))
        qCWarning(storeLog) << "SQLite's own calls are out of reach: only PRAGMA defences hold";
    return true;
}

// Judges the open file by its header and schema, and makes it ready; false leaves asideReason_
// set when the file must be set aside.
bool AttemptStore::useFile() {
    const FileLook look = lookAt(database());
    if (look.error.isValid()) {
        failed(look.error);
        return false;
    }
    switch (judgeFile(look.applicationId, look.userVersion, look.objects)) {
        case FileVerdict::Ours:
            return true;
        case FileVerdict::NeedsSchema:
            return runSteps(0);
        case FileVerdict::NeedsUpgrade:
            return runSteps(look.userVersion);
        case FileVerdict::Newer:
            state_ = State::Refused;
            fail(StoreFault::Newer, QStringLiteral("user_version %1").arg(look.userVersion));
            return false;
        case FileVerdict::Foreign:
            asideReason_ = QStringLiteral(
                "別のプログラムのファイルか、このプログラムが作らないものを含んでいました");
            return false;
    }
    return false;
}

// Renames the file to the first free "<name>.broken-N", with the journal SQLite left beside it
// when no other program holds the file (a journal in use is that program's, not ours).
bool AttemptStore::setAside(const QString& why) {
    close();
    const bool alone = !othersHoldLocks(file_);
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::filesystem::path target = file_.string() + ".broken-" + std::to_string(n);
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) continue;
        std::filesystem::rename(file_, target, error);
        if (error) break;
        for (const char* suffix : {"-journal", "-wal"}) {
            const std::filesystem::path companion = file_.string() + suffix;
            if (alone && std::filesystem::exists(companion, error))
                std::filesystem::rename(companion, target.string() + suffix, error);
        }
        qCWarning(storeLog) << "set aside as" << target.c_str();
        pending_.push_back(infoMessage(
            QStringLiteral("成績の記録ファイル %1 は%2。%3 と名前を変えて残し、新しく作ります。")
                .arg(nameOf(file_), why, nameOf(target))
                .toStdString()));
        return true;
    }
    state_ = State::Refused;
    fail(StoreFault::CannotSetAside, QStringLiteral("rename failed"));
    return false;
}

// Creates what the versions after `fromVersion` added, and marks the file as ours, at once.
bool AttemptStore::runSteps(std::int32_t fromVersion) {
    std::vector<Statement> statements;
    const auto& steps = schemaSteps();
    for (auto step = steps.begin() + fromVersion; step != steps.end(); ++step) {
        for (const SchemaObject& object : step->objects)
            statements.push_back({QString::fromStdString(object.sql), {}});
        for (const std::string& fill : step->fill)
            statements.push_back({QString::fromStdString(fill), {}});
    }
    statements.push_back({QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId), {}});
    statements.push_back({QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion), {}});
    return transact(statements);
}

bool AttemptStore::transact(const std::vector<Statement>& statements) {
    QSqlDatabase db = database();
    QSqlQuery query(db);
    bool done = db.transaction();
    for (const auto& [sql, values] : statements)
        done = done && execWith(query, sql, values);
    if (done && db.commit()) return true;
    abandon(query);
    return false;
}

// The query's error, or the connection's when the transaction itself failed.
void AttemptStore::abandon(const QSqlQuery& query) {
    QSqlDatabase db = database();
    const QSqlError error = query.lastError().isValid() ? query.lastError() : db.lastError();
    db.rollback();
    failed(error);
}

void AttemptStore::keep(Attempt attempt) {
    waiting_.push_back(std::move(attempt));
}

std::int64_t AttemptStore::record(const Attempt& attempt) {
    keep(attempt);
    return flush() ? lastId_ : 0;
}

bool AttemptStore::flush() {
    if (waiting_.empty()) return true;
    QueryBudget budget(deadline_, kQueryBudget);
    if (open() && writeWaiting()) return true;
    // A failure other than a lock closed the connection: once more with a fresh one, which
    // finds a file that has become writable meanwhile.
    return state_ == State::Closed && open() && writeWaiting();
}

bool AttemptStore::writeWaiting() {
    QSqlDatabase db = database();
    QSqlQuery attempt(db), keys(db), lessonKeys(db), lessonDay(db), allDay(db), otherZone(db);
    // Binds `values` in order and runs the statement; a failure rolls everything back.
    const auto run = [this](QSqlQuery& query, std::initializer_list<QVariant> values) {
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (query.exec()) return true;
        abandon(query);
        return false;
    };
    if (!db.transaction()) {
        abandon(attempt);
        return false;
    }
    attempt.prepare(QStringLiteral(
        "INSERT INTO attempts(started_at, kind, lesson, speed, accuracy, duration_ms, keys, "
        "misses) VALUES(?, ?, ?, ?, ?, ?, ?, ?)"));
    keys.prepare(
        QStringLiteral("INSERT INTO key_stats(attempt_id, ch, hits, misses) VALUES(?, ?, ?, ?)"));
    lessonKeys.prepare(QStringLiteral(
        "INSERT INTO lesson_keys(kind, lesson, ch, hits, misses) VALUES(?, ?, ?, ?, ?) "
        "ON CONFLICT DO UPDATE SET hits = hits + excluded.hits, "
        "misses = misses + excluded.misses"));
    // The day in the zone of this moment; days summed in another zone are summed again at the
    // next read, this attempt's among them.
    otherZone.prepare(QStringLiteral("DELETE FROM days_zone WHERE zone <> ?"));
    const QString addDay = QStringLiteral(
        "VALUES(%1ifnull(date(?, 'localtime'), ''), 1, ?, ?) ON CONFLICT DO UPDATE SET "
        "attempts = attempts + 1, speed = speed + excluded.speed, "
        "accuracy = accuracy + excluded.accuracy");
    lessonDay.prepare(QStringLiteral("INSERT INTO lesson_days(kind, lesson, day, attempts, speed, "
                                     "accuracy) ") +
                      addDay.arg(QStringLiteral("?, ?, ")));
    allDay.prepare(QStringLiteral("INSERT INTO all_days(day, attempts, speed, accuracy) ") +
                   addDay.arg(QString()));
    if (!run(otherZone, {localZone()})) return false;
    std::int64_t id = 0;
    for (const Attempt& waiting : waiting_) {
        const QVariant kind(waiting.kind);
        const QVariant lesson(QString::fromStdString(waiting.lesson));
        const QVariant startedAt(QString::fromStdString(waiting.started_at));
        const QVariant speed(waiting.speed);
        const QVariant accuracy(waiting.accuracy);
        if (!run(attempt,
                 {startedAt, kind, lesson, speed, accuracy, QVariant(qint64{waiting.duration_ms}),
                  QVariant(waiting.keys), QVariant(waiting.misses)}))
            return false;
        id = attempt.lastInsertId().toLongLong();
        for (const KeyTally& tally : waiting.key_stats) {
            const QVariant ch(QString::fromStdString(tally.ch));
            const QVariant hits(qint64{tally.hits});
            const QVariant misses(qint64{tally.misses});
            if (!run(keys, {QVariant(qint64{id}), ch, hits, misses}) ||
                !run(lessonKeys, {kind, lesson, ch, hits, misses}))
                return false;
        }
        if (!run(lessonDay, {kind, lesson, startedAt, speed, accuracy}) ||
            !run(allDay, {startedAt, speed, accuracy}))
            return false;
    }
    if (!db.commit()) {
        abandon(attempt);
        return false;
    }
    waiting_.clear();
    lastId_ = id;
    return true;
}

std::vector<Attempt> AttemptStore::attempts() {
    QueryBudget budget(deadline_, kQueryBudget);
    std::vector<Attempt> result;
    // Reads through readable(), which writes what waits first.
    forEachAttempt(*this,
                   [&](const Attempt& attempt, const std::string&) { result.push_back(attempt); });
    for (Attempt waiting : waiting_) {
        waiting.key_stats.clear();
        result.push_back(std::move(waiting));
    }
    return result;
}

bool AttemptStore::holds(const LessonId& lesson) {
    if (std::any_of(waiting_.begin(), waiting_.end(),
                    [&](const Attempt& a) { return isOf(a, lesson); }))
        return true;
    QueryBudget budget(deadline_, kQueryBudget);
    readFailed_ = !open();
    if (readFailed_) return false;
    QSqlQuery query(database());
    prepareWith(query,
                QStringLiteral("SELECT 1 FROM attempts WHERE kind = ? AND lesson = ? LIMIT 1"),
                valuesOf(lesson));
    return exec(query) && query.next();
}

std::vector<KeyTally> AttemptStore::lessonTotals(const LessonId& lesson) {
    QueryBudget budget(deadline_, kQueryBudget);
    flush();
    const QVariantList id = valuesOf(lesson);
    // From the lesson's sums, else, while they cannot be made, from every key of its attempts.
    std::vector<KeyTally> result =
        open() && keysSummed(id)
            ? totals(QStringLiteral("SELECT ch, hits, misses FROM lesson_keys "
                                    "WHERE kind = ? AND lesson = ? ORDER BY ch"),
                     id)
            : totals(QStringLiteral("SELECT ch, SUM(hits), SUM(misses) FROM key_stats "
                                    "WHERE attempt_id IN (SELECT id FROM attempts "
                                    "WHERE kind = ? AND lesson = ?) GROUP BY ch ORDER BY ch"),
                     id);
    std::vector<Attempt> ofLesson;
    std::copy_if(waiting_.begin(), waiting_.end(), std::back_inserter(ofLesson),
                 [&](const Attempt& a) { return isOf(a, lesson); });
    addWaiting(result, ofLesson);
    return result;
}

// Whether lesson_keys holds the lesson's sums, summing them now when an upgrade left them
// pending; false when they are pending and cannot be written now.
bool AttemptStore::keysSummed(const QVariantList& lesson) {
    QSqlDatabase db = database();
    QSqlQuery query(db);
    if (!execWith(query,
                  QStringLiteral("SELECT 1 FROM lesson_keys_pending WHERE kind = ? AND lesson = ?"),
                  lesson))
        return false;
    if (!query.next()) return true;
    query.finish();
    bool done = db.transaction();
    for (const char* sql :
         {"DELETE FROM lesson_keys WHERE kind = ? AND lesson = ?",
          "INSERT INTO lesson_keys SELECT kind, lesson, ch, ifnull(sum(key_stats.hits), 0), "
          "ifnull(sum(key_stats.misses), 0) FROM key_stats JOIN attempts ON attempts.id = "
          "attempt_id WHERE kind = ? AND lesson = ? GROUP BY ch",
          "DELETE FROM lesson_keys_pending WHERE kind = ? AND lesson = ?"})
        done = done && execWith(query, QString::fromLatin1(sql), lesson);
    if (done && db.commit()) return true;
    db.rollback();
    return false;
}

std::vector<KeyTally> AttemptStore::recentTotals(int count) {
    QueryBudget budget(deadline_, kQueryBudget);
    flush();
    const auto fromMemory = std::min(waiting_.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::vector<KeyTally> result =
        totals(QStringLiteral("SELECT ch, SUM(hits), SUM(misses) FROM key_stats "
                              "WHERE attempt_id IN (SELECT id FROM attempts ORDER BY id DESC "
                              "LIMIT ?) GROUP BY ch ORDER BY ch"),
               {QVariant(count - static_cast<int>(fromMemory))});
    addWaiting(result, {waiting_.end() - static_cast<std::ptrdiff_t>(fromMemory), waiting_.end()});
    return result;
}

std::vector<KeyTally> AttemptStore::totals(const QString& sql, const QVariantList& values) {
    std::vector<KeyTally> result;
    readFailed_ = !open();
    if (readFailed_) return result;
    QSqlQuery query(database());
    prepareWith(query, sql, values);
    if (!exec(query)) return result;
    while (query.next()) {
        result.push_back({query.value(0).toString().toStdString(), query.value(1).toLongLong(),
                          query.value(2).toLongLong()});
    }
    return result;
}

bool AttemptStore::renameLesson(const LessonId& from, const std::string& to) {
    if (from.lesson == to) return true;
    // Attempts still waiting in memory follow as well, whether or not they reach the file now.
    const LessonId target{from.kind, to};
    std::erase_if(waiting_, [&](const Attempt& a) { return isOf(a, target); });
    for (Attempt& waiting : waiting_) {
        if (isOf(waiting, from)) waiting.lesson = to;
    }
    QueryBudget budget(deadline_, kQueryBudget);
    if (!open()) return false;
    const QVariantList renamed = {QVariant(QString::fromStdString(to)), QVariant(from.kind),
                                  QVariant(QString::fromStdString(from.lesson))};
    std::vector<Statement> statements;
    for (const QString& sql : kEraseLesson)
        statements.push_back({sql, valuesOf(target)});
    for (const QString& sql : kRenameLesson)
        statements.push_back({sql, renamed});
    statements.push_back({kForgetDays, {}});
    return transact(statements);
}

bool AttemptStore::eraseLesson(const LessonId& lesson) {
    std::erase_if(waiting_, [&](const Attempt& a) { return isOf(a, lesson); });
    QueryBudget budget(deadline_, kQueryBudget);
    if (!open()) return false;
    std::vector<Statement> statements;
    for (const QString& sql : kEraseLesson)
        statements.push_back({sql, valuesOf(lesson)});
    statements.push_back({kForgetDays, {}});
    return transact(statements);
}

// Adds the key counts of attempts still in memory, keeping the characters in byte order.
void AttemptStore::addWaiting(std::vector<KeyTally>& totals,
                              const std::vector<Attempt>& attempts) const {
    if (attempts.empty()) return;
    std::map<std::string, KeyTally> byChar;
    for (const KeyTally& tally : totals)
        byChar[tally.ch] = tally;
    for (const Attempt& attempt : attempts) {
        for (const KeyTally& tally : attempt.key_stats) {
            KeyTally& sum = byChar[tally.ch];
            sum.ch = tally.ch;
            sum.hits += tally.hits;
            sum.misses += tally.misses;
        }
    }
    totals.clear();
    for (auto& entry : byChar)
        totals.push_back(std::move(entry.second));
}

StoreHealth AttemptStore::health() const {
    if (readFailed_) return StoreHealth::CannotRead;
    return waiting_.empty() ? StoreHealth::Keeps : StoreHealth::Waits;
}

void AttemptStore::failed(const QSqlError& error) {
    const StoreFault fault = faultOf(error);
    if (!provesDamage(fault)) {
        fail(fault, error.text());
        // A lock passes by itself; after anything else the next call starts from a fresh
        // connection (one that SQLite opened read-only stays so).
        if (fault != StoreFault::Busy && state_ == State::Open) {
            close();
            state_ = State::Closed;
        }
        return;
    }
    // Set aside at the next open, which says so; the attempts wait until then.
    qCWarning(storeLog) << file_.c_str() << "is damaged:" << error.text();
    close();
    asideReason_ = QStringLiteral("壊れていました");
    if (state_ == State::Open) state_ = State::Closed;
}

void AttemptStore::fail(StoreFault fault, const QString& detail) {
    qCWarning(storeLog) << file_.c_str() << faultReason(fault).c_str() << detail;
    if (failureReported_) return;
    failureReported_ = true;
    const QString consequence =
        state_ == State::Refused
            ? QStringLiteral("苦手キーと成績の推移は記録されません。")
            : QStringLiteral(
                  "練習の記録はプログラムを閉じるまで覚えておき、使えるようになった"
                  "ときに書き込みます。");
    pending_.push_back(infoMessage(
        QStringLiteral("成績の記録ファイル %1 は%2。%3練習と score.dat への記録はこれまでどおり"
                       "続きます。")
            .arg(nameOf(file_), QString::fromStdString(faultReason(fault)), consequence)
            .toStdString()));
}

Messages AttemptStore::pendingMessages() {
    return std::exchange(pending_, {});
}

}  // namespace kestrum
