#include "platform/wav_file.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

std::string le(std::uint32_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string chunk(const std::string& id, const std::string& body, std::uint32_t size) {
    return id + le(size, 4) + body + (body.size() % 2 == 1 ? std::string(1, '\0') : "");
}

// A format chunk: tag, channels, rate, byte rate, block align, bits.
std::string format(std::uint32_t tag, int channels, std::uint32_t rate, int bits) {
    const std::string body = le(tag, 2) + le(channels, 2) + le(rate, 4) +
                             le(rate * channels * bits / 8, 4) + le(channels * bits / 8, 2) +
                             le(bits, 2);
    return chunk("fmt ", body, 16);
}

std::string wave(const std::string& chunks) {
    return "RIFF" + le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

TEST(PcmWav, ReadsFormatAndSamplesPastOtherChunks) {
    const std::string file =
        wave(chunk("LIST", "abc", 3) + format(1, 1, 22050, 8) + chunk("data", "\x80\x7F\x81", 3));
    const std::optional<PcmClip> clip = readPcmWav(file);
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->channels, 1);
    EXPECT_EQ(clip->rate, 22050U);
    EXPECT_EQ(clip->bitsPerSample, 8);
    EXPECT_EQ(clip->samples, "\x80\x7F\x81");
    EXPECT_EQ(readPcmWav(wave(format(1, 2, 44100, 16) + chunk("data", "", 0)))->channels, 2);
}

TEST(PcmWav, RejectsWhatIsNoPlainPcmWave) {
    const std::string data = chunk("data", "\x80\x80", 2);
    const std::string rejected[] = {
        "",
        std::string("RIFF\x04\0\0\0AVI ", 12),
        wave(format(2, 1, 22050, 4) + data),                            // compressed
        wave(data),                                                     // no format
        wave(format(1, 1, 22050, 8)),                                   // no samples
        wave(format(1, 1, 22050, 8) + "data" + le(9, 4) + "\x80\x80"),  // cut short
    };
    for (const std::string& file : rejected)
        EXPECT_FALSE(readPcmWav(file).has_value()) << file.size();
}

}  // namespace
}  // namespace kestrum
