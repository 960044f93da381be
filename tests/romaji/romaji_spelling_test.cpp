// Reading romaji as kana and accepting every spelling an input method takes for it.
#include "romaji/romaji_reader.h"
#include "romaji/romaji_typing.h"
#include "romaji/spelling_automaton.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kestrum {
namespace {

// True when `typed` spells the whole of what `item` reads as.
bool accepts(std::string_view item, std::string_view typed) {
    const SpellingAutomaton automaton(*readRomaji(item));
    int state = automaton.start();
    for (const char key : typed) {
        state = automaton.next(state, static_cast<unsigned char>(key));
        if (state == SpellingAutomaton::kNoState) return false;
    }
    return automaton.accepts(state);
}

// Each item of data/romaji_spellings.tsv with spellings taken and refused for what it reads as;
// ん and っ depend on the kana after them ("kani" is かに, "kanni" かんい).
TEST(RomajiSpellings, TakeWhatTheInputMethodsTake) {
    const auto rows = testing::tableRows("romaji_spellings.tsv");
    ASSERT_EQ(rows.size(), 28u);
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t column : {1, 2}) {
            std::istringstream list(row.at(column));
            for (std::string typed; list >> typed;)
                EXPECT_EQ(accepts(row[0], typed), column == 1) << row[0] << " as " << typed;
        }
    }
}

// Types the keys one by one; returns the verdicts as H(it), M(iss) or C(ase miss).
std::string typeAll(RomajiTyping& typing, std::string_view keys, bool caseMatters = true) {
    std::string verdicts;
    for (const char key : keys) {
        const auto v = typing.press(static_cast<unsigned char>(key), caseMatters).verdict;
        verdicts += v == RomajiTyping::Verdict::Hit    ? 'H'
                    : v == RomajiTyping::Verdict::Miss ? 'M'
                                                       : 'C';
    }
    return verdicts;
}

// The row follows the spelling the learner chose (the drill's test shows more); a miss, even deep
// in a long spelling, leaves it as it was; an item in capitals stays in capitals.
TEST(RomajiTypingRow, FollowsTheLearnersSpellingInTheItemsCase) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("sya"));
    EXPECT_EQ(typeAll(typing, "shix"), "HHHH");
    EXPECT_EQ(typing.press('a', true).expected, 'y');
    EXPECT_EQ(typeAll(typing, "kyaa"), "MHHM");
    EXPECT_EQ(typing.row(), "shixya");
    ASSERT_TRUE(typing.load("SINN"));
    EXPECT_EQ(typeAll(typing, "ShInN", false), "HHHHH");
    EXPECT_EQ(typing.row(), "SHINN");
    ASSERT_TRUE(typing.load("SINN"));
    EXPECT_EQ(typeAll(typing, "Sh"), "HC");
    EXPECT_EQ(typing.press('h', true).expected, 'H');
    EXPECT_FALSE(typing.load("Sinn"));
}

}  // namespace
}  // namespace kestrum
