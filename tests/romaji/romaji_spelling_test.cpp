// Reading romaji as kana and accepting every spelling an input method takes for it.
#include "romaji/romaji_reader.h"
#include "romaji/romaji_typing.h"
#include "romaji/spelling_automaton.h"

#include <gtest/gtest.h>

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

// Each item with good and bad spellings of what it reads as; ん and っ depend on the kana after
// them ("kani" is かに, "kanni" かんい).
TEST(RomajiSpellings, TakeWhatTheInputMethodsTake) {
    const char* const cases[][3] = {
        {"sitituhuzididu", "shichitsufujididu cititsuhuzididu", "sititshuzididu"},
        {"kakukose", "cacucoce kaqukoce", ""},
        {"syasyusyesyo", "shashushesho sixyashilyucixesyo", "syashusheshoo"},
        {"tyatyutye", "chachuche cyacyucye tixyachilyuchixe", ""},
        {"zyazyuzyo", "jajujo jyajyujyo zixyajilyujixyo", ""},
        {"fafifefo", "fafifefo huxafulihuxefulo", ""},
        {"thidhitwudwu", "thidhitwudwu texidelitoxudolu", ""},
        {"wiweyevuwo", "whiwheyevuwo uxiuleixevuwo", ""},
        {"xaxixuxexoxyaxyuxyoxwa", "lalilulelolyalyulyolwa", ""},
        {"xtu", "xtu ltu xtsu ltsu", ""},
        {"ko-hi-,a.", "ko-hi-,a.", "ko-hi-a."},
        {"kannji", "kanji kannji kaxnji kanzi", "kannnji"},
        {"kanni", "kanni kaxni", "kani"},
        {"kani", "kani", "kanni kanii"},
        {"kannyou", "kannyou kaxnyou", "kanyou"},
        {"konnnitiha", "konnnichiha koxnnitiha", "konnichiha"},
        {"honn", "honn hoxn", "hon honnn"},
        {"hokkyoku", "hokkyoku hoxtukyoku holtsukyoku", "hokyoku"},
        {"zassi", "zassi zasshi zacci", "zasi"},
        {"matti", "macchi matti maxtuchi", "matchi mattchi"},
        {"beddobaggukappa", "beddobaggukappa", "bedobagukapa"},
        {"ozzya", "ojja ozzya ojjya", "ozja"},
        {"haffa", "haffa hahhuxa", ""},
        {"yyaxxa", "yyaxxa xtuyalla", ""},
        {"axtua", "axtua altsua", "aaa"},
        {"axtunn", "axtunn", "annn"},
        {"xtuxtu", "xxtu lltsu xtultu", ""},
        {"sinnkannsenn", "shinkansenn sinnkannsenn cinkaxnsexn", "shinkansen"},
    };
    for (const auto& [item, good, bad] : cases) {
        for (const bool right : {true, false}) {
            std::istringstream spellings(right ? good : bad);
            for (std::string typed; spellings >> typed;)
                EXPECT_EQ(accepts(item, typed), right) << item << " as " << typed;
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
