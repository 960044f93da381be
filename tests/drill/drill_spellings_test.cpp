// Romaji items judged against every input-method spelling when the option is on.
#include "drill_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
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
        return std::accumulate(state().miss_counts.begin(), state().miss_counts.end(), 0);
    }
};

// The guide lights the next key of the spelling being typed: after "sh" the row becomes
// "shinkansenn". With the option off only the shown spelling counts.
TEST_F(DrillSpellingsTest, GuideFollowsTheSpellingTheLearnerTypes) {
    for (const int option : {1, 0}) {
        settings.romaji_spellings = option;
        startProblemSet(problemSet({"sinnkannsenn"}, 1));
        EXPECT_EQ(lit(), "s");
        const char* keys = option == 1 ? "shinkansenn" : "shinnkannsenn";
        expectGuides(keys, option == 1 ? "iinkansenn" : "iinnkannsenn");
        EXPECT_EQ(misses(), 1 - option);
        EXPECT_EQ(state().key_count, static_cast<int>(std::strlen(keys)));
        EXPECT_EQ(row(), option == 1 ? "shinkansenn" : "sinnkannsenn");
        EXPECT_TRUE(host.isRunning(DrillTimer::pause));  // the item is done
    }
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
}

// "hexxo" would spell へっぉ and "xtuwwwoooo" っうぉ, but neither item as a whole reads as romaji.
TEST_F(DrillSpellingsTest, ItemsThatAreNotRomajiAreJudgedAsShown) {
    settings.romaji_spellings = 1;
    startProblemSet(problemSet({"hello, world."}, 1));
    typeKeys("hexxo");
    EXPECT_EQ(misses(), 3);
    engine().FormShow(2, problem);  // a letter-pattern lesson
    press('s');
    for (int item = 0; item < 3; ++item)
        typeItem();
    ASSERT_EQ(state().target, "wwwwoooo");
    press('x');
    EXPECT_EQ(misses(), 1);
}

// Lesson 5 as many learners spell it: Hepburn-style syllables, c for k, a single n before a
// consonant.
std::string otherSpelling(std::string item) {
    const std::vector<std::pair<const char*, const char*>> rules = {
        {"sy", "sh"}, {"ty", "ch"}, {"si", "shi"}, {"ti", "chi"}, {"tu", "tsu"},
        {"hu", "fu"}, {"zi", "ji"}, {"ka", "ca"},  {"ko", "co"},  {"nn([bcdfghjkmprstwz])", "n$1"}};
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
