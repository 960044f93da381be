#pragma once

#include "romaji/spelling_automaton.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

// Follows the learner through one item typed in any spelling an input method accepts, and keeps
// the row to show: the keys typed so far followed by the rest of a spelling they continue.
class RomajiTyping {
public:
    enum class Verdict { Hit, Miss, CaseMiss };
    struct Judgement {
        Verdict verdict = Verdict::Miss;
        // The byte the key is filed under: the key in the item's case for a hit or a key right
        // but for its case, the row's next byte for a miss.
        unsigned char expected = 0;
        bool respelled = false;  // a hit that redrew the row from this key on
    };

    // Prepares the item, read word by word (see SpellingAutomaton::forItem). Returns false, and
    // leaves nothing prepared, when no word of it reads as romaji.
    bool load(std::string_view item);

    // Judges the next key. A hit moves on and, when the key leaves the row's spelling, redraws
    // the rest of the row in the shortest spelling that continues the keys typed. A letter of
    // the other case counts as its own letter unless caseMatters.
    Judgement press(unsigned char key, bool caseMatters);

    // The row in the item's case; after the last key it is exactly the keys typed. It may grow
    // longer than the item.
    const std::string& row() const { return row_; }

private:
    std::optional<SpellingAutomaton> automaton_;
    int state_ = 0;
    std::size_t typed_ = 0;
    std::string row_;
};

}  // namespace kestrum
