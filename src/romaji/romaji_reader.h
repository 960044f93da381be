#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kestrum {

// One kana unit of a text read as romaji, with the letters that spelled it there.
struct ReadUnit {
    int unit = -1;              // index in kanaUnits()
    std::string_view spelling;  // a slice of the text that was read

    bool operator==(const ReadUnit&) const = default;
};

// Reads lower-case romaji the way an input method converts it, left to right: nn is ん, a single
// n is ん only before a consonant other than y, a doubled consonant other than n is っ, and
// otherwise the longest spelling of the table is taken. A kana followed by its small kana is
// read as the combined sound. Nothing when any part of the text does not convert, a single n at
// the end included.
std::optional<std::vector<ReadUnit>> readRomaji(std::string_view text);

// A lower-case letter other than a, e, i, o, u.
bool isConsonant(char c);

}  // namespace kestrum
