// The built-in lessons against an independent copy of their text (data/lesson_catalogue.tsv),
// and the rules of the check.
#include "drill/lesson_catalogue.h"
#include "platform/text.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <sstream>

namespace kestrum::testing {
namespace {

struct GoldenLesson {
    std::string name, title;
    std::vector<std::string> words, comments;  // comments in UTF-8
    std::vector<std::int32_t> commentIndex, program;
};

std::vector<std::int32_t> numbers(const std::string& list) {
    std::vector<std::int32_t> out;
    std::istringstream items(list);
    for (std::string item; std::getline(items, item, ',');)
        out.push_back(std::stoi(item));
    return out;
}

TEST(LessonCatalogue, EveryLessonHoldsExactlyItsText) {
    std::array<GoldenLesson, 7> golden;
    // Each row: kind, lesson number, then the fields of that kind.
    for (const std::vector<std::string>& row : tableRows("lesson_catalogue.tsv")) {
        GoldenLesson& g = golden.at(std::stoul(row[1]));
        if (row[0] == "lesson") g.name = row[2], g.title = row[3];
        if (row[0] == "word") g.words.push_back(row[3]);
        if (row[0] == "comment") g.comments.push_back(row[3]);
        if (row[0] == "comment_index") g.commentIndex = numbers(row[2]);
        if (row[0] == "program") g.program = numbers(row[2]);
    }
    ASSERT_EQ(golden[6].words.size(), 41u);  // the data file was found and read
    const std::array<lesson, 7> lessons = SetUpLessons();
    for (std::size_t n = 0; n < 7; ++n) {
        const lesson& record = lessons[n];
        const GoldenLesson& g = golden[n];
        EXPECT_EQ(record.kind, 0);
        std::vector<std::string> comments;
        for (const Bytes& comment : record.comments)
            comments.push_back(cp932ToUtf8(comment));
        EXPECT_EQ(
            std::tie(record.name, record.words, comments, record.comment_index, record.program),
            std::tie(g.name, g.words, g.comments, g.commentIndex, g.program))
            << n;
        EXPECT_STREQ(lessonMenuTitle(static_cast<int>(n)), g.title.c_str());
        EXPECT_EQ(std::tuple(record.word_count, record.comment_count, record.comment_index_count,
                             record.program_length),
                  std::tuple(std::ssize(g.words), std::ssize(g.comments),
                             std::ssize(g.commentIndex), std::ssize(g.program)))
            << n;
        EXPECT_EQ(lessonGraphKey(static_cast<int>(n)),
                  n > 0 ? std::optional(scoreKeyFor(0, g.name)) : std::nullopt);
    }
    EXPECT_EQ(lessonGraphKey(7), std::nullopt);
    EXPECT_STREQ(lessonMenuTitle(42), "");
    EXPECT_TRUE(checkBuiltInLessons(lessons).empty());
}

Message stop(const char* text, const char* caption = "lesson3") {
    return {Message::Icon::Stop, text, caption};
}

// Each rule in order with its message and the lesson as caption; counts beyond the vectors are
// refused, never read.
TEST(CheckLesson, EachRuleInOrderWithItsMessageAndTheLessonAsCaption) {
    const Message program = stop("プログラムの値が不正です。");
    const Message indexCount = stop("コメントインデックスの要素数が足りません。");
    const Message indexValue = stop("コメントインデックスの値が不正です。");
    const lesson base = SetUpLessons()[3];  // 12 words, 1 comment, 17 index entries
    const std::pair<void (*)(lesson&), std::optional<Message>> cases[] = {
        {[](lesson& r) {
             r.words[0] = Bytes(25, 'a');
             r.program[12] = -1;
             r.comment_index[16] = 99;  // beyond word_count: never used, never checked
         },
         std::nullopt},
        {[](lesson& r) { r.words[11] = Bytes(26, 'a'); }, stop("単語の長さが、長すぎます。")},
        {[](lesson& r) { r.program[0] = -2; }, program},
        {[](lesson& r) { r.program[19] = 12, r.words[1] = Bytes(30, 'a'); }, program},
        {[](lesson& r) { r.comment_index_count = 11; }, indexCount},
        {[](lesson& r) { r.comment_index[11] = 1; }, indexValue},
        {[](lesson& r) { r.comment_index[0] = -1; }, indexValue},
        {[](lesson& r) { r.program_length = 1000; }, program},
        {[](lesson& r) { r.word_count = r.comment_index_count = 100; }, program},
        {[](lesson& r) { r.comment_index.resize(11); }, indexCount},
        {[](lesson& r) { r.comment_count = 50, r.comment_index[0] = 40; }, indexValue},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        lesson record = base;
        cases[i].first(record);
        EXPECT_EQ(CheckLesson(record), cases[i].second) << i;
    }
    std::array<lesson, 7> broken = SetUpLessons();
    broken[0].program = {5};  // lesson 0 is never checked
    broken[0].program_length = 1;
    broken[2].words[3] = Bytes(26, 'w');
    broken[5].program[0] = 68;
    EXPECT_EQ(checkBuiltInLessons(broken),
              (Messages{stop("単語の長さが、長すぎます。", "lesson2"),
                        stop("プログラムの値が不正です。", "lesson5")}));
}

}  // namespace
}  // namespace kestrum::testing
