#pragma once

#include "platform/text.h"

#include <cstdint>

namespace kestrum {

// The user's options: one plain record for the whole run, read and written directly.
struct Settings {
    std::int32_t distinct = 1;        // 1: upper and lower case are told apart
    std::int32_t guide = 0;           // 0 always, 1 after a delay, 2 after a miss only, 3 never
    std::int32_t letter_type = 0;     // 0 as written, 1 upper case, 2 lower case
    std::int32_t distinct_shift = 1;  // 1: the Shift key of the other hand is shown
    std::int32_t sound = 0;           // 0 key and error sounds, 1 error only, 2 none
    std::int32_t practice_count = 5;  // items of a problem-set run, 5..100
    std::int32_t keyboard_size = 0;   // 0 S, 3 M, 2 L, 1 LL; anything else is S
    Bytes problem_set_name;           // code page 932; empty when none is chosen
    // Kept in the program's own options file, not in kestruml.ini.
    std::int32_t romaji_spellings = 0;  // 1: romaji items take every input-method spelling

    bool operator==(const Settings&) const = default;
};

}  // namespace kestrum
