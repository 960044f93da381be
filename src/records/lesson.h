#pragma once

#include "platform/text.h"

#include <cstdint>
#include <vector>

namespace kestrum {

// The kind of a problem set's record and of its history's key; a built-in lesson's is 0.
inline constexpr std::int32_t kProblemSetKind = 1;

// The record through which a lesson, built-in or problem set, reaches the drill. The counts are
// kept as the record states them; readers index the vectors only within their sizes.
struct lesson {
    Bytes name;                               // identifier: caption suffix and history key
    std::vector<Bytes> words;                 // texts to type, at most 25 bytes each
    std::vector<Bytes> comments;              // code page 932 comment lines
    std::int32_t kind = 0;                    // 0 built-in, kProblemSetKind
    std::vector<std::int32_t> comment_index;  // word i shows comment comment_index[i]
    std::vector<std::int32_t> program;        // word number per step, -1 for a random word
    std::int32_t word_count = 0;
    std::int32_t comment_count = 0;
    std::int32_t program_length = 0;
    std::int32_t comment_index_count = 0;
};

// Sets the counts to the sizes of the lists they count, for a lesson the program builds itself.
inline void countLessonParts(lesson& record) {
    record.word_count = static_cast<std::int32_t>(record.words.size());
    record.comment_count = static_cast<std::int32_t>(record.comments.size());
    record.program_length = static_cast<std::int32_t>(record.program.size());
    record.comment_index_count = static_cast<std::int32_t>(record.comment_index.size());
}

// Lesson numbers the drill window accepts: 0..6 built in, 42 the problem set.
constexpr int kProblemSetLessonNo = 42;

}  // namespace kestrum
