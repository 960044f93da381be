#pragma once

#include "platform/text.h"
#include "records/lesson.h"
#include "records/lesson_result.h"
#include "records/score_key.h"

#include <cstdint>
#include <vector>

namespace kestrum {

// Milliseconds from start to end on the wrapping tick counter (a wrap between them is fine).
std::uint32_t elapsedTicks(std::uint32_t start_tick, std::uint32_t end_tick);

// correct * 100 / key_count, truncated; 0 when nothing was judged.
std::int32_t accuracyPercent(std::int32_t correct, std::int32_t key_count);

// Correct keys per minute: correct * 60000 / elapsed, truncated toward zero, computed without
// overflow and capped to the 32-bit range; 0 when no time was measured.
std::int32_t speedPerMinute(std::int32_t correct, std::uint32_t elapsed);

// One line per byte value with a non-zero hit count, ascending:
// "<c>:total = <hits>,miss = <misses>,rate = <misses*100/hits, up to 15 significant digits>".
std::vector<Bytes> statisticsLines(const CharCounts& hit_counts, const CharCounts& miss_counts);

// A finished run as the result window and the records take it: accuracy and speed from the keys
// judged, `key` carrying them, the statistics lines and the counts. Its messages are the
// caller's, who records it.
LessonResult runFigures(ScoreKey key, const CharCounts& hit_counts, const CharCounts& miss_counts,
                        std::int32_t key_count, std::uint32_t duration_ms,
                        std::int64_t ended_utc_ms);

// The history key of a finished run of `record`: its kind and name (at most 259 bytes), with
// the figures.
ScoreKey scoreKeyForRun(const lesson& record, std::int32_t speed, std::int32_t accuracy);

}  // namespace kestrum
