// Reading romaji as kana and accepting every spelling an input method takes for it.
#include "romaji/kana_table.h"
#include "romaji/romaji_reader.h"
#include "romaji/romaji_typing.h"
#include "romaji/spelling_automaton.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrum {
namespace {

std::optional<std::string> kanaOf(std::string_view romaji) {
    const auto units = readRomaji(romaji);
    if (!units) return std::nullopt;
    std::string kana;
    for (const ReadUnit& u : *units)
        kana += kanaUnits()[static_cast<std::size_t>(u.unit)].kana;
    return kana;
}

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

TEST(RomajiReading, ConvertsAsAnInputMethodDoes) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"sinnkannsenn", "しんかんせん"},
        {"kani", "かに"},
        {"kanni", "かんい"},
        {"kannyou", "かんよう"},
        {"kanyou", "かにょう"},
        {"macchi", "まっち"},
        {"hokkyoku", "ほっきょく"},
        {"kannko-hi-", "かんこーひー"},
        {"tyotto,ippuku", "ちょっと、いっぷく"},
        {"sixyatu.", "しゃつ。"},
        {"kyanndhi-", "きゃんでぃー"},
        {"xtuxn", "っん"},
    };
    for (const auto& [romaji, kana] : cases)
        EXPECT_EQ(kanaOf(romaji), std::optional<std::string>(kana)) << romaji;
    for (const char* notRomaji : {"hello, world.", "ffjj", "kan", "tt", "a;a;", "fjfjfjfj"})
        EXPECT_EQ(kanaOf(notRomaji), std::nullopt) << notRomaji;
}

// Good and bad spellings of what each item reads as; ん and っ depend on the kana after them.
TEST(RomajiSpellings, TakeWhatTheInputMethodsTake) {
    struct Case {
        const char* item;
        std::vector<const char*> good;
        std::vector<const char*> bad;
    };
    const std::vector<Case> cases = {
        {"sitituhuzididu", {"shichitsufujididu", "cititsuhuzididu"}, {"sititshuzididu"}},
        {"kakukose", {"cacucoce", "kaqukoce"}, {}},
        {"syasyusyesyo", {"shashushesho", "sixyashilyucixesyo"}, {"syashusheshoo"}},
        {"tyatyutye", {"chachuche", "cyacyucye", "tixyachilyuchixe"}, {}},
        {"zyazyuzyo", {"jajujo", "jyajyujyo", "zixyajilyujixyo"}, {}},
        {"fafifefo", {"fafifefo", "huxafulihuxefulo"}, {}},
        {"thidhitwudwu", {"thidhitwudwu", "texidelitoxudolu"}, {}},
        {"wiweyevuwo", {"whiwheyevuwo", "uxiuleixevuwo"}, {}},
        {"xaxixuxexo", {"lalilulelo"}, {}},
        {"xyaxyuxyoxwa", {"lyalyulyolwa"}, {}},
        {"xtu", {"xtu", "ltu", "xtsu", "ltsu"}, {}},
        {"kyapu", {"kixyapu", "kilyapu"}, {}},
        {"ko-hi-,a.", {"ko-hi-,a."}, {"ko-hi-a."}},
        {"kannji", {"kanji", "kannji", "kaxnji", "kanzi"}, {"kannnji"}},
        {"kanni", {"kanni", "kaxni"}, {"kani"}},
        {"kani", {"kani"}, {"kanni", "kanii"}},
        {"kannyou", {"kannyou", "kaxnyou"}, {"kanyou"}},
        {"konnnitiha", {"konnnichiha", "koxnnitiha"}, {"konnichiha"}},
        {"honn", {"honn", "hoxn"}, {"hon", "honnn"}},
        {"hokkyoku", {"hokkyoku", "hoxtukyoku", "holtsukyoku"}, {"hokyoku"}},
        {"zassi", {"zassi", "zasshi", "zacci"}, {"zasi"}},
        {"matti", {"macchi", "matti", "maxtuchi"}, {"matchi", "mattchi"}},
        {"beddobaggukappa", {"beddobaggukappa"}, {"bedobagukapa"}},
        {"ozzya", {"ojja", "ozzya", "ojjya"}, {"ozja"}},
        {"haffa", {"haffa", "hahhuxa"}, {}},
        {"yyaxxa", {"yyaxxa", "xtuyalla"}, {}},
        {"axtua", {"axtua", "altsua"}, {"aaa"}},
        {"axtunn", {"axtunn"}, {"annn"}},
        {"xtuxtu", {"xxtu", "lltsu", "xtultu"}, {}},
        {"sinnkannsenn", {"shinkansenn", "sinnkannsenn", "cinkaxnsexn"}, {"shinkansen"}},
    };
    for (const Case& c : cases) {
        for (const char* typed : c.good)
            EXPECT_TRUE(accepts(c.item, typed)) << c.item << " as " << typed;
        for (const char* typed : c.bad)
            EXPECT_FALSE(accepts(c.item, typed)) << c.item << " as " << typed;
    }
}

// Types the keys one by one; returns the verdicts as H, M or C.
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

TEST(RomajiTypingRow, FollowsTheSpellingTheLearnerChose) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("syuukannsi"));
    EXPECT_EQ(typing.row(), "syuukannsi");
    EXPECT_EQ(typeAll(typing, "sh"), "HH");
    EXPECT_EQ(typing.row(), "shuukansi");  // the shortest from here: single n before s
    // "shuukansi" and "shuukanshi" share eight keys; the ninth decides.
    EXPECT_EQ(typeAll(typing, "uukansh"), "HHHHHHH");
    EXPECT_EQ(typing.row(), "shuukanshi");
    EXPECT_EQ(typeAll(typing, "i"), "H");
}

TEST(RomajiTypingRow, AMistakeInALongSpellingLeavesTheRowAsItWas) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("sya"));
    EXPECT_EQ(typeAll(typing, "shix"), "HHHH");
    EXPECT_EQ(typing.row(), "shixya");
    const RomajiTyping::Judgement miss = typing.press('a', true);
    EXPECT_EQ(miss.verdict, RomajiTyping::Verdict::Miss);
    EXPECT_EQ(miss.expected, 'y');
    EXPECT_EQ(typeAll(typing, "kyaa"), "MHHM");
    EXPECT_EQ(typing.row(), "shixya");
}

TEST(RomajiTypingRow, KeepsTheCaseOfTheItem) {
    RomajiTyping typing;
    ASSERT_TRUE(typing.load("SINN"));
    EXPECT_EQ(typeAll(typing, "Sh"), "HC");
    EXPECT_EQ(typing.press('h', true).expected, 'H');
    EXPECT_EQ(typeAll(typing, "hInN", false), "HHHH");
    EXPECT_EQ(typing.row(), "SHINN");
    EXPECT_FALSE(typing.load("Sinn"));
}

}  // namespace
}  // namespace kestrum
