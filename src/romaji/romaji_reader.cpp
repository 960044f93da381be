#include "romaji/romaji_reader.h"

#include "romaji/kana_table.h"

#include <algorithm>
#include <cstddef>

namespace kestrum {

namespace {

bool isVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

}  // namespace

bool isConsonant(char c) {
    return c >= 'a' && c <= 'z' && !isVowel(c);
}

std::optional<std::vector<ReadUnit>> readRomajiWord(std::string_view word) {
    std::vector<ReadUnit> units;
    std::size_t at = 0;
    while (at < word.size()) {
        const char c = word[at];
        const char after = at + 1 < word.size() ? word[at + 1] : '\0';
        if (c == 'n' && after != 'n' && (after == '\0' || (isConsonant(after) && after != 'y'))) {
            units.push_back({kSyllabicN, word.substr(at, 1)});
            ++at;
            continue;
        }
        if (isConsonant(c) && c != 'n' && after == c) {
            // Three w's in a row are left as letters rather than read as っ.
            if (c == 'w' && at + 2 < word.size() && word[at + 2] == 'w') return std::nullopt;
            units.push_back({kSmallTsu, word.substr(at, 1)});
            ++at;
            continue;
        }
        // Apart from n the table's spellings are no prefix of one another: at most one fits.
        std::size_t length = std::min(kLongestSpelling, word.size() - at);
        while (length > 0 && kanaOfSpelling(word.substr(at, length)).empty())
            --length;
        if (length == 0) return std::nullopt;
        units.push_back({kanaOfSpelling(word.substr(at, length)), word.substr(at, length)});
        at += length;
    }
    return units;
}

}  // namespace kestrum
