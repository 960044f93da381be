#include "platform/wav_file.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kestrum {
namespace {

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
