#pragma once

#include "drill/lesson_figures.h"
#include "history/score_key.h"
#include "platform/message.h"
#include "platform/text.h"

#include <cstdint>
#include <vector>

namespace kestrum {

// What a finished run hands to the result window.
struct LessonResult {
    std::int32_t speed = 0;         // correct keys per minute, truncated
    std::int32_t accuracy = 0;      // percent, truncated
    ScoreKey key;                   // the lesson's history key, with speed and accuracy filled
    std::vector<Bytes> memo_lines;  // per-character statistics, code page 932
    Messages messages;              // what recording the attempt reported, shown first
    CharCounts hit_counts{};        // per expected byte, as the run counted them
    CharCounts miss_counts{};
    std::int32_t key_count = 0;     // judged keys, misses included
    std::uint32_t duration_ms = 0;  // from the first judged key to the end of the last item
    std::int64_t ended_utc_ms = 0;  // the calendar time as the last item ended
};

}  // namespace kestrum
