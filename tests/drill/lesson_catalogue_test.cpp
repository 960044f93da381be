// The built-in lessons against an independent copy of their text (data/lesson_catalogue.tsv),
// the rules of the check, and one typed run of every drill lesson.
#include "drill_fixture.h"

#include "drill/lesson_catalogue.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <sstream>

namespace kestrum::testing {
namespace {

struct GoldenLesson {
    std::string name, title;
    std::vector<std::string> words, comments;  // comments in UTF-8
    std::vector<std::int32_t> commentIndex, program;
};

// Each line: kind, lesson number, then the fields of that kind.
const std::array<GoldenLesson, 7>& golden() {
    static const std::array<GoldenLesson, 7> table = [] {
        std::array<GoldenLesson, 7> t;
        std::ifstream in(std::string(KESTRUM_TEST_DATA) + "/lesson_catalogue.tsv");
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string kind, n, third, fourth;
            std::getline(
                std::getline(std::getline(std::getline(fields, kind, '\t'), n, '\t'), third, '\t'),
                fourth);
            GoldenLesson& g = t.at(std::stoul(n));
            std::vector<std::int32_t> numbers;
            std::istringstream list(third);
            for (std::string item; std::getline(list, item, ',');)
                numbers.push_back(std::atoi(item.c_str()));
            if (kind == "lesson") g.name = third, g.title = fourth;
            if (kind == "word") g.words.push_back(fourth);
            if (kind == "comment") g.comments.push_back(fourth);
            if (kind == "comment_index") g.commentIndex = numbers;
            if (kind == "program") g.program = numbers;
        }
        return t;
    }();
    return table;
}

TEST(LessonCatalogue, EveryLessonHoldsExactlyItsText) {
    const std::array<lesson, 7> lessons = SetUpLessons();
    ASSERT_EQ(golden()[6].words.size(), 41u);  // the data file was found and read
    for (std::size_t n = 0; n < 7; ++n) {
        const lesson& record = lessons[n];
        const GoldenLesson& g = golden()[n];
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
        {[](lesson& r) { r.name.clear(), r.program[0] = 12; },
         stop("プログラムの値が不正です。", "")},
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

// Every drill lesson typed through once: each step shows the word its program names (a random
// step neither the previous word nor the next fixed one) with its comment, and the attempt is
// recorded under the lesson's name.
using WholeLessonRun = DrillFixture;

TEST_F(WholeLessonRun, EveryLessonFollowsItsProgramAndRecordsTheAttempt) {
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const GoldenLesson& g = golden()[static_cast<std::size_t>(n)];
        files.files.clear();
        engine().FormShow(n, problem);
        EXPECT_EQ(engine().windowCaption(), "ケストラムLite   " + g.name);
        press('s');
        std::string previous;
        for (std::size_t step = 0; step < g.program.size(); ++step) {
            const Bytes target = state().target;
            const std::int32_t fixed = g.program[step];
            const std::int32_t next = step + 1 < g.program.size() ? g.program[step + 1] : -1;
            EXPECT_EQ(target, fixed >= 0 ? g.words.at(fixed) : target) << step;
            EXPECT_TRUE(fixed >= 0 ||
                        (target != previous && (next < 0 || target != g.words.at(next))))
                << step;
            const auto w = std::find(g.words.begin(), g.words.end(), target) - g.words.begin();
            ASSERT_LT(w, std::ssize(g.words));
            EXPECT_EQ(view().message_lines[0], g.comments.at(g.commentIndex.at(w))) << step;
            previous = target;
            typeItem();
        }
        ASSERT_EQ(host.results.size(), 1u);
        EXPECT_EQ(scoreBytes().substr(0, 3 + g.name.size()), Bytes("\0\x07", 2) + g.name + '\x01');
        engine().resultChosen(kModalMenu);
        host.results.clear();
    }
}

}  // namespace
}  // namespace kestrum::testing
