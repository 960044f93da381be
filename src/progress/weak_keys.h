#pragma once

#include "progress/attempt.h"

#include <cstdint>
#include <vector>

namespace kestrum {

// How far back the weak-key choice looks, and what counts as enough to judge a key.
constexpr int kWeakKeyRecentAttempts = 20;
constexpr std::int64_t kWeakKeyMinStrokes = 20;
constexpr std::size_t kMaxWeakKeys = 4;

// A key the learner misses often: its character (lower case) and its keystrokes.
struct WeakKey {
    char key = 0;
    std::int64_t strokes = 0;  // hits and misses
    std::int64_t misses = 0;

    bool operator==(const WeakKey&) const = default;
};

// The keys with the highest miss rate among those struck at least kWeakKeyMinStrokes times and
// missed at least once, at most kMaxWeakKeys, worst first (ties: more misses, then the lower
// character). Upper and lower case count as one key; only keys a drill item can hold (letters,
// digits and , . / ; -) take part.
std::vector<WeakKey> chooseWeakKeys(const std::vector<KeyTally>& totals);

// Whether any drillable key has been struck often enough to judge.
bool enoughToJudge(const std::vector<KeyTally>& totals);

}  // namespace kestrum
