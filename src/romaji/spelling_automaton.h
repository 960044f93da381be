#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

struct SpellingNfa;

// Every key sequence an input method turns into the same text as an item, as a deterministic
// automaton over the drill's characters, built once per item so that judging a key is one table
// look-up.
class SpellingAutomaton {
public:
    static constexpr int kNoState = -1;

    // See buildSpellingNfa: nothing when the item holds a byte other than the drill's characters
    // or no word of it reads as romaji.
    static std::optional<SpellingAutomaton> forItem(std::string_view item);

    int start() const { return 0; }
    // The state after `key` (a letter in either case, a digit, a blank or , . / ; -), or kNoState
    // when no spelling continues with it. A key that would lead only into a dead end has no
    // state either.
    int next(int state, unsigned char key) const;
    // `key` as the item shows it after `state`: a letter in the case of its word.
    unsigned char inItemCase(int state, unsigned char key) const;
    // True when the keys so far spell the whole item.
    bool accepts(int state) const;
    // The fewest keys that complete a spelling from `state`, in the item's case; among equally
    // short ones, each kana keeps its own spelling or else the table's usual one.
    std::string completion(int state) const;

private:
    explicit SpellingAutomaton(const SpellingNfa& nfa);

    static constexpr int kSymbols = 42;  // a..z 0..9 blank , . / ; -
    std::vector<std::array<std::int32_t, kSymbols>> next_;
    std::vector<std::int32_t> distance_;  // keys to the nearest end
    std::vector<std::int8_t> best_;       // the symbol that starts the preferred completion
    std::vector<bool> upper_;             // the state's letters are capitals
};

}  // namespace kestrum
