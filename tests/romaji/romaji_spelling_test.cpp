// Reading romaji as kana and accepting every spelling an input method takes for it.
#include "romaji/romaji_reader.h"
#include "romaji/romaji_typing.h"
#include "romaji/spelling_automaton.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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
    std::ifstream in(std::string(KESTRUM_TEST_DATA) + "/romaji_spellings.tsv");
    int items = 0;
    for (std::string item, good, bad;
         std::getline(in, item, '\t') && std::getline(in, good, '\t') && std::getline(in, bad);) {
        if (item.starts_with('#')) continue;
        ++items;
        for (const auto& [spellings, right] : {std::pair{good, true}, std::pair{bad, false}}) {
            std::istringstream list(spellings);
            for (std::string typed; list >> typed;)
                EXPECT_EQ(accepts(item, typed), right) << item << " as " << typed;
        }
    }
    EXPECT_EQ(items, 28);
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

// The row follows the spelling the learner chose; a miss, even deep in a long spelling,
// leaves it as it was.
TEST(RomajiTypingRow, FollowsTheLearnersSpelling) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("syuukannsi"));
    EXPECT_EQ(typing.row(), "syuukannsi");
    EXPECT_EQ(typeAll(typing, "sh"), "HH");
    EXPECT_EQ(typing.row(), "shuukansi");  // the shortest from here: single n before s
    // "shuukansi" and "shuukanshi" share eight keys; the ninth decides.
    EXPECT_EQ(typeAll(typing, "uukansh"), "HHHHHHH");
    EXPECT_EQ(typing.row(), "shuukanshi");
    EXPECT_EQ(typeAll(typing, "i"), "H");

    ASSERT_TRUE(typing.load("sya"));
    EXPECT_EQ(typeAll(typing, "shix"), "HHHH");
    EXPECT_EQ(typing.press('a', true).expected, 'y');
    EXPECT_EQ(typeAll(typing, "kyaa"), "MHHM");
    EXPECT_EQ(typing.row(), "shixya");
}

TEST(RomajiTypingRow, KeepsTheCaseOfTheItem) {
    RomajiTyping typing;
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
