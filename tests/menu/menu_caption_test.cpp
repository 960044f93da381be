#include "menu/menu_caption.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// Names are cut after eleven bytes, never inside a double-byte character.
TEST(ProblemSetCaption, CutsAfterElevenBytesAtACharacterBoundary) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "---"},
        {"abcdefghijk", "abcdefghijk (&U)"},
        {"abcdefghijkl", "abcdefghij... (&U)"},
        {"aあいうえおか", "aあいうえ... (&U)"},  // byte 11 is the second half of お
        {"あいうえおか", "あいうえお... (&U)"},  // byte 11 starts か
        {"メメメメメメ", "メメメメメ... (&U)"},  // 0x83 0x81: only a walk from the start tells
        {"ｱｲｳｴｵｶｷｸｹｺｻｼ", "ｱｲｳｴｵｶｷｸｹｺ... (&U)"},  // half-width katakana are single bytes
    };
    for (const auto& [name, caption] : cases)
        EXPECT_EQ(problemSetCaption(utf8ToCp932(name)), utf8ToCp932(caption)) << name;
}

}  // namespace
}  // namespace kestrum
