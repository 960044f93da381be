#include "progress/progress_series.h"

#include "records/lesson.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

namespace {

constexpr int kMaxSteps = 6;
constexpr int kDayUnitLimit = 92;
constexpr int kWeekUnitLimit = 731;

// A tick step: so many days, or so many months.
struct TickStep {
    int days = 0;
    int months = 0;
};
constexpr TickStep kTickSteps[] = {{1, 0}, {2, 0}, {7, 0}, {14, 0}, {0, 1},
                                   {0, 2}, {0, 3}, {0, 6}, {0, 12}};

// The first tick at or after `from`: a Monday for weeks, the 1st of a month whose number is a
// multiple of the step for months.
QDate firstTick(QDate from, TickStep step) {
    if (step.days == 7 || step.days == 14) return from.addDays((8 - from.dayOfWeek()) % 7);
    if (step.days > 0) return from;
    QDate month(from.year(), from.month(), 1);
    if (month < from) month = month.addMonths(1);
    while ((month.month() - 1) % step.months != 0)
        month = month.addMonths(1);
    return month;
}

QDate nextTick(QDate tick, TickStep step) {
    return step.days > 0 ? tick.addDays(step.days) : tick.addMonths(step.months);
}

}  // namespace

std::string lessonTitle(const LessonId& lesson) {
    return lesson.kind == kProblemSetKind ? "問題集: " + lesson.lesson : lesson.lesson;
}

DayRange initialRange(const std::optional<DayRange>& stored, QDate today) {
    if (!stored) return {today, today};
    return {stored->from, std::max(stored->to, today)};
}

ProgressUnit unitFor(const DayRange& range) {
    const qint64 days = range.from.daysTo(range.to) + 1;
    if (days <= kDayUnitLimit) return ProgressUnit::Day;
    return days <= kWeekUnitLimit ? ProgressUnit::Week : ProgressUnit::Month;
}

std::string pointLabel(const ProgressPoint& point, ProgressUnit unit, bool withYear) {
    QString format;
    switch (unit) {
        case ProgressUnit::Attempt:
            format = withYear ? QStringLiteral("yyyy/MM/dd HH:mm") : QStringLiteral("MM/dd HH:mm");
            break;
        case ProgressUnit::Day:
        case ProgressUnit::Week:
            format = withYear ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("MM/dd");
            break;
        case ProgressUnit::Month:
            format = QStringLiteral("yyyy年M月");
            break;
    }
    return point.at.toString(format).toStdString();
}

Axis axisFor(double maxValue) {
    const double wanted = std::clamp(maxValue, 1.0, double{kMaxSpeedAxis}) / kMaxSteps;
    const double magnitude = std::pow(10.0, std::floor(std::log10(wanted)));
    int step = 0;
    for (const int factor : {1, 2, 5, 10}) {
        step = static_cast<int>(std::lround(factor * magnitude));
        if (step >= wanted && step >= 1) break;
    }
    step = std::max(step, 1);
    const double top = std::ceil(std::min(maxValue, double{kMaxSpeedAxis}) / step) * step;
    return {std::max(step, static_cast<int>(top)), step, 0};
}

Axis percentAxis(double minValue) {
    const double floored = std::floor(std::clamp(minValue, 0.0, 100.0) / 10.0) * 10;
    const int bottom = std::min(static_cast<int>(floored), 90);
    const int span = 100 - bottom;
    return {100, span <= 20 ? 5 : span <= 50 ? 10 : 20, bottom};
}

std::vector<TimeTick> timeTicks(QDate from, QDate to, int width, int minSpacing) {
    std::vector<TimeTick> ticks;
    if (!from.isValid() || !to.isValid() || to < from || width <= 0) return ticks;
    const double pixelsPerDay = double(width) / double(from.daysTo(to) + 1);
    TickStep step = kTickSteps[std::size(kTickSteps) - 1];
    for (const TickStep candidate : kTickSteps) {
        // A month is 28 days at its shortest.
        const int days = candidate.days > 0 ? candidate.days : 28 * candidate.months;
        if (days * pixelsPerDay >= minSpacing) {
            step = candidate;
            break;
        }
    }
    const bool crossesYear = from.year() != to.year();
    int lastYear = 0;
    for (QDate day = firstTick(from, step); day <= to; day = nextTick(day, step)) {
        const bool withYear = crossesYear && day.year() != lastYear;
        lastYear = day.year();
        QString label;
        if (step.months == 12)
            label = day.toString(QStringLiteral("yyyy年"));
        else if (step.months > 0)
            label = withYear ? day.toString(QStringLiteral("yyyy年M月"))
                             : day.toString(QStringLiteral("M月"));
        else
            label = day.toString(withYear ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("MM/dd"));
        ticks.push_back({day, label.toStdString()});
    }
    return ticks;
}

}  // namespace kestrum
