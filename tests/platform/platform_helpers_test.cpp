// The platform's small helpers: code page 932 text, the program's and the data folder, the
// instance lock, wave files.
#include "platform/data_dir.h"
#include "platform/instance_lock.h"
#include "platform/program_dir.h"
#include "platform/text.h"
#include "platform/wav_file.h"
#include "support/table_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace kestrum {
namespace {

TEST(Cp932, ConvertsSingleAndDoubleByteTextBothWays) {
    for (const auto& row : testing::tableRows("cp932.tsv")) {
        const std::string& utf8 = row.at(1);
        EXPECT_EQ(fromCp932(row[0]), QString::fromUtf8(utf8.data(), std::ssize(utf8))) << utf8;
        EXPECT_EQ(cp932ToUtf8(row[0]), utf8);
        EXPECT_EQ(utf8ToCp932(utf8), row[0]);
    }
    for (const auto& row : testing::tableRows("cp932_typed.tsv"))
        EXPECT_EQ(utf8ToCp932(row[0]), row.at(1)) << row[0];
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

TEST(DataDir, ProgramFolderOnlyWhenCopiedAndWritableElseTheUsersDataFolder) {
    for (const auto& row : testing::tableRows("data_dir.tsv")) {
        EXPECT_EQ(dataDirFor("/opt/k", row[0] == "yes", row[1] == "yes", row[2], row[3]), row.at(4))
            << row[0] << row[1] << row[2];
    }
}

// A crashed program's lock file is taken over; a second start on the folder leaves the file to
// the first, whose clean end removes it.
TEST(InstanceLock, OneProgramPerFolderAndNoFileLeftAfterACleanEnd) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString(), file = folder / "kestruml.lock";
    std::ofstream(file).put('\0');
    {
        InstanceLock first(folder);
        EXPECT_TRUE(first.held());
        EXPECT_FALSE(InstanceLock(folder).held());
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(InstanceLock(folder).held());
}

std::string le(std::uint32_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string chunk(const std::string& id, const std::string& body) {
    return id + le(body.size(), 4) + body + (body.size() % 2 == 1 ? std::string(1, '\0') : "");
}

// A wave file with a format chunk (tag, channels, rate, bits) before `chunks`.
std::string wave(int tag, int channels, int bits, const std::string& chunks) {
    const std::string format = le(tag, 2) + le(channels, 2) + le(22050, 4) +
                               le(22050 * channels * bits / 8, 4) + le(channels * bits / 8, 2) +
                               le(bits, 2);
    const std::string body = "WAVE" + chunk("fmt ", format) + chunks;
    return "RIFF" + le(body.size(), 4) + body;
}

TEST(PcmWav, ReadsPlainPcmPastOtherChunksAndRejectsTheRest) {
    const std::optional<PcmClip> clip =
        readPcmWav(wave(1, 1, 8, chunk("LIST", "abc") + chunk("data", "\x80\x7F\x81")));
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(std::tie(clip->channels, clip->rate, clip->bitsPerSample, clip->samples),
              std::make_tuple(1, 22050u, 8, std::string("\x80\x7F\x81")));
    EXPECT_EQ(readPcmWav(wave(1, 2, 16, chunk("data", "")))->channels, 2);

    const std::string samples = chunk("data", "\x80\x80");
    for (const std::string& file :
         {std::string(), std::string("RIFF\x04\0\0\0AVI ", 12), wave(2, 1, 4, samples),
          "RIFF" + le(4 + samples.size(), 4) + "WAVE" + samples, wave(1, 1, 8, ""),
          wave(1, 1, 8, "data" + le(9, 4) + "\x80\x80")})  // compressed, no format, none, cut
        EXPECT_FALSE(readPcmWav(file).has_value()) << file.size();
}

}  // namespace
}  // namespace kestrum
