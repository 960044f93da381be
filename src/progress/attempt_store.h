#pragma once

#include "platform/message.h"
#include "progress/attempt.h"

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
// then. A store that cannot be opened or written reports it once, through pendingMessages(),
// and then does nothing; a damaged or foreign file is renamed aside, never overwritten; a file
// made by a later version is left alone.
class AttemptStore {
public:
    static constexpr std::int32_t kSchemaVersion = 1;
    // PRAGMA application_id of our files ("KSTR").
    static constexpr std::int32_t kApplicationId = 0x4B535452;

    explicit AttemptStore(std::filesystem::path file, QString driver = QStringLiteral("QSQLITE"));
    ~AttemptStore();
    AttemptStore(const AttemptStore&) = delete;
    AttemptStore& operator=(const AttemptStore&) = delete;

    static std::filesystem::path fileIn(const std::filesystem::path& dataDir);

    // Opens the file unless that was tried already; true when the store can be used.
    bool open();

    // Adds the attempt and its key statistics in one transaction; returns its id, 0 on failure.
    std::int64_t record(const Attempt& attempt);

    // Every attempt, oldest first, without key statistics.
    std::vector<Attempt> attempts();
    // Per character, summed over every attempt of the lesson.
    std::vector<KeyTally> lessonTotals(const LessonId& lesson);
    // Per character, summed over the newest `count` attempts of every lesson.
    std::vector<KeyTally> recentTotals(int count);

    // A problem set's attempts follow its file: renaming gives the lesson's attempts the name
    // `to` after erasing those `to` had (a deleted set's); erasing removes the lesson's attempts
    // and their key statistics. Each is one transaction; false when it failed.
    bool renameLesson(const LessonId& from, const std::string& to);
    bool eraseLesson(const LessonId& lesson);

    // What went wrong since the last call, at most one failure in the store's life, plus a note
    // when a file was set aside. Texts are Japanese.
    Messages pendingMessages();

private:
    bool openFile();
    bool setAside(const QString& why);
    bool createSchema();
    std::vector<KeyTally> totals(const QString& where, const QVariantList& values);
    // Rolls the transaction back and reports why it failed.
    void abandon(const QSqlQuery& query);
    void fail(const QString& detail);
    QSqlDatabase database() const;

    std::filesystem::path file_;
    QString driver_;
    QString connection_;
    bool tried_ = false;
    bool usable_ = false;
    bool failureReported_ = false;
    Messages pending_;
};

}  // namespace kestrum
