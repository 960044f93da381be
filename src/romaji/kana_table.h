#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// One unit of kana that an input method converts as a whole: a plain kana, a combined sound
// (a kana with a small one after it), a small kana, the long-vowel mark or a punctuation mark.
struct KanaUnit {
    std::string kana;                         // UTF-8, so that tests and readers see the kana
    std::vector<std::string_view> spellings;  // the usual one first
    // A combined sound may also be typed as its base kana followed by its small kana.
    std::string_view base;
    std::string_view small;
};

// Every unit the romaji reader knows. ん and っ are in it with the spellings that need no
// neighbour (nn, xn; xtu, ltu, xtsu, ltsu); the spellings that depend on the next kana are
// added where the units are joined.
const std::vector<KanaUnit>& kanaUnits();

// Index of the unit of ん and of っ in kanaUnits().
int syllabicN();
int smallTsu();

// The unit whose kana is `kana`, or -1.
int unitOfKana(std::string_view kana);

// Every way to type the unit on its own: its spellings, then for a combined sound each spelling
// of its base kana followed by each spelling of its small kana.
const std::vector<std::string>& spellingsOf(int unit);

}  // namespace kestrum
