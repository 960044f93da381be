// Romaji items judged against every input-method spelling when the option is on.
#include "drill_fixture.h"

#include <gtest/gtest.h>

#include <numeric>
#include <regex>
#include <string>

namespace kestrum::testing {
namespace {

class DrillSpellingsTest : public DrillFixture {
protected:
    // The letters the guide lights as the next key.
    std::string lit() {
        std::string keys;
        for (char c = 'a'; c <= 'z'; ++c)
            keys += keyState(static_cast<unsigned char>(c)) == 2 ? std::string(1, c) : "";
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
        const std::string keys = option == 1 ? "shinkansenn" : "shinnkannsenn";
        const std::string guided = option == 1 ? "iinkansenn" : "iinnkannsenn";
        for (std::size_t i = 0; i < keys.size(); ++i) {
            press(static_cast<unsigned char>(keys[i]));
            EXPECT_EQ(lit(), guided.substr(i, 1)) << "after " << keys.substr(0, i + 1);
        }
        EXPECT_EQ(misses(), 1 - option);
        EXPECT_EQ(state().key_count, static_cast<int>(keys.size()));
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

// "hexxo" would spell へっぉ, but the item as a whole does not read as romaji.
TEST_F(DrillSpellingsTest, ItemsThatAreNotRomajiAreJudgedAsShown) {
    settings.romaji_spellings = 1;
    startProblemSet(problemSet({"hello, world."}, 1));
    typeKeys("hexxo");
    EXPECT_EQ(misses(), 3);
}

// Lesson 5 as many learners spell it (Hepburn-style syllables, c for k, a single n before a
// consonant) is all right with the option on, and not with it off.
TEST_F(DrillSpellingsTest, LessonFiveInOtherSpellings) {
    const std::pair<const char*, const char*> rules[] = {
        {"sy", "sh"}, {"ty", "ch"}, {"si", "shi"}, {"ti", "chi"}, {"tu", "tsu"},
        {"hu", "fu"}, {"zi", "ji"}, {"ka", "ca"},  {"ko", "co"},  {"nn([bcdfghjkmprstwz])", "n$1"}};
    for (const int option : {0, 1}) {
        settings.romaji_spellings = option;
        host.results.clear();
        engine().FormShow(5, problem);
        press('s');
        int pressed = 0;
        int respelled = 0;
        while (host.results.empty()) {
            std::string keys = state().target;
            for (const auto& [from, to] : rules)
                keys = std::regex_replace(keys, std::regex(from), to);
            respelled += keys != state().target ? 1 : 0;
            typeKeys(keys);
            pressed += static_cast<int>(keys.size());
            EXPECT_TRUE(option == 0 || state().accept_key == 0) << keys;
            while (state().accept_key == 1)
                pressTarget(static_cast<std::size_t>(state().position - 1));
            endPause();
        }
        EXPECT_GE(respelled, 5);
        EXPECT_EQ(host.results[0].accuracy == 100, option == 1);
        if (option == 1) {
            EXPECT_EQ(state().key_count, pressed);
        }
    }
}

}  // namespace
}  // namespace kestrum::testing
