#include "platform/text.h"
#include "platform/data_dir.h"
#include "platform/program_dir.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(Cp932, ConvertsSingleAndDoubleByteTextBothWays) {
    for (const auto& row : testing::tableRows("cp932.tsv")) {
        const std::string& utf8 = row.at(1);
        EXPECT_EQ(fromCp932(row[0]), QString::fromUtf8(utf8.data(), std::ssize(utf8))) << utf8;
        EXPECT_EQ(cp932ToUtf8(row[0]), utf8);
        EXPECT_EQ(utf8ToCp932(utf8), row[0]);
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

TEST(DataDir, ProgramFolderWhenWritableElseTheUsersDataFolder) {
    for (const auto& row : testing::tableRows("data_dir.tsv"))
        EXPECT_EQ(dataDirFor("/opt/k", row[0] == "yes", row[1], row[2]), row.at(3)) << row[1];
}

}  // namespace
}  // namespace kestrum
