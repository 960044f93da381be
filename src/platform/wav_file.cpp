#include "platform/wav_file.h"

namespace kestrum {

namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kPcmFormatSize = 16;
constexpr std::uint32_t kPcmTag = 1;

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

std::optional<PcmClip> readPcmWav(std::string_view file) {
    if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE") return {};
    PcmClip clip;
    bool haveFormat = false;
    bool haveData = false;
    for (std::size_t at = 12; file.size() - at >= kChunkHeader;) {
        const std::string_view id = file.substr(at, 4);
        const std::size_t size = littleEndian(file, at + 4, 4);
        const std::string_view body = file.substr(at + kChunkHeader);
        if (size > body.size()) return {};
        if (id == "fmt ") {
            if (size < kPcmFormatSize || littleEndian(body, 0, 2) != kPcmTag) return {};
            clip.channels = static_cast<int>(littleEndian(body, 2, 2));
            clip.rate = littleEndian(body, 4, 4);
            clip.bitsPerSample = static_cast<int>(littleEndian(body, 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            clip.samples = std::string(body.substr(0, size));
            haveData = true;
        }
        at += kChunkHeader + size + (size & 1);
        if (at > file.size()) break;
    }
    if (!haveFormat || !haveData) return {};
    return clip;
}

}  // namespace kestrum
