#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// Keystrokes expected on one character: the keys that matched it and the wrong keys struck
// instead. `ch` is the character as UTF-8.
struct KeyTally {
    std::string ch;
    std::int64_t hits = 0;
    std::int64_t misses = 0;

    bool operator==(const KeyTally&) const = default;
};

// One finished run as the attempt store keeps it.
struct Attempt {
    std::int64_t id = 0;     // given by the store
    std::string started_at;  // UTC, ISO 8601 ("2026-12-06T14:15:27Z")
    std::int32_t kind = 0;   // the history key's kind: 0 built-in, 1 problem set
    std::string lesson;      // the history key's name as UTF-8
    std::int32_t speed = 0;
    std::int32_t accuracy = 0;
    std::int64_t duration_ms = 0;
    std::int32_t keys = 0;  // judged keys, misses included
    std::int32_t misses = 0;
    std::vector<KeyTally> key_stats;

    bool operator==(const Attempt&) const = default;
};

// Which lesson's attempts a view shows.
struct LessonId {
    std::int32_t kind = 0;
    std::string lesson;  // UTF-8

    bool operator==(const LessonId&) const = default;
    auto operator<=>(const LessonId&) const = default;
};

}  // namespace kestrum
