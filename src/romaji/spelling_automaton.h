#pragma once

#include "romaji/romaji_reader.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// Every key sequence an input method accepts for a run of kana, as a deterministic automaton over
// lower-case letters and - , . built once per item, so that judging a key is one table look-up.
// Besides each unit's own spellings it accepts ん as a single n before a consonant other than n
// and y, and っ as the doubled first consonant (not n) of the kana after it.
class SpellingAutomaton {
public:
    static constexpr int kNoState = -1;

    // The units as read; each one's own spelling is preferred where spellings are equally short.
    explicit SpellingAutomaton(const std::vector<ReadUnit>& units);

    int start() const { return 0; }
    // The state after `key` (a lower-case letter, '-', ',' or '.'), or kNoState when no spelling
    // continues with it. A key that would lead only into a dead end has no state either.
    int next(int state, unsigned char key) const;
    // True when the keys so far spell the whole text.
    bool accepts(int state) const;
    // The fewest keys that complete a spelling from `state`; among equally short ones, each kana
    // keeps its own spelling or else the table's usual one.
    std::string completion(int state) const;

private:
    static constexpr int kSymbols = 29;  // a..z - , .
    std::vector<std::array<std::int32_t, kSymbols>> next_;
    std::vector<std::int32_t> distance_;  // keys to the nearest end
    std::vector<std::int8_t> best_;       // the symbol that starts the preferred completion
};

}  // namespace kestrum
