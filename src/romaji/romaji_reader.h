#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kestrum {

// One piece of a word read as romaji: the kana an input method writes for it and the letters
// that spelled it there.
struct ReadUnit {
    std::string_view kana;      // UTF-8, from the kana table
    std::string_view spelling;  // a slice of the word that was read

    bool operator==(const ReadUnit&) const = default;
};

// Reads one word of lower-case letters the way an input method converts it, left to right: nn
// is ん, a single n is ん before a consonant other than n and y and at the end of the word, a
// doubled consonant other than n is っ (but www is not), and otherwise the table's spelling that
// starts there is taken. Nothing when any part of the word does not convert.
std::optional<std::vector<ReadUnit>> readRomajiWord(std::string_view word);

// A lower-case letter other than a, e, i, o, u.
bool isConsonant(char c);

}  // namespace kestrum
