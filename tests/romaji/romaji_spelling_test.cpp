// Reading romaji as kana and accepting every spelling an input method takes for it.
#include "romaji/romaji_reader.h"
#include "romaji/romaji_typing.h"
#include "romaji/spelling_automaton.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kestrum {
namespace {

std::vector<std::string> split(const std::string& cell, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(cell);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// True when `typed` spells the whole of what `item` reads as.
bool accepts(std::string_view item, std::string_view typed) {
    const std::optional<SpellingAutomaton> automaton = SpellingAutomaton::forItem(item);
    if (!automaton) return false;
    int state = automaton->start();
    for (const char key : typed) {
        state = automaton->next(state, static_cast<unsigned char>(key));
        if (state == SpellingAutomaton::kNoState) return false;
    }
    return automaton->accepts(state);
}

// Every kana of the input method's table (data/romaji_kana.tsv): each of its spellings reads as
// it, and a word of its first spelling takes all of them but not the look-alikes.
TEST(RomajiSpellings, EveryKanaOfTheTable) {
    const auto rows = testing::tableRows("romaji_kana.tsv");
    ASSERT_GT(rows.size(), 200u);
    for (const std::vector<std::string>& row : rows) {
        const std::vector<std::string> taken = split(row.at(1), ' ');
        for (const std::string& typed : taken) {
            std::string kana;
            for (const ReadUnit& unit : readRomajiWord(typed).value_or(std::vector<ReadUnit>{}))
                kana += unit.kana;
            EXPECT_EQ(kana, row[0]) << typed;
            EXPECT_TRUE(accepts(taken[0], typed)) << row[0] << " as " << typed;
        }
        for (const std::string& typed : split(row.at(2), ' '))
            EXPECT_FALSE(accepts(taken[0], typed)) << row[0] << " as " << typed;
    }
}

// Items with spellings taken and refused (data/romaji_items.tsv): ん and っ depend on the kana
// after them ("kani" is かに, "kanni" かんい), a final n is ん, and each word reads on its own.
TEST(RomajiSpellings, ItemsWordByWord) {
    for (const std::vector<std::string>& row : testing::tableRows("romaji_items.tsv")) {
        for (std::size_t column : {1, 2}) {
            for (const std::string& typed : split(row.at(column), '|'))
                EXPECT_EQ(accepts(row[0], typed), column == 1) << row[0] << " as " << typed;
        }
    }
    for (const std::string_view none : {"asdf jkl;", "ffjj ffjj fjfj fjfj", "Hello", "tchi", "a+b"})
        EXPECT_FALSE(SpellingAutomaton::forItem(none)) << none;
}

// The row after each key (data/romaji_rows.tsv): the keys typed, then the shortest spelling
// that continues them, each kana keeping the item's spelling where it can.
TEST(RomajiTypingRow, RedrawsTheShortestContinuation) {
    for (const std::vector<std::string>& row : testing::tableRows("romaji_rows.tsv")) {
        RomajiTyping typing;
        ASSERT_TRUE(typing.load(row.at(0))) << row[0];
        const std::vector<std::string> rows = split(row.at(2), '|');
        ASSERT_EQ(rows.size(), row.at(1).size()) << row[0];
        for (std::size_t i = 0; i < rows.size(); ++i) {
            typing.press(static_cast<unsigned char>(row[1][i]), true);
            EXPECT_EQ(typing.row(), rows[i]) << row[0] << " after " << row[1].substr(0, i + 1);
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

// A miss, even deep in a long spelling, leaves the row as it was and is filed under the row's
// next byte; each word keeps its own case, and a word of mixed case only its one spelling.
TEST(RomajiTypingRow, MissesAndTheCaseOfEachWord) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("sya"));
    EXPECT_EQ(typeAll(typing, "shix"), "HHHH");
    EXPECT_EQ(typing.press('a', true).expected, 'y');
    EXPECT_EQ(typeAll(typing, "kyaa"), "MHHM");
    EXPECT_EQ(typing.row(), "shixya");
    ASSERT_TRUE(typing.load("SINN Sinn"));
    EXPECT_EQ(typeAll(typing, "ShInN sInn", false), "HHHHHHHHHH");
    EXPECT_EQ(typing.row(), "SHINN Sinn");
    ASSERT_TRUE(typing.load("SINN Sinn"));
    EXPECT_EQ(typeAll(typing, "Sh"), "HC");
    EXPECT_EQ(typing.press('h', true).expected, 'H');
    EXPECT_EQ(typeAll(typing, "INN sShinn"), "HHHHCHMHHH");
}

}  // namespace
}  // namespace kestrum
