#include "progress/progress_series.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <set>

namespace kestrum {

namespace {

constexpr int kMaxSteps = 6;

QDateTime localTime(const std::string& startedAt, int utcOffsetSeconds) {
    QDateTime time = QDateTime::fromString(QString::fromStdString(startedAt), Qt::ISODate);
    if (!time.isValid()) return {};
    return time.toUTC().addSecs(utcOffsetSeconds);
}

}  // namespace

QDate localDay(const std::string& startedAt, int utcOffsetSeconds) {
    return localTime(startedAt, utcOffsetSeconds).date();
}

std::vector<ProgressPoint> progressPoints(const std::vector<Attempt>& attempts,
                                          const ProgressFilter& filter) {
    std::vector<ProgressPoint> points;
    for (const Attempt& attempt : attempts) {
        if (filter.lesson && !(LessonId{attempt.kind, attempt.lesson} == *filter.lesson)) continue;
        const QDateTime time = localTime(attempt.started_at, filter.utcOffsetSeconds);
        const QDate day = time.date();
        if (!day.isValid() || day < filter.from || day > filter.to) continue;
        auto point = std::find_if(points.begin(), points.end(),
                                  [&](const ProgressPoint& p) { return p.day == day; });
        if (!filter.perDay || point == points.end()) {
            const QString format =
                filter.perDay ? QStringLiteral("MM/dd") : QStringLiteral("MM/dd HH:mm");
            point = points.insert(points.end(),
                                  ProgressPoint{day, time.toString(format).toStdString()});
        }
        // A running mean, so that a point is right whatever attempts it has taken in.
        ++point->attempts;
        point->speed += (attempt.speed - point->speed) / point->attempts;
        point->accuracy += (attempt.accuracy - point->accuracy) / point->attempts;
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const ProgressPoint& a, const ProgressPoint& b) { return a.day < b.day; });
    return points;
}

std::vector<LessonId> lessonsOf(const std::vector<Attempt>& attempts) {
    std::set<LessonId> lessons;
    for (const Attempt& attempt : attempts)
        lessons.insert({attempt.kind, attempt.lesson});
    return {lessons.begin(), lessons.end()};
}

std::string lessonTitle(const LessonId& lesson) {
    return lesson.kind == 1 ? "問題集: " + lesson.lesson : lesson.lesson;
}

DayRange initialRange(const std::vector<Attempt>& attempts, QDate today, int utcOffsetSeconds) {
    if (attempts.empty()) return {today, today};
    const auto dayOf = [&](const Attempt& attempt) {
        const QDate day = localDay(attempt.started_at, utcOffsetSeconds);
        return day.isValid() ? day : today;
    };
    return {dayOf(attempts.front()), std::max(dayOf(attempts.back()), today)};
}

Axis axisFor(double maxValue) {
    const double wanted = std::max(maxValue, 1.0) / kMaxSteps;
    double magnitude = std::pow(10.0, std::floor(std::log10(wanted)));
    int step = 0;
    for (const int factor : {1, 2, 5, 10}) {
        step = static_cast<int>(std::lround(factor * magnitude));
        if (step >= wanted && step >= 1) break;
    }
    step = std::max(step, 1);
    const int top = std::max(step, static_cast<int>(std::ceil(maxValue / step)) * step);
    return {top, step, 0};
}

Axis percentAxis(double minValue) {
    const int bottom = std::clamp(static_cast<int>(std::floor(minValue / 10.0)) * 10, 0, 90);
    const int span = 100 - bottom;
    return {100, span <= 20 ? 5 : span <= 50 ? 10 : 20, bottom};
}

}  // namespace kestrum
