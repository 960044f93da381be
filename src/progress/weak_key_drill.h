#pragma once

#include "drill/lesson.h"
#include "platform/message.h"
#include "progress/attempt.h"
#include "progress/store_fault.h"

#include <optional>
#include <vector>

namespace kestrum {

// The drill's history key name (code page 932) and caption, "苦手キー練習".
Bytes weakKeyDrillName();

struct WeakKeyDrill {
    std::optional<lesson> record;  // nothing when the history does not tell weak keys yet
    Messages messages;             // why not, in Japanese
};

// A drill in the manner of the letter-pattern lessons, from the weak keys that `recentTotals`
// shows: each weak key paired with the home-position key of its finger (or, for a home key, the
// same finger's home key on the other hand) in three eight-key patterns, then one pattern that
// mixes all weak keys with their partners; every item once in order, then drawn at random, 15
// items in all. Each item's comment names the key's hand and finger. A built-in lesson (kind 0):
// it takes only the spelling shown, whatever the romaji option. `health` is what the store said
// of `recentTotals`: no drill from a history that could not be read, and no "practise more"
// while what is practised cannot be kept.
WeakKeyDrill buildWeakKeyDrill(const std::vector<KeyTally>& recentTotals,
                               StoreHealth health = StoreHealth::Keeps);

}  // namespace kestrum
