#pragma once

#include "platform/key_positions.h"
#include "progress/attempt.h"
#include "records/score_key.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// An item of a kana lesson: the kana to type and the line shown above it (UTF-8).
struct KanaItem {
    std::u32string text;
    std::string comment;
};

// A lesson of the kana course. Its items are typed in the order of `program`: an item's number,
// or kKanaRandomItem for one drawn at random.
struct KanaLesson {
    std::string name;   // history key, ASCII
    std::string title;  // the course window's caption (UTF-8)
    std::vector<KanaItem> items;
    std::vector<std::int32_t> program;
};

inline constexpr std::int32_t kKanaRandomItem = -1;

// The course in teaching order: home row, upper row, lower row, number row, voiced kana, small
// kana and marks, words, sentences. Built once, when first asked; it lasts as long as the program.
const std::vector<KanaLesson>& kanaCourse();

// The history key of a kana lesson.
ScoreKey kanaScoreKey(const KanaLesson& lesson);

// Whether `key` names a lesson of the course, whatever attempt it carries.
bool isKanaLesson(const ScoreKey& key);

// A lesson as the progress window's list names it: one of this course by "かな入力: " and its
// title, any other as lessonTitle names it.
std::string lessonListTitle(const LessonId& lesson);

// A line naming the kana of the keys a lesson needs that the keyboard in use lacks, in the
// lesson's order of first use ("キーボードに「ろ」がありません。"); empty when it has them all.
std::string missingKeysLine(const KanaLesson& lesson, const KeyPositions& keyboard);

}  // namespace kestrum
