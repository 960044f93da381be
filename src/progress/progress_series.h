#pragma once

#include "progress/attempt.h"

#include <QDate>

#include <optional>
#include <string>
#include <vector>

namespace kestrum {

// What the progress window shows: one lesson or all, between two local dates (both included),
// one point per day or per attempt. Days are local: started_at shifted by utcOffsetSeconds.
struct ProgressFilter {
    std::optional<LessonId> lesson;
    QDate from;
    QDate to;
    bool perDay = true;
    int utcOffsetSeconds = 0;
};

struct ProgressPoint {
    QDate day;
    std::string label;  // "12/06", or "12/06 14:15" per attempt
    double speed = 0;   // the mean over the point's attempts
    double accuracy = 0;
    int attempts = 0;

    bool operator==(const ProgressPoint&) const = default;
};

// The local date of an attempt; invalid when started_at is not a UTC ISO 8601 time.
QDate localDay(const std::string& startedAt, int utcOffsetSeconds);

std::vector<ProgressPoint> progressPoints(const std::vector<Attempt>& attempts,
                                          const ProgressFilter& filter);

// The lessons that have attempts, sorted.
std::vector<LessonId> lessonsOf(const std::vector<Attempt>& attempts);

// A lesson as the lesson list names it: a problem set's name follows "問題集: ".
std::string lessonTitle(const LessonId& lesson);

// The dates the window opens on: from the first attempt's day to the last one's, or to `today`
// when that is later; `today` for an end that no attempt gives.
struct DayRange {
    QDate from;
    QDate to;

    bool operator==(const DayRange&) const = default;
};
DayRange initialRange(const std::vector<Attempt>& attempts, QDate today, int utcOffsetSeconds);

// A value axis: its ends and its tick step.
struct Axis {
    int top = 0;
    int step = 0;
    int bottom = 0;

    bool operator==(const Axis&) const = default;
};
// From 0 up: a 1-2-5 step giving at most six steps, the top the first step at or above
// `maxValue` (at least one step).
Axis axisFor(double maxValue);
// Percentages up to 100, from the ten at or below `minValue` (at most 90): steps of 5 over a
// span up to 20, of 10 up to 50, else of 20.
Axis percentAxis(double minValue);

}  // namespace kestrum
