#include "drill/lesson_catalogue.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_keys.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

using namespace kestrum;

TEST(WeakKeys, ChoiceOnCraftedHistories) {
    for (const auto& row : kestrum::testing::tableRows("weak_keys.tsv")) {
        std::vector<KeyTally> totals;
        for (std::size_t i = 1; i + 2 < row.size(); i += 3)
            totals.push_back({row[i], std::stoll(row[i + 1]), std::stoll(row[i + 2])});
        std::string chosen;
        for (const WeakKey& key : chooseWeakKeys(totals))
            chosen += key.key;
        EXPECT_EQ(chosen.empty() ? "none" : chosen, row[0]);
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
