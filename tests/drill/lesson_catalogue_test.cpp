#include "drill/lesson_catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace kestrum {
namespace {

const std::array<lesson, 7>& lessons() {
    static const std::array<lesson, 7> built = SetUpLessons();
    return built;
}

// The drill indexes the vectors by the counts, so the counts must describe them.
TEST(LessonCatalogue, NamesAndCountsDescribeTheVectors) {
    for (std::size_t n = 0; n < 7; ++n) {
        const lesson& record = lessons()[n];
        EXPECT_EQ(record.name, (n == 0 ? "Lesson0" : "lesson" + std::to_string(n)));
        EXPECT_EQ(record.kind, 0);
        EXPECT_EQ(record.words.size(), static_cast<std::size_t>(record.word_count)) << n;
        EXPECT_EQ(record.comments.size(), static_cast<std::size_t>(record.comment_count)) << n;
        EXPECT_EQ(record.program.size(), static_cast<std::size_t>(record.program_length)) << n;
        EXPECT_EQ(record.comment_index.size(), static_cast<std::size_t>(record.comment_index_count))
            << n;
    }
    EXPECT_EQ(lessons()[0].program_length, 0);
    EXPECT_EQ(lessons()[5].word_count, 68);
    EXPECT_EQ(lessons()[5].comment_count, 70);
}

TEST(LessonCatalogue, EveryBuiltInLessonPassesItsCheck) {
    EXPECT_TRUE(checkBuiltInLessons(lessons()).empty());
}

TEST(LessonCatalogue, WordsAreTypeableAndFitTheCells) {
    const std::string typeable = "abcdefghijklmnopqrstuvwxyz;,./- ";
    for (const lesson& record : lessons()) {
        for (std::size_t i = 0; i < record.words.size(); ++i) {
            const Bytes& word = record.words[i];
            EXPECT_FALSE(word.empty()) << record.name << " " << i;
            EXPECT_EQ(word.find_first_not_of(typeable), Bytes::npos) << word;
            EXPECT_LE(word.size(), 25u) << word;
        }
    }
    EXPECT_EQ(lessons()[6].words[8], "niwanihaniwaniwatorigairu");
}

TEST(LessonCatalogue, CommentsSurviveCodePage932) {
    for (const lesson& record : lessons()) {
        for (const Bytes& comment : record.comments) {
            EXPECT_EQ(comment.find_first_of(std::string("?\0", 2)), Bytes::npos) << comment;
            EXPECT_EQ(utf8ToCp932(cp932ToUtf8(comment)), comment);
        }
    }
    EXPECT_EQ(cp932ToUtf8(lessons()[1].comments[1]),
              "「f」は左手の人差し指、「j」は右手の人差し指");
    EXPECT_EQ(cp932ToUtf8(lessons()[5].comments[69]), "京都");
    EXPECT_EQ(cp932ToUtf8(lessons()[6].comments[40]), "これから時代はリサイクル");
}

TEST(LessonCatalogue, MenuTitles) {
    EXPECT_STREQ(lessonMenuTitle(0), "ホームポジションってなあに？");
    EXPECT_STREQ(lessonMenuTitle(6), "ローマ字の練習（文章）");
    EXPECT_STREQ(lessonMenuTitle(42), "");
}

Message stop(const char* text, const char* caption) {
    return {Message::Icon::Stop, text, caption};
}

TEST(CheckLesson, EachRuleWithItsMessageAndTheLessonAsCaption) {
    const char* const kProgram = "プログラムの値が不正です。";
    const char* const kIndexCount = "コメントインデックスの要素数が足りません。";
    const char* const kIndexValue = "コメントインデックスの値が不正です。";
    const char* const kTooLong = "単語の長さが、長すぎます。";
    const lesson base = lessons()[3];

    lesson broken = base;
    broken.words[0] = Bytes(25, 'a');
    broken.program[12] = -1;
    broken.comment_index[16] = 99;  // beyond word_count: never used, never checked
    EXPECT_EQ(CheckLesson(broken), std::nullopt);

    broken.words[0] += 'a';
    EXPECT_EQ(CheckLesson(broken), stop(kTooLong, "lesson3"));

    broken = base;
    broken.program[0] = -2;
    EXPECT_EQ(CheckLesson(broken), stop(kProgram, "lesson3"));
    broken.program[0] = broken.word_count;
    broken.words[1] = Bytes(30, 'a');  // rule 1 is reported first
    EXPECT_EQ(CheckLesson(broken), stop(kProgram, "lesson3"));

    broken = base;
    broken.comment_index_count = broken.word_count - 1;
    EXPECT_EQ(CheckLesson(broken), stop(kIndexCount, "lesson3"));

    broken = base;
    broken.comment_index[11] = broken.comment_count;
    EXPECT_EQ(CheckLesson(broken), stop(kIndexValue, "lesson3"));
    broken.comment_index[11] = -1;
    EXPECT_EQ(CheckLesson(broken), stop(kIndexValue, "lesson3"));
}

TEST(CheckLesson, CountsBeyondTheVectorsAreRefusedNotRead) {
    lesson broken = lessons()[1];
    broken.program_length = 1000;
    EXPECT_NE(CheckLesson(broken), std::nullopt);
    broken = lessons()[1];
    broken.word_count = broken.comment_index_count = 100;
    EXPECT_NE(CheckLesson(broken), std::nullopt);
    broken = lessons()[1];
    broken.comment_count = 50;
    broken.comment_index[0] = 40;
    EXPECT_NE(CheckLesson(broken), std::nullopt);
}

TEST(CheckLesson, BuiltInCheckReportsEveryFailureInOrder) {
    std::array<lesson, 7> broken = lessons();
    broken[0].program = {5};  // lesson 0 is never checked
    broken[0].program_length = 1;
    broken[2].words[3] = Bytes(26, 'w');
    broken[5].program[0] = 68;
    const Messages messages = checkBuiltInLessons(broken);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "lesson2");
    EXPECT_EQ(messages[1], stop("プログラムの値が不正です。", "lesson5"));
}

// A graph is kept under the same key the drill records a run with; the tutorial has none.
TEST(LessonGraphKey, MatchesTheRecordOfEveryDrillLesson) {
    const std::array<lesson, 7> records = lessons();
    EXPECT_EQ(lessonGraphKey(0), std::nullopt);
    EXPECT_EQ(lessonGraphKey(7), std::nullopt);
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(lessonGraphKey(n), scoreKeyFor(0, records[static_cast<std::size_t>(n)].name));
    }
}

}  // namespace
}  // namespace kestrum
