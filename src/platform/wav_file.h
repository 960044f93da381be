#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

// The samples of an uncompressed PCM sound and their format.
struct PcmClip {
    int channels = 0;
    std::uint32_t rate = 0;  // frames per second
    int bitsPerSample = 0;
    std::string samples;
};

// Reads a RIFF WAVE file's "fmt " and "data" chunks, skipping any others (a chunk of odd size is
// followed by a pad byte). Nothing when the file is no WAVE file, its format is not PCM, or
// either chunk is missing or cut short.
std::optional<PcmClip> readPcmWav(std::string_view file);

}  // namespace kestrum
