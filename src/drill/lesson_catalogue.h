#pragma once

#include "platform/message.h"
#include "records/lesson.h"
#include "records/score_key.h"

#include <array>
#include <optional>

namespace kestrum {

// The longest word a lesson may hold: the number of character cells of the drill.
inline constexpr int kMaxWordLength = 25;

// The seven built-in lessons, numbered 0..6. Comments are code page 932; lesson 0 (the
// home-position tutorial) has only its name.
std::array<lesson, 7> SetUpLessons();

// Checks a record against the four rules, in order, and returns the message of the first that
// fails (stop icon, the lesson's name as caption), or nothing when all hold:
//   1. program entries 0..program_length-1 lie in -1..word_count-1 and name existing words;
//   2. comment_index_count (and the comment_index vector) cover word_count entries;
//   3. comment_index entries 0..word_count-1 lie in 0..comment_count-1 and name existing
//      comments;
//   4. words 0..word_count-1 are at most 25 bytes long.
// Never reads outside the record's vectors, whatever its counts claim.
std::optional<Message> CheckLesson(const lesson& record);

// Checks lessons 1..6 in order, every one even after a failure, and returns their messages in
// that order; the program must end when any are returned.
Messages checkBuiltInLessons(const std::array<lesson, 7>& lessons);

// The history key of built-in lesson 1..6 for its graph; lesson 0 (the tutorial) and any other
// number have none.
std::optional<ScoreKey> lessonGraphKey(int lessonNo);

// The menu's title of lesson 0..6 (UTF-8); "" for any other number.
const char* lessonMenuTitle(int lessonNo);

}  // namespace kestrum
