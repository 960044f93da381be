#include "platform/text.h"
#include "platform/program_dir.h"

#include <gtest/gtest.h>

#include <utility>

namespace kestrum {
namespace {

TEST(Cp932, WaveDashIsTheFullWidthTildeOfCodePage932) {
    EXPECT_EQ(utf8ToCp932("～"), Bytes("\x81\x60"));
    EXPECT_EQ(cp932ToUtf8("\x81\x60"), "～");
}

TEST(Cp932, JapaneseRoundTripsAndAsciiStaysAsIs) {
    const std::string text = "おわり～!! ﾊﾞｰｼﾞｮﾝ情報 abc";
    const Bytes bytes = utf8ToCp932(text);
    EXPECT_EQ(cp932ToUtf8(bytes), text);
    EXPECT_EQ(utf8ToCp932("abc;,./-"), Bytes("abc;,./-"));
    // Half-width katakana are single bytes.
    EXPECT_EQ(utf8ToCp932("ｱ"), Bytes("\xB1"));
}

// Unicode text written as UTF-8, from the code page's own table.
TEST(Cp932, DecodesSingleAndDoubleByteText) {
    const std::pair<Bytes, std::string> cases[] = {
        {"", ""},
        {"abc ~\\;", "abc ~\\;"},
        {Bytes("a\0b", 3), std::string("a\0b", 3)},
        {"\xA1\xB1\xDE\xDF", "｡ｱﾞﾟ"},
        {"\xB1\x82\xA0", "ｱあ"},
        {"sample\x96\xE2\x91\xE8", "sample問題"},
    };
    for (const auto& [bytes, utf8] : cases)
        EXPECT_EQ(fromCp932(bytes), QString::fromUtf8(utf8.data(), std::ssize(utf8))) << bytes;
}

TEST(Cp932, LeadBytes) {
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0x9F));
    EXPECT_TRUE(isLeadByte(0xE0));
    EXPECT_TRUE(isLeadByte(0xFC));
    EXPECT_FALSE(isLeadByte('a'));
    EXPECT_FALSE(isLeadByte(0xA0));
    EXPECT_FALSE(isLeadByte(0xB1));
    EXPECT_FALSE(isLeadByte(0xFD));
}

TEST(ProgramDir, DirectoryWithoutTrailingSeparator) {
    const ProgramDirResult result = programDir("/home/user/kestrum/kestrum-lite");
    EXPECT_EQ(result.dir, "/home/user/kestrum");
    EXPECT_FALSE(result.message.has_value());
    EXPECT_EQ(programDir("/kestrum-lite").dir, "");
}

TEST(ProgramDir, PathWithoutSeparatorGivesZeroAndTheMessage) {
    const ProgramDirResult result = programDir("kestrum-lite");
    EXPECT_EQ(result.dir, "0");
    ASSERT_TRUE(result.message.has_value());
    EXPECT_EQ(result.message->text, "内部エラー：Error No.6");
    EXPECT_EQ(result.message->icon, Message::Icon::Information);
}

}  // namespace
}  // namespace kestrum
