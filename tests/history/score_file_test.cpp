#include "history/score_file.h"

#include "history/history_test_dir.h"
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using testing::Attempt;
using testing::entryBytes;
using testing::HistoryDir;
using testing::numberedAttempts;

ScoreKey attempt(std::int32_t kind, const Bytes& name, std::int32_t speed, std::int32_t accuracy) {
    ScoreKey key = scoreKeyFor(kind, name);
    key.speed = speed;
    key.accuracy = accuracy;
    return key;
}

const Messages kEof{plainMessage("error : unexpected EOF")};

class ScoreFileTest : public ::testing::Test {
protected:
    HistoryDir dir;
    DiskFileSystem disk;
    ScoreFile scores{disk, dir.path()};

    void expectAttempts(const ScoreKey& key, const std::vector<Attempt>& expected) {
        const ScoreReadOutcome read = scores.ReadScores(key);
        ASSERT_EQ(read.result, 1);
        ASSERT_EQ(read.count, static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(read.speeds[i], expected[i].speed) << "attempt " << i;
            EXPECT_EQ(read.accuracies[i], expected[i].accuracy) << "attempt " << i;
        }
    }
};

TEST_F(ScoreFileTest, AFirstReadLeavesAnEmptyFileAndTheFirstAttemptTheDocumentedEntry) {
    const ScoreReadOutcome read = scores.ReadScores(scoreKeyFor(0, "lesson1"));
    EXPECT_EQ(read.result, 0);
    EXPECT_TRUE(read.messages.empty());
    EXPECT_TRUE(dir.hasScore());
    EXPECT_TRUE(dir.scoreBytes().empty());

    const ScoreOutcome outcome = scores.AppendScore(attempt(0, "lesson1", 123, 95));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(dir.scoreBytes(), Bytes("\x00\x07lesson1\x01\x00\x7B\x5F", 13));
    EXPECT_FALSE(dir.hasTemp());
}

TEST_F(ScoreFileTest, AttemptsAccumulateOldestFirstWithSpeedModulo65536) {
    scores.AppendScore(attempt(0, "lesson3", 300, 95));
    EXPECT_EQ(dir.scoreBytes().substr(10), Bytes("\x01\x2C\x5F", 3));
    scores.AppendScore(attempt(0, "lesson3", 300 + 65536, 256 + 7));
    scores.AppendScore(attempt(0, "lesson3", 90, 100));
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson3", {{300, 95}, {300, 7}, {90, 100}}));
    expectAttempts(scoreKeyFor(0, "lesson3"), {{300, 95}, {300, 7}, {90, 100}});
}

TEST_F(ScoreFileTest, TheHundredAndFirstAttemptDropsTheOldest) {
    dir.writeScore(entryBytes(0, "lesson4", numberedAttempts(0, 100)));
    ASSERT_EQ(scores.AppendScore(attempt(0, "lesson4", 999, 42)).result, 1);
    std::vector<Attempt> expected = numberedAttempts(1, 99);
    expected.push_back({999, 42});
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson4", expected));
}

TEST_F(ScoreFileTest, ClearingKeepsTheEntryInPlaceAndOthersUntouched) {
    const Bytes first = entryBytes(0, "lesson1", {{120, 90}});
    const Bytes last = entryBytes(1, "my set", {{50, 70}, {60, 80}});
    dir.writeScore(first + entryBytes(0, "lesson2", {{100, 99}, {101, 98}}) + last);

    const ScoreOutcome cleared = scores.ClearScores(scoreKeyFor(0, "lesson2"));
    EXPECT_EQ(cleared.result, 1);
    EXPECT_TRUE(cleared.messages.empty());
    EXPECT_EQ(dir.scoreBytes(), first + entryBytes(0, "lesson2", {}) + last);
    expectAttempts(scoreKeyFor(0, "lesson2"), {});

    scores.AppendScore(attempt(0, "lesson2", 130, 97));
    const Bytes after = first + entryBytes(0, "lesson2", {{130, 97}}) + last;
    EXPECT_EQ(dir.scoreBytes(), after);

    // A lesson without an entry: nothing to clear, nothing changed.
    const ScoreOutcome missing = scores.ClearScores(scoreKeyFor(0, "lesson5"));
    EXPECT_EQ(missing.result, 0);
    EXPECT_TRUE(missing.messages.empty());
    EXPECT_EQ(dir.scoreBytes(), after);
    EXPECT_FALSE(dir.hasTemp());
}

TEST_F(ScoreFileTest, OtherEntriesKeepTheirBytesAndOrderWhenOneGrows) {
    const Bytes a = entryBytes(0, "lesson6", numberedAttempts(5, 7));
    const Bytes c = entryBytes(1, "\x93\xfa\x96\x7b", {{10, 20}});  // a Japanese set name
    dir.writeScore(a + entryBytes(0, "lesson1", {{1, 2}}) + c);
    scores.AppendScore(attempt(0, "lesson1", 3, 4));
    scores.AppendScore(attempt(0, "lesson3", 5, 6));
    EXPECT_EQ(dir.scoreBytes(), a + entryBytes(0, "lesson1", {{1, 2}, {3, 4}}) + c +
                                    entryBytes(0, "lesson3", {{5, 6}}));
}

TEST_F(ScoreFileTest, KindAndExactNameSelectTheFirstMatchingEntry) {
    const Bytes duplicate = entryBytes(0, "lesson1", {{7, 7}});
    dir.writeScore(entryBytes(0, "lesson1", {{100, 90}}) + duplicate);
    const std::pair<std::int32_t, const char*> others[] = {
        {1, "lesson1"}, {0, "Lesson1"}, {0, "lesson10"}, {0, "lesson"}};
    for (const auto& [kind, name] : others)
        scores.AppendScore(attempt(kind, name, 200, kind));
    expectAttempts(scoreKeyFor(0, "lesson1"), {{100, 90}});
    for (const auto& [kind, name] : others)
        expectAttempts(scoreKeyFor(kind, name), {{200, kind}});
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(1, "lesson10")).result, 0);
    EXPECT_EQ(dir.scoreBytes().substr(13, duplicate.size()), duplicate);
}

// Cutting the file anywhere inside an entry, be it in the length, the name, the count or the
// attempts, must be reported and must never change the file.
TEST_F(ScoreFileTest, AFileCutShortInsideAnEntryIsReportedAndLeftAlone) {
    const Bytes whole = entryBytes(0, "lesson1", {{120, 90}});
    const Bytes cut = entryBytes(1, "set", {{1, 2}, {3, 4}});
    for (std::size_t length = 1; length < cut.size(); ++length) {
        SCOPED_TRACE("cut after " + std::to_string(length) + " bytes");
        const Bytes before = whole + cut.substr(0, length);
        dir.writeScore(before);
        for (const ScoreKey& key : {attempt(1, "set", 5, 6), attempt(0, "lesson9", 5, 6)}) {
            EXPECT_EQ(scores.AppendScore(key).messages, kEof);
            EXPECT_EQ(scores.ReadScores(key).messages, kEof);
            EXPECT_EQ(scores.ClearScores(key).messages, kEof);
            EXPECT_EQ(dir.scoreBytes(), before);
            EXPECT_FALSE(dir.hasTemp());
        }
    }
    // The entry before the cut is still served, and its change keeps the tail.
    const Bytes tail = cut.substr(0, 4);
    dir.writeScore(whole + tail);
    expectAttempts(scoreKeyFor(0, "lesson1"), {{120, 90}});
    EXPECT_EQ(scores.AppendScore(attempt(0, "lesson1", 130, 91)).result, 1);
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", {{120, 90}, {130, 91}}) + tail);
}

TEST_F(ScoreFileTest, ACountAboveAHundredYieldsTheNewestHundredAndIsTrimmedOnWrite) {
    const Bytes after = entryBytes(0, "lesson2", {{1, 1}});
    dir.writeScore(entryBytes(0, "lesson1", numberedAttempts(0, 150)) + after);
    expectAttempts(scoreKeyFor(0, "lesson1"), numberedAttempts(50, 100));

    ASSERT_EQ(scores.AppendScore(attempt(0, "lesson1", 7, 8)).result, 1);
    std::vector<Attempt> expected = numberedAttempts(51, 99);
    expected.push_back({7, 8});
    EXPECT_EQ(dir.scoreBytes(), entryBytes(0, "lesson1", expected) + after);
}

TEST_F(ScoreFileTest, NamesUpTo255BytesAreStoredAndLongerOnesRefused) {
    const Bytes longest(255, 'n');
    ASSERT_EQ(scores.AppendScore(attempt(1, longest, 80, 85)).result, 1);
    const Bytes before = dir.scoreBytes();
    EXPECT_EQ(before, entryBytes(1, longest, {{80, 85}}));

    const Bytes tooLong(256, 'n');
    const ScoreOutcome refused = scores.AppendScore(attempt(1, tooLong, 80, 85));
    EXPECT_EQ(refused.result, 0);
    ASSERT_EQ(refused.messages.size(), 1u);
    EXPECT_NE(refused.messages[0].text.find("255"), std::string::npos);
    EXPECT_EQ(scores.ReadScores(scoreKeyFor(1, tooLong)).result, 0);
    EXPECT_EQ(scores.ClearScores(scoreKeyFor(1, tooLong)).result, 0);
    EXPECT_EQ(dir.scoreBytes(), before);
    EXPECT_FALSE(dir.hasTemp());
}

}  // namespace
}  // namespace kestrum
