#pragma once

#include "platform/message.h"
#include "progress/attempt.h"
#include "progress/sqlite_defences.h"
#include "progress/store_fault.h"
#include "progress/store_schema.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <filesystem>
#include <vector>

class QSqlDatabase;
class QSqlQuery;

namespace kestrum {

// The attempt history in SQLite (kestrum.sqlite3 in the data folder), beside score.dat and never
// in its way. The file opens at the first call that needs it, so that the SQL driver loads only
// then, and opening costs the same at any size: the header and the schema are checked, never
// every page. The store never waits on a lock longer than a frame: an attempt it cannot write
// waits in memory and is written at the next call (the close included). Only a file proven
// damaged or foreign is renamed aside, never overwritten; a busy, unreadable or read-only file
// and one made by a later version are left exactly as they are. Every failure is reported in
// Japanese, at most once in the store's life, through pendingMessages(); its detail goes to the
// log.
class AttemptStore {
public:
    static constexpr std::int32_t kSchemaVersion = kStoreSchemaVersion;
    static constexpr std::int32_t kApplicationId = kStoreApplicationId;

    explicit AttemptStore(std::filesystem::path file, QString driver = QStringLiteral("QSQLITE"));
    // Writes what waits, allowing a longer wait for a lock than while windows are up.
    ~AttemptStore();
    AttemptStore(const AttemptStore&) = delete;
    AttemptStore& operator=(const AttemptStore&) = delete;

    static std::filesystem::path fileIn(const std::filesystem::path& dataDir);

    // Opens the file unless it is open or was refused for good; true when the store can be used.
    bool open();

    // Keeps the attempt in memory, to be written at the next call that writes; no file work.
    void keep(Attempt attempt);
    // Writes every attempt kept so far, in one transaction; true when none waits any more.
    bool flush();
    // keep() and flush(); the attempt's id, 0 when it waits in memory.
    std::int64_t record(const Attempt& attempt);

    // Every attempt, oldest first, without key statistics; waiting ones last, with id 0.
    std::vector<Attempt> attempts();
    // Whether an attempt of the lesson is kept, on file or waiting; false as well when the file
    // cannot be read.
    bool holds(const LessonId& lesson);
    // Per character, summed over every attempt of the lesson.
    std::vector<KeyTally> lessonTotals(const LessonId& lesson);
    // Per character, summed over the newest `count` attempts of every lesson.
    std::vector<KeyTally> recentTotals(int count);

    // A problem set's attempts follow its file: renaming gives the lesson's attempts the name
    // `to` after erasing those `to` had (a deleted set's); erasing removes the lesson's attempts
    // and their key statistics. Each is one transaction; false when it failed.
    bool renameLesson(const LessonId& from, const std::string& to);
    bool eraseLesson(const LessonId& lesson);

    // What the last read's answer is worth.
    StoreHealth health() const;

    // What went wrong since the last call, at most one failure in the store's life, plus a note
    // when a file was set aside. Texts are Japanese.
    Messages pendingMessages();

    // For the queries kept beside the store. readable() writes what waits and opens the file,
    // false when the store cannot be read now; exec() runs a query prepared on database() within
    // the store's time budget, and reports a failure once, like every other.
    bool readable();
    bool exec(QSqlQuery& query);
    QSqlDatabase database() const;

private:
    enum class State { Closed, Open, Refused };

    bool openFile();
    bool connect();
    bool useFile();
    bool setAside(const QString& why);
    bool runSteps(std::int32_t fromVersion);
    // A statement and the values bound to it in order.
    struct Statement {
        QString sql;
        QVariantList values;
    };
    // Runs the statements in one transaction; a failure rolls them all back and is reported.
    bool transact(const std::vector<Statement>& statements);
    bool writeWaiting();
    // Runs `sql`, whose rows are a character and its hits and misses, in the characters' order.
    std::vector<KeyTally> totals(const QString& sql, const QVariantList& values);
    bool keysSummed(const QVariantList& lesson);
    void addWaiting(std::vector<KeyTally>& totals, const std::vector<Attempt>& attempts) const;
    // Rolls the transaction back and reports why it failed.
    void abandon(const QSqlQuery& query);
    // Reports a failed read or write; a file it proves damaged is closed, to be set aside at
    // the next open.
    void failed(const QSqlError& error);
    void fail(StoreFault fault, const QString& detail);
    void close();

    std::filesystem::path file_;
    QString driver_;
    QString connection_;
    State state_ = State::Closed;
    QString asideReason_;  // why the file must be set aside at the next open; empty: it need not
    bool readFailed_ = false;
    bool failureReported_ = false;
    std::vector<Attempt> waiting_;
    std::int64_t lastId_ = 0;
    QueryDeadline deadline_;
    Messages pending_;
};

}  // namespace kestrum
