#include "menu/menu_caption.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(ProblemSetCaption, EmptyNameShowsDashes) {
    EXPECT_EQ(problemSetCaption(""), "---");
}

TEST(ProblemSetCaption, AsciiNamesAreCutAfterElevenBytes) {
    EXPECT_EQ(problemSetCaption("abcdefghijklmn"), "abcdefghij... (&U)");
    EXPECT_EQ(problemSetCaption("abcdefghijk"), "abcdefghijk (&U)");
    EXPECT_EQ(problemSetCaption("abcdefghijkl"), "abcdefghij... (&U)");
    EXPECT_EQ(problemSetCaption("set"), "set (&U)");
}

TEST(ProblemSetCaption, DoubleByteCharactersAreNeverCut) {
    // Byte 11 is the second half of お: nine bytes stay.
    EXPECT_EQ(problemSetCaption(utf8ToCp932("aあいうえおか")), utf8ToCp932("aあいうえ... (&U)"));
    // Byte 11 starts か: ten bytes stay.
    EXPECT_EQ(problemSetCaption(utf8ToCp932("あいうえおか")), utf8ToCp932("あいうえお... (&U)"));
    // メ is 0x83 0x81, and 0x81 can also start a character: only a walk from the start tells
    // that byte 11 starts the sixth メ.
    EXPECT_EQ(problemSetCaption(utf8ToCp932("メメメメメメ")), utf8ToCp932("メメメメメ... (&U)"));
    // Half-width katakana are single bytes.
    EXPECT_EQ(problemSetCaption(utf8ToCp932("ｱｲｳｴｵｶｷｸｹｺｻｼ")), utf8ToCp932("ｱｲｳｴｵｶｷｸｹｺ... (&U)"));
}

}  // namespace
}  // namespace kestrum
