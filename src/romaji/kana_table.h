#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kestrum {

// ん and っ, whose spellings also depend on the letters around them.
inline constexpr std::string_view kSyllabicN = "ん";
inline constexpr std::string_view kSmallTsu = "っ";

// The spellings an input method's romaji table gives a kana (UTF-8: one kana, a kana with its
// small kana, or one of the few symbols it writes for letters), the usual one first. Only
// spellings of letters are listed: the punctuation - , . stays as typed between words, and the
// spellings of ん and っ that depend on their neighbours are the reader's and the automaton's.
// Nothing when the table has no spelling for `kana`.
const std::vector<std::string_view>& spellingsOfKana(std::string_view kana);

// The kana a spelling of the table writes, or nothing.
std::string_view kanaOfSpelling(std::string_view spelling);

// The length of the longest spelling of the table.
inline constexpr std::size_t kLongestSpelling = 4;  // xtsu, hwyu

}  // namespace kestrum
