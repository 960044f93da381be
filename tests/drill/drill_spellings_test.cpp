// Romaji items judged against every input-method spelling when the option is on.
#include "drill_fixture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace kestrum::testing {
namespace {

class DrillSpellingsTest : public DrillFixture {
protected:
    // The letters the guide lights as the next key.
    std::string lit() {
        std::string keys;
        for (unsigned char c = 'a'; c <= 'z'; ++c) {
            if (keyState(c) == 2) keys += static_cast<char>(c);
        }
        return keys;
    }

    std::string row() {
        std::string text;
        for (const CharCell& cell : view().cells)
            text += cell.text;
        return text;
    }

    void typeKeys(std::string_view keys) {
        for (const char key : keys)
            press(static_cast<unsigned char>(key));
    }

    // Presses each key and checks the key lit after it (none once the item is done).
    void expectGuides(std::string_view keys, std::string_view guided) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            press(static_cast<unsigned char>(keys[i]));
            EXPECT_EQ(lit(), guided.substr(i, 1)) << "after " << keys.substr(0, i + 1);
        }
    }

    int misses() {
        int total = 0;
        for (const int m : state().miss_counts)
            total += m;
        return total;
    }
};

TEST_F(DrillSpellingsTest, GuideFollowsTheSpellingTheLearnerTypes) {
    settings.romaji_spellings = 1;
    startProblemSet(problemSet({"sinnkannsenn"}, 1));
    EXPECT_EQ(lit(), "s");
    // After "sh" the row is redrawn as "shinkansenn", and the guide follows it from then on.
    expectGuides("shinkansenn", "iinkansenn");
    EXPECT_EQ(misses(), 0);
    EXPECT_EQ(state().key_count, 11);
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));  // the item is done
}

TEST_F(DrillSpellingsTest, WithTheOptionOffOnlyTheShownSpellingCounts) {
    startProblemSet(problemSet({"sinnkannsenn"}, 1));
    expectGuides("shinnkannsenn", "iinnkannsenn");
    EXPECT_EQ(misses(), 1);
    EXPECT_EQ(row(), "sinnkannsenn");
    EXPECT_TRUE(host.isRunning(DrillTimer::pause));
}

TEST_F(DrillSpellingsTest, TheRowIsRedrawnWithItsTypedMarks) {
    settings.romaji_spellings = 1;
    startProblemSet(problemSet({"jitennsya"}, 1));
    typeKeys("jiten");
    EXPECT_EQ(row(), "jitennsya");
    typeKeys("sh");  // a single n, then しゃ as "sh"
    EXPECT_EQ(row(), "jitensha");
    for (std::size_t i = 0; i < view().cells.size(); ++i)
        EXPECT_EQ(view().cells[i].typed, i < 7) << i;
    EXPECT_EQ(state().target, "jitensha");
}

TEST_F(DrillSpellingsTest, ItemsThatAreNotRomajiAreJudgedAsShown) {
    settings.romaji_spellings = 1;
    startProblemSet(problemSet({"hello, world."}, 1));
    typeKeys("hexxo");
    EXPECT_EQ(misses(), 3);  // "hexxo" would spell へっぉ, but the item as a whole is not romaji
    EXPECT_EQ(row(), "hello, world.");
}

TEST_F(DrillSpellingsTest, LetterPatternLessonsStayAsShownEvenWhereTheyReadAsRomaji) {
    settings.romaji_spellings = 1;
    engine().FormShow(2, problem);
    press('s');
    for (int item = 0; item < 3; ++item)
        typeItem();
    ASSERT_EQ(state().target, "wwwwoooo");
    press('x');  // っ as in "xtuwwwoooo"
    EXPECT_EQ(misses(), 1);
}

// Lesson 5 as many learners spell it: Hepburn-style syllables, c for k, a single n before a
// consonant.
std::string otherSpelling(std::string item) {
    const std::vector<std::pair<const char*, const char*>> rules = {
        {"sy", "sh"}, {"ty", "ch"}, {"si", "shi"}, {"ti", "chi"}, {"tu", "tsu"},
        {"hu", "fu"}, {"zi", "ji"}, {"ka", "ca"},  {"ko", "co"},  {"nn([bcdfghjkmprstwz])", "n$1"},
    };
    for (const auto& [from, to] : rules)
        item = std::regex_replace(item, std::regex(from), to);
    return item;
}

class LessonFiveSpellingsTest : public DrillSpellingsTest,
                                public ::testing::WithParamInterface<int> {};

TEST_P(LessonFiveSpellingsTest, OtherSpellingsAreRightOnlyWithTheOption) {
    settings.romaji_spellings = GetParam();
    engine().FormShow(5, problem);
    press('s');
    int pressed = 0;
    int respelled = 0;
    while (host.results.empty()) {
        const std::string keys = otherSpelling(state().target);
        respelled += keys != state().target ? 1 : 0;
        for (const char key : keys) {
            press(static_cast<unsigned char>(key));
            ++pressed;
        }
        EXPECT_TRUE(GetParam() == 0 || state().accept_key == 0) << keys;
        while (state().accept_key == 1)
            press(static_cast<unsigned char>(
                state().target[static_cast<std::size_t>(state().position - 1)]));
        endPause();
    }
    EXPECT_GE(respelled, 5);
    if (GetParam() == 1) {
        EXPECT_EQ(host.results[0].accuracy, 100);
        EXPECT_EQ(state().key_count, pressed);
    } else {
        EXPECT_LT(host.results[0].accuracy, 100);
    }
}

INSTANTIATE_TEST_SUITE_P(OptionOffAndOn, LessonFiveSpellingsTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace kestrum::testing
