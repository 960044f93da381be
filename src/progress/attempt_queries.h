#pragma once

#include "progress/attempt.h"
#include "progress/progress_series.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {

class AttemptStore;

// What the windows read from the store, asked of SQLite so that only what they draw reaches
// memory: however long the history, a few hundred rows at most. Local days and times follow the
// system's time-zone rules for each attempt's own date. A store that cannot be used gives
// nothing, and says so through its pendingMessages().

// The zone whose local days the store's day sums follow: the system's, now.
QString localZone();

// The lessons that have attempts, sorted.
std::vector<LessonId> storedLessons(AttemptStore& store);

// The local days of the first and the last attempt; nothing for an empty store.
std::optional<DayRange> storedDays(AttemptStore& store);

// Speed and accuracy per attempt, day, week (from Monday) or month within the filter's days.
std::vector<ProgressPoint> progressSeries(AttemptStore& store, const ProgressFilter& filter);

// Every attempt, oldest first, without key statistics, one at a time with its start in local
// time ("2026-12-06 23:15:27", empty when started_at is no time); false when the store could
// not be read.
bool forEachAttempt(AttemptStore& store,
                    const std::function<void(const Attempt&, const std::string&)>& visit);

}  // namespace kestrum
