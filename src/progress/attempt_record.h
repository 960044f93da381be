#pragma once

#include "drill/lesson_figures.h"
#include "drill/lesson_result.h"
#include "progress/attempt.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// One tally per expected character that was struck at all, in byte order. Byte 0, where keys
// past the end of an item are counted, is no character and is left out.
std::vector<KeyTally> keyTallies(const CharCounts& hit_counts, const CharCounts& miss_counts);

// The attempt a finished run makes, started `duration_ms` before it ended.
Attempt attemptFromResult(const LessonResult& result);

// "YYYY-MM-DDTHH:MM:SSZ" in UTC.
std::string isoUtc(std::int64_t utcMs);

}  // namespace kestrum
