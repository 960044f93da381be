// The built-in lessons against an independent copy of their text (data/lesson_catalogue.tsv),
// the four rules of the check, and one typed run of every drill lesson.
#include "drill_fixture.h"

#include "drill/lesson_catalogue.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kestrum::testing {
namespace {

struct GoldenLesson {
    std::string name;
    std::string title;
    std::vector<std::string> words;
    std::vector<std::string> comments;  // UTF-8
    std::vector<std::int32_t> commentIndex;
    std::vector<std::int32_t> program;
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (const char c : line) {
        if (c == '\t') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

std::vector<std::int32_t> numbers(const std::string& list) {
    std::vector<std::int32_t> out;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        out.push_back(std::stoi(item));
    return out;
}

const std::array<GoldenLesson, 7>& golden() {
    static const std::array<GoldenLesson, 7> table = [] {
        std::array<GoldenLesson, 7> t;
        std::ifstream in(std::string(KESTRUM_TEST_DATA) + "/lesson_catalogue.tsv");
        for (std::string line; std::getline(in, line);) {
            const std::vector<std::string> f = fields(line);
            GoldenLesson& g = t.at(static_cast<std::size_t>(std::stoi(f.at(1))));
            if (f[0] == "lesson") {
                g.name = f.at(2);
                g.title = f.at(3);
            } else if (f[0] == "word") {
                g.words.push_back(f.at(3));
            } else if (f[0] == "comment") {
                g.comments.push_back(f.size() > 3 ? f[3] : "");
            } else if (f[0] == "comment_index") {
                g.commentIndex = numbers(f.at(2));
            } else if (f[0] == "program") {
                g.program = numbers(f.at(2));
            }
        }
        return t;
    }();
    return table;
}

TEST(LessonCatalogue, EveryLessonHoldsExactlyItsText) {
    const std::array<lesson, 7> lessons = SetUpLessons();
    ASSERT_EQ(golden()[6].words.size(), 41u);  // the data file was found and read
    for (std::size_t n = 0; n < 7; ++n) {
        SCOPED_TRACE(n);
        const lesson& record = lessons[n];
        const GoldenLesson& g = golden()[n];
        EXPECT_EQ(record.name, g.name);
        EXPECT_EQ(record.kind, 0);
        EXPECT_STREQ(lessonMenuTitle(static_cast<int>(n)), g.title.c_str());
        EXPECT_EQ(record.words, g.words);
        std::vector<std::string> comments;
        for (const Bytes& comment : record.comments)
            comments.push_back(cp932ToUtf8(comment));
        EXPECT_EQ(comments, g.comments);
        EXPECT_EQ(record.comment_index, g.commentIndex);
        EXPECT_EQ(record.program, g.program);
        EXPECT_EQ(record.word_count, static_cast<std::int32_t>(g.words.size()));
        EXPECT_EQ(record.comment_count, static_cast<std::int32_t>(g.comments.size()));
        EXPECT_EQ(record.comment_index_count, static_cast<std::int32_t>(g.commentIndex.size()));
        EXPECT_EQ(record.program_length, static_cast<std::int32_t>(g.program.size()));
    }
    EXPECT_STREQ(lessonMenuTitle(42), "");
    EXPECT_TRUE(checkBuiltInLessons(lessons).empty());
}

Message stop(const char* text, const char* caption) {
    return {Message::Icon::Stop, text, caption};
}

TEST(CheckLesson, EachRuleInOrderWithItsMessageAndTheLessonAsCaption) {
    const char* const kProgram = "プログラムの値が不正です。";
    const char* const kIndexCount = "コメントインデックスの要素数が足りません。";
    const char* const kIndexValue = "コメントインデックスの値が不正です。";
    const char* const kTooLong = "単語の長さが、長すぎます。";
    const lesson base = SetUpLessons()[3];  // 12 words, 1 comment, 17 index entries
    struct Case {
        void (*spoil)(lesson&);
        std::optional<Message> expected;
    };
    const Case cases[] = {
        {[](lesson& r) {
             r.words[0] = Bytes(25, 'a');
             r.program[12] = -1;
             r.comment_index[16] = 99;  // beyond word_count: never used, never checked
         },
         std::nullopt},
        {[](lesson& r) { r.words[11] = Bytes(26, 'a'); }, stop(kTooLong, "lesson3")},
        {[](lesson& r) { r.program[0] = -2; }, stop(kProgram, "lesson3")},
        {[](lesson& r) {
             r.program[19] = 12;
             r.words[1] = Bytes(30, 'a');  // rule 1 is reported first
         },
         stop(kProgram, "lesson3")},
        {[](lesson& r) { r.comment_index_count = 11; }, stop(kIndexCount, "lesson3")},
        {[](lesson& r) { r.comment_index[11] = 1; }, stop(kIndexValue, "lesson3")},
        {[](lesson& r) { r.comment_index[0] = -1; }, stop(kIndexValue, "lesson3")},
        // Counts beyond the vectors are refused, never read.
        {[](lesson& r) { r.program_length = 1000; }, stop(kProgram, "lesson3")},
        {[](lesson& r) { r.word_count = r.comment_index_count = 100; }, stop(kProgram, "lesson3")},
        {[](lesson& r) { r.comment_index.resize(11); }, stop(kIndexCount, "lesson3")},
        {[](lesson& r) {
             r.comment_count = 50;
             r.comment_index[0] = 40;
         },
         stop(kIndexValue, "lesson3")},
        {[](lesson& r) {
             r.name.clear();
             r.program[0] = 12;
         },
         stop(kProgram, "")},
    };
    for (const Case& c : cases) {
        lesson record = base;
        c.spoil(record);
        EXPECT_EQ(CheckLesson(record), c.expected) << (&c - cases);
    }
}

TEST(CheckLesson, BuiltInCheckReportsEveryFailureInOrder) {
    std::array<lesson, 7> broken = SetUpLessons();
    broken[0].program = {5};  // lesson 0 is never checked
    broken[0].program_length = 1;
    broken[2].words[3] = Bytes(26, 'w');
    broken[5].program[0] = 68;
    EXPECT_EQ(checkBuiltInLessons(broken),
              (Messages{stop("単語の長さが、長すぎます。", "lesson2"),
                        stop("プログラムの値が不正です。", "lesson5")}));
}

// A graph is kept under the same key the drill records a run with; the tutorial has none.
TEST(LessonGraphKey, IsTheBuiltInKindWithTheLessonName) {
    EXPECT_EQ(lessonGraphKey(0), std::nullopt);
    EXPECT_EQ(lessonGraphKey(7), std::nullopt);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(lessonGraphKey(n), scoreKeyFor(0, golden()[static_cast<std::size_t>(n)].name));
}

// Every drill lesson typed through, a wrong key at the start of every other item: each step
// shows the word its program names (a random step neither the previous word nor the next fixed
// one) with its comment, and the attempt is recorded under the lesson's name.
class WholeLessonRun : public DrillFixture, public ::testing::WithParamInterface<int> {};

TEST_P(WholeLessonRun, FollowsTheProgramAndRecordsTheAttempt) {
    const GoldenLesson& g = golden()[static_cast<std::size_t>(GetParam())];
    const auto steps = static_cast<std::int32_t>(g.program.size());
    engine().FormShow(GetParam(), problem);
    EXPECT_EQ(engine().windowCaption(), "ケストラムLite   " + g.name);
    press('s');
    const std::uint32_t firstJudgedKey = clock.now + 100;
    int chars = 0;
    int misses = 0;
    std::string previous;
    for (std::int32_t step = 0; step < steps; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(view().Label_counter, "あと " + std::to_string(steps - step) + "回");
        const Bytes target = state().target;
        const std::int32_t fixed = g.program[static_cast<std::size_t>(step)];
        if (fixed >= 0) {
            EXPECT_EQ(target, g.words[static_cast<std::size_t>(fixed)]);
        } else {
            EXPECT_NE(target, previous);
            const std::int32_t next = step + 1 < steps ? g.program[step + 1u] : -1;
            if (next >= 0) {
                EXPECT_NE(target, g.words[static_cast<std::size_t>(next)]);
            }
        }
        const auto w = static_cast<std::size_t>(std::find(g.words.begin(), g.words.end(), target) -
                                                g.words.begin());
        ASSERT_LT(w, g.words.size());
        EXPECT_EQ(view().message_lines[0], g.comments[static_cast<std::size_t>(g.commentIndex[w])]);
        if (step % 2 == 0) {
            press(target[0] == 'x' ? 'z' : 'x');
            ++misses;
        }
        chars += static_cast<int>(target.size());
        previous = target;
        typeItem();
    }
    ASSERT_EQ(host.results.size(), 1u);
    const int speed = static_cast<int>(std::int64_t{chars} * 60000 / (clock.now - firstJudgedKey));
    const int accuracy = chars * 100 / (chars + misses);
    EXPECT_EQ(host.results[0].speed, speed);
    EXPECT_EQ(host.results[0].accuracy, accuracy);
    Bytes expected{'\0', '\x07'};
    expected += g.name;
    expected += {'\x01', static_cast<char>(speed >> 8), static_cast<char>(speed & 0xFF),
                 static_cast<char>(accuracy)};
    EXPECT_EQ(scoreBytes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Lessons1To6, WholeLessonRun, ::testing::Range(1, 7));

}  // namespace
}  // namespace kestrum::testing
