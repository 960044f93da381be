#include "progress/attempt_queries.h"

#include "progress/attempt_store.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

namespace kestrum {

namespace {

// The local day an attempt falls in, as SQLite writes it ("2026-12-06").
const QString kLocalDay = QStringLiteral("date(started_at, 'localtime')");

// The start of the week (from Monday) or month that a local day falls in, or the day.
QString bucketOf(ProgressUnit unit) {
    switch (unit) {
        case ProgressUnit::Week:
            return QStringLiteral("date(day, 'weekday 0', '-6 days')");
        case ProgressUnit::Month:
            return QStringLiteral("date(day, 'start of month')");
        default:
            return QStringLiteral("day");
    }
}

// Whether the day sums hold the local days of the system's zone now, summing them again from the
// attempts when they hold another zone's (the learner moved, or the file is new to these sums).
// False when that cannot be done now (the file is busy or read-only): the caller reads the
// attempts themselves.
bool daysReady(AttemptStore& store) {
    const QString zone = localZone();
    QSqlDatabase db = store.database();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT zone FROM days_zone"));
    if (!store.exec(query)) return false;
    if (query.next() && query.value(0).toString() == zone) return true;
    query.finish();
    if (!db.transaction()) return false;
    bool done = true;
    for (const QString& sql :
         {QStringLiteral("DELETE FROM lesson_days"),
          QStringLiteral("INSERT INTO lesson_days SELECT kind, lesson, ifnull(%1, '') AS day, "
                         "count(*), ifnull(sum(speed), 0), ifnull(sum(accuracy), 0) "
                         "FROM attempts GROUP BY kind, lesson, day")
              .arg(kLocalDay),
          QStringLiteral("DELETE FROM all_days"),
          QStringLiteral("INSERT INTO all_days SELECT day, sum(attempts), sum(speed), "
                         "sum(accuracy) FROM lesson_days GROUP BY day"),
          QStringLiteral("DELETE FROM days_zone")})
        done = done && query.exec(sql);
    query.prepare(QStringLiteral("INSERT INTO days_zone VALUES(?)"));
    query.addBindValue(zone);
    if (done && query.exec() && db.commit()) return true;
    db.rollback();
    return false;
}

// The stored form of the first moment of a local day, so that a range of days becomes a range
// of started_at that an index can serve.
QString utcStartOf(QDate day) {
    return day.startOfDay().toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QDateTime sqliteLocal(const QVariant& value) {
    const QString text = value.toString();
    // A day's first moment, even where the clocks skip its midnight.
    return text.size() == 10 ? QDate::fromString(text, Qt::ISODate).startOfDay()
                             : QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

QString localZone() {
    return QString::fromUtf8(QTimeZone::systemTimeZoneId());
}

std::vector<LessonId> storedLessons(AttemptStore& store) {
    std::vector<LessonId> lessons;
    if (!store.readable()) return lessons;
    QSqlQuery query(store.database());
    query.prepare(
        QStringLiteral("SELECT DISTINCT kind, lesson FROM %1 ORDER BY kind, lesson")
            .arg(daysReady(store) ? QStringLiteral("lesson_days") : QStringLiteral("attempts")));
    if (!store.exec(query)) return lessons;
    while (query.next())
        lessons.push_back({query.value(0).toInt(), query.value(1).toString().toStdString()});
    return lessons;
}

std::optional<DayRange> storedDays(AttemptStore& store) {
    if (!store.readable()) return std::nullopt;
    QSqlQuery query(store.database());
    // Each end alone, so that SQLite reads it from the index on the date; only times, which
    // start with a digit, count.
    const QString end = QStringLiteral(
        "(SELECT date(%1(started_at), 'localtime') FROM attempts "
        "WHERE started_at >= '0' AND started_at < ':')");
    query.prepare(QStringLiteral("SELECT %1, %2")
                      .arg(end.arg(QStringLiteral("min")), end.arg(QStringLiteral("max"))));
    if (!store.exec(query) || !query.next()) return std::nullopt;
    const QDate first = QDate::fromString(query.value(0).toString(), Qt::ISODate);
    const QDate last = QDate::fromString(query.value(1).toString(), Qt::ISODate);
    if (!first.isValid() || !last.isValid()) return std::nullopt;
    return DayRange{first, last};
}

std::vector<ProgressPoint> progressSeries(AttemptStore& store, const ProgressFilter& filter) {
    std::vector<ProgressPoint> points;
    if (!store.readable()) return points;
    const QString lesson =
        filter.lesson ? QStringLiteral(" AND kind = ? AND lesson = ?") : QString();
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    QVariantList range = {utcStartOf(filter.from), utcStartOf(filter.to.addDays(1))};
    if (filter.unit == ProgressUnit::Attempt) {
        query.prepare(QStringLiteral("SELECT datetime(started_at, 'localtime'), speed, accuracy, 1 "
                                     "FROM attempts WHERE started_at >= ? AND started_at < ?%1 "
                                     "ORDER BY started_at, id")
                          .arg(lesson));
    } else {
        // The day sums when they can be had, else every attempt of the range, which an index
        // on the date finds.
        const bool byDays = daysReady(store);
        const QString source =
            !byDays ? QStringLiteral(
                          "SELECT %1 AS day, 1 AS n, speed, accuracy FROM attempts "
                          "WHERE started_at >= ? AND started_at < ?%2")
                          .arg(kLocalDay, lesson)
            : filter.lesson ? QStringLiteral(
                                  "SELECT day, attempts AS n, speed, accuracy FROM lesson_days "
                                  "WHERE day >= ? AND day <= ?%1")
                                  .arg(lesson)
                            : QStringLiteral(
                                  "SELECT day, attempts AS n, speed, accuracy FROM all_days "
                                  "WHERE day >= ? AND day <= ?");
        query.prepare(QStringLiteral("SELECT %1 AS bucket, 1.0 * sum(speed) / sum(n), "
                                     "1.0 * sum(accuracy) / sum(n), sum(n) FROM (%2) "
                                     "GROUP BY bucket ORDER BY bucket")
                          .arg(bucketOf(filter.unit), source));
        if (byDays) range = {filter.from.toString(Qt::ISODate), filter.to.toString(Qt::ISODate)};
    }
    for (const QVariant& value : range)
        query.addBindValue(value);
    if (filter.lesson) {
        query.addBindValue(filter.lesson->kind);
        query.addBindValue(QString::fromStdString(filter.lesson->lesson));
    }
    if (!store.exec(query)) return points;
    while (query.next()) {
        const QDateTime at = sqliteLocal(query.value(0));
        if (!at.isValid()) continue;
        points.push_back(
            {at, query.value(1).toDouble(), query.value(2).toDouble(), query.value(3).toInt()});
    }
    return points;
}

bool forEachAttempt(AttemptStore& store,
                    const std::function<void(const Attempt&, const std::string&)>& visit) {
    if (!store.readable()) return false;
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT id, started_at, kind, lesson, speed, accuracy, "
                       "duration_ms, keys, misses, datetime(started_at, 'localtime') FROM attempts "
                       "ORDER BY started_at, id"));
    if (!store.exec(query)) return false;
    Attempt attempt;
    while (query.next()) {
        attempt.id = query.value(0).toLongLong();
        attempt.started_at = query.value(1).toString().toStdString();
        attempt.kind = query.value(2).toInt();
        attempt.lesson = query.value(3).toString().toStdString();
        attempt.speed = query.value(4).toInt();
        attempt.accuracy = query.value(5).toInt();
        attempt.duration_ms = query.value(6).toLongLong();
        attempt.keys = query.value(7).toInt();
        attempt.misses = query.value(8).toInt();
        visit(attempt, query.value(9).toString().toStdString());
    }
    return query.lastError().type() == QSqlError::NoError;
}

}  // namespace kestrum
