#pragma once

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
};

}  // namespace kestrum
