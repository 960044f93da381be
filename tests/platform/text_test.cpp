#include "platform/text.h"
#include "platform/program_dir.h"

#include <gtest/gtest.h>

#include <utility>

namespace kestrum {
namespace {

// Unicode text written as UTF-8, from the code page's own table.
TEST(Cp932, ConvertsSingleAndDoubleByteTextBothWays) {
    const std::pair<Bytes, std::string> cases[] = {
        {"", ""},
        {"abc ~\\;,./-", "abc ~\\;,./-"},
        {Bytes("a\0b", 3), std::string("a\0b", 3)},
        {"\xA1\xB1\xDE\xDF", "｡ｱﾞﾟ"},
        {"\xB1\x82\xA0", "ｱあ"},
        {"\x81\x60", "～"},  // the wave dash is the full-width tilde of code page 932
        {"sample\x96\xE2\x91\xE8", "sample問題"},
    };
    for (const auto& [bytes, utf8] : cases) {
        EXPECT_EQ(fromCp932(bytes), QString::fromUtf8(utf8.data(), std::ssize(utf8))) << bytes;
        EXPECT_EQ(cp932ToUtf8(bytes), utf8);
        EXPECT_EQ(utf8ToCp932(utf8), bytes);
    }
    for (int byte : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(isLeadByte(byte)) << byte;
    for (int byte : {0x61, 0xA0, 0xB1, 0xFD})
        EXPECT_FALSE(isLeadByte(byte)) << byte;
}

TEST(ProgramDir, IsThePathUpToTheLastSeparator) {
    EXPECT_EQ(programDir("/home/user/kestrum/kestrum-lite").dir, "/home/user/kestrum");
    EXPECT_EQ(programDir("/kestrum-lite").message, std::nullopt);
    EXPECT_EQ(programDir("/kestrum-lite").dir, "");
    EXPECT_EQ(programDir("kestrum-lite").dir, "0");
    EXPECT_EQ(programDir("kestrum-lite").message, infoMessage("内部エラー：Error No.6"));
}

}  // namespace
}  // namespace kestrum
