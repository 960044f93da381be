#pragma once

#include "progress/attempt.h"

#include <QDate>
#include <QDateTime>

#include <optional>
#include <string>
#include <vector>

namespace kestrum {

// What one point of the progress chart stands for.
enum class ProgressUnit { Attempt, Day, Week, Month };

// What the progress window shows: one lesson or all, between two local dates (both included),
// one point per attempt, day, week or month.
struct ProgressFilter {
    std::optional<LessonId> lesson;
    QDate from;
    QDate to;
    ProgressUnit unit = ProgressUnit::Day;
};

struct ProgressPoint {
    QDateTime at;      // local: the attempt's time, or the first day of its day, week or month
    double speed = 0;  // the mean over the point's attempts
    double accuracy = 0;
    int attempts = 0;

    bool operator==(const ProgressPoint&) const = default;
};

// A lesson as the lesson list names it: a problem set's name follows "問題集: ".
std::string lessonTitle(const LessonId& lesson);

// Local dates, both included.
struct DayRange {
    QDate from;
    QDate to;

    bool operator==(const DayRange&) const = default;
};

// The dates the window opens on: the stored attempts' days, up to `today` when that is later;
// today alone without attempts.
DayRange initialRange(const std::optional<DayRange>& stored, QDate today);

// The unit that keeps a range readable: days up to about three months, weeks up to two years,
// months beyond.
ProgressUnit unitFor(const DayRange& range);

// A point's date as the chart writes it: "12/06 14:15" per attempt, "12/06" per day or week,
// "2026年12月" per month; a day or week with its year ("2026/12/06") when `withYear`.
std::string pointLabel(const ProgressPoint& point, ProgressUnit unit, bool withYear);

// A value axis: its ends and its tick step.
struct Axis {
    int top = 0;
    int step = 0;
    int bottom = 0;

    bool operator==(const Axis&) const = default;
};
// The highest speed an axis reaches: a value above it is drawn clipped at the top.
constexpr int kMaxSpeedAxis = 2000;
// From 0 up: a 1-2-5 step giving at most six steps, the top the first step at or above
// `maxValue` (at least one step, at most kMaxSpeedAxis).
Axis axisFor(double maxValue);
// Percentages up to 100, from the ten at or below `minValue` (at most 90, at least 0): steps of
// 5 over a span up to 20, of 10 up to 50, else of 20.
Axis percentAxis(double minValue);

// The dates marked under a time axis from `from` to `to`: the first tick step among a day, two
// days, a week, two weeks, one, two, three or six months and a year whose ticks stand at least
// `minSpacing` apart on an axis `days` per `width` pixels wide; weeks start on Mondays, months
// on the 1st, years on 1 January. Labels carry the year on the first tick and on the first of
// each new year when the range crosses one.
struct TimeTick {
    QDate day;
    std::string label;

    bool operator==(const TimeTick&) const = default;
};
std::vector<TimeTick> timeTicks(QDate from, QDate to, int width, int minSpacing);

}  // namespace kestrum
