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
    const std::optional<SpellingAutomaton> automaton = SpellingAutomaton::forItem(item);
    int state = automaton ? automaton->start() : SpellingAutomaton::kNoState;
    for (std::size_t i = 0; i < typed.size() && state != SpellingAutomaton::kNoState; ++i)
        state = automaton->next(state, static_cast<unsigned char>(typed[i]));
    return state != SpellingAutomaton::kNoState && automaton->accepts(state);
}

// Every kana of the input method's table (data/romaji_kana.tsv): each of its spellings reads as
// it, and a word of its first spelling takes all of them but not the look-alikes.
TEST(RomajiSpellings, EveryKanaOfTheTable) {
    const auto rows = testing::tableRows("romaji_kana.tsv");
    ASSERT_GT(rows.size(), 200u);
    for (const std::vector<std::string>& row : rows) {
        std::istringstream taken(row.at(1)), refused(row.at(2));
        std::string first;
        for (std::string typed; taken >> typed;) {
            std::string kana;
            for (const ReadUnit& unit : readRomajiWord(typed).value_or(std::vector<ReadUnit>{}))
                kana += unit.kana;
            EXPECT_EQ(kana, row[0]) << typed;
            first = first.empty() ? typed : first;
            EXPECT_TRUE(accepts(first, typed)) << row[0] << " as " << typed;
        }
        for (std::string typed; refused >> typed;)
            EXPECT_FALSE(accepts(first, typed)) << row[0] << " as " << typed;
    }
}

// Items with spellings taken and refused (data/romaji_items.tsv): ん and っ depend on the kana
// after them ("kani" is かに, "kanni" かんい), a final n is ん, and each word reads on its own.
// An item no word of which reads as romaji (three w's are letters, not っ) has no automaton.
TEST(RomajiSpellings, ItemsWordByWord) {
    for (const std::vector<std::string>& row : testing::tableRows("romaji_items.tsv"))
        EXPECT_EQ(accepts(row.at(0), row.at(1)), row.at(2) == "1") << row[0] << " as " << row[1];
    for (const std::string_view none :
         {"asdf jkl;", "ffjj ffjj fjfj fjfj", "Hello", "tchi", "a+b", "wwwa"})
        EXPECT_FALSE(SpellingAutomaton::forItem(none)) << none;
}

// The row and the verdicts after some keys (data/romaji_rows.tsv): the keys typed, then the
// shortest spelling that continues them, each kana keeping the item's spelling where it can; a
// miss leaves the row alone; each word keeps its case, and a word of mixed case its one spelling.
TEST(RomajiTypingRow, RedrawsTheShortestContinuation) {
    for (const std::vector<std::string>& row : testing::tableRows("romaji_rows.tsv")) {
        RomajiTyping typing;
        ASSERT_TRUE(typing.load(row.at(0))) << row[0];
        std::string verdicts;
        for (const char key : row.at(1))
            verdicts += "HMC"[static_cast<int>(
                typing.press(static_cast<unsigned char>(key), true).verdict)];
        EXPECT_EQ(typing.row(), row.at(2)) << row[0] << " after " << row[1];
        EXPECT_EQ(verdicts, row.at(3)) << row[0] << " after " << row[1];
    }
}

// A miss is filed under the row's next key; without case mattering either case is right.
TEST(RomajiTypingRow, MissesAndKeysOfEitherCase) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("sya SINN Sinn"));
    for (const char key : std::string_view("shi"))
        typing.press(static_cast<unsigned char>(key), true);
    EXPECT_EQ(typing.press('a', true).expected, 'x');
    for (const char key : std::string_view("xya shInN sInn"))
        EXPECT_EQ(typing.press(static_cast<unsigned char>(key), false).verdict,
                  RomajiTyping::Verdict::Hit)
            << key;
    EXPECT_EQ(typing.row(), "shixya SHINN Sinn");
}

}  // namespace
}  // namespace kestrum
