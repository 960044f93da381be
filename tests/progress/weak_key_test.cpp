#include "drill/lesson_catalogue.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_keys.h"

#include <gtest/gtest.h>

using namespace kestrum;

// The keys chosen from crafted totals, worst first.
TEST(WeakKeys, ChoiceOnCraftedHistories) {
    const std::pair<std::vector<KeyTally>, std::string> cases[] = {
        {{}, ""},
        {{{"q", 10, 9}, {"p", 5, 5}}, ""},                      // too few keystrokes to judge
        {{{"a", 40, 0}, {"s", 25, 0}}, ""},                     // never missed
        {{{"a", 18, 2}, {"s", 30, 10}, {"d", 90, 10}}, "sda"},  // equal rates: more misses first
        {{{"x", 16, 4}, {"c", 32, 8}, {"b", 16, 4}}, "cbx"},    // then the lower key
        {{{"Q", 10, 3}, {"q", 10, 3}, {"w", 30, 2}}, "qw"},     // both cases are one key
        {{{" ", 10, 20}, {"!", 10, 20}, {"ア", 10, 20}, {"k", 25, 1}}, "k"},
        {{{"a", 20, 1}, {"s", 20, 2}, {"d", 20, 3}, {"f", 20, 4}, {"g", 20, 5}}, "gfds"},
        {{{"1", 20, 5}, {";", 20, 6}, {"-", 20, 1}}, ";1-"},
    };
    for (const auto& [totals, expected] : cases) {
        std::string chosen;
        for (const WeakKey& key : chooseWeakKeys(totals))
            chosen += key.key;
        EXPECT_EQ(chosen, expected);
    }
}

TEST(WeakKeyDrill, PairsWeakKeysWithTheirFingersHomeKeys) {
    const WeakKeyDrill drill = buildWeakKeyDrill({{"e", 20, 10}, {"a", 27, 3}});
    ASSERT_TRUE(drill.record.has_value());
    const lesson& record = *drill.record;
    EXPECT_EQ(CheckLesson(record), std::nullopt);
    EXPECT_EQ(record.name, utf8ToCp932("苦手キー練習"));
    EXPECT_EQ(record.kind, 0);
    // e is the left middle finger's (home d); a is itself a home key, so its partner is the
    // right little finger's ;.
    EXPECT_EQ(record.words, (std::vector<Bytes>{"ddeeddee", "dededede", "eeeedddd", ";;aa;;aa",
                                                ";a;a;a;a", "aaaa;;;;", "eda;eda;eda;eda;"}));
    EXPECT_EQ(record.comments, (std::vector<Bytes>{utf8ToCp932("「e」は左手の中指"),
                                                   utf8ToCp932("「a」は左手の小指"),
                                                   utf8ToCp932("苦手キーのまとめ")}));
}

TEST(WeakKeyDrill, SaysWhyBeforeThereIsEnoughHistory) {
    const std::pair<KeyTally, const char*> cases[] = {{{"e", 5, 5}, "まだ記録が足りません"},
                                                      {{"e", 50, 0}, "間違えたキーがありません"}};
    for (const auto& [tally, why] : cases) {
        const WeakKeyDrill drill = buildWeakKeyDrill({tally});
        EXPECT_FALSE(drill.record.has_value());
        ASSERT_EQ(drill.messages.size(), 1u);
        EXPECT_NE(drill.messages[0].text.find(why), std::string::npos);
    }
}
