#pragma once

#include "platform/text.h"

#include <cstdint>

namespace kestrum {

// The key of one lesson's history, and for AppendScore the attempt to record.
struct ScoreKey {
    std::int32_t kind = 0;         // 0 built-in lesson, 1 problem set
    std::int32_t name_length = 0;  // bytes of name
    Bytes name;                    // "lesson1".."lesson6" or the problem set's name (cp932)
    std::int32_t speed = 0;        // characters per minute
    std::int32_t accuracy = 0;     // percent

    bool operator==(const ScoreKey&) const = default;
};

// The key of a lesson as the drill and the windows build it from its record.
inline ScoreKey scoreKeyFor(std::int32_t kind, const Bytes& name) {
    return {kind, static_cast<std::int32_t>(name.size()), name, 0, 0};
}

}  // namespace kestrum
