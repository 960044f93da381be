#include "progress/attempt_queries.h"

#include "progress/attempt_store.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace kestrum {

namespace {

// The local date or time an attempt falls in, as SQLite writes it ("2026-12-06",
// "2026-12-06 14:15:27"): the start of its week or month for those units.
QString bucketOf(ProgressUnit unit) {
    switch (unit) {
        case ProgressUnit::Attempt:
            return QStringLiteral("datetime(started_at, 'localtime')");
        case ProgressUnit::Day:
            return QStringLiteral("date(started_at, 'localtime')");
        case ProgressUnit::Week:
            return QStringLiteral("date(started_at, 'localtime', 'weekday 0', '-6 days')");
        case ProgressUnit::Month:
            return QStringLiteral("date(started_at, 'localtime', 'start of month')");
    }
    return {};
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

std::vector<LessonId> storedLessons(AttemptStore& store) {
    std::vector<LessonId> lessons;
    if (!store.readable()) return lessons;
    QSqlQuery query(store.database());
    query.prepare(
        QStringLiteral("SELECT DISTINCT kind, lesson FROM attempts ORDER BY kind, lesson"));
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
    const QString bucket = bucketOf(filter.unit);
    QString where = QStringLiteral("started_at >= ? AND started_at < ?");
    if (filter.lesson) where += QStringLiteral(" AND kind = ? AND lesson = ?");
    const QString sql = filter.unit == ProgressUnit::Attempt
                            ? QStringLiteral(
                                  "SELECT %1, speed, accuracy, 1 FROM attempts WHERE %2 "
                                  "ORDER BY started_at, id")
                            : QStringLiteral(
                                  "SELECT bucket, avg(speed), avg(accuracy), count(*) FROM "
                                  "(SELECT %1 AS bucket, speed, accuracy FROM attempts WHERE %2) "
                                  "GROUP BY bucket ORDER BY bucket");
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    query.prepare(sql.arg(bucket, where));
    query.addBindValue(utcStartOf(filter.from));
    query.addBindValue(utcStartOf(filter.to.addDays(1)));
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
