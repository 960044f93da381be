#pragma once

#include "platform/text.h"
#include "records/score_key.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrum::fuzz {

inline const char* const kDataDir = "/data";
inline const char* const kScorePath = "/data/score.dat";
inline const char* const kTempPath = "/data/temp.tmp";

// One input of a history target: three bytes choose the key, the rest is score.dat. The key's
// name is cut from where the file's first entry keeps its name, so that keys often match.
struct HistoryCase {
    ScoreKey key;
    Bytes image;
};

inline std::optional<HistoryCase> historyCase(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return std::nullopt;
    HistoryCase input;
    input.image.assign(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::size_t nameStart = std::min<std::size_t>(2, input.image.size());
    input.key.kind = data[0] & 1;
    input.key.name = input.image.substr(nameStart, data[1] % 16);
    input.key.name_length = static_cast<std::int32_t>(input.key.name.size());
    input.key.speed = data[2] * 301;  // reaches past 16 bits
    input.key.accuracy = data[2] % 101;
    return input;
}

// Where the key's entry lies, found by reading the layout a byte at a time the way the file was
// described, independently of the code under test. Any entry cut short before the match counts
// as a truncated file.
struct EntryPlace {
    enum class Outcome { Found, NotFound, Truncated };
    Outcome outcome = Outcome::NotFound;
    std::size_t countOffset = 0;  // of N
    std::size_t end = 0;          // one past the last attempt
    unsigned stored = 0;          // N
};

inline EntryPlace placeOf(std::string_view image, const ScoreKey& key) {
    std::size_t at = 0;
    const auto next = [&]() -> std::optional<unsigned> {
        if (at >= image.size()) return std::nullopt;
        return static_cast<unsigned char>(image[at++]);
    };
    for (;;) {
        const std::optional<unsigned> kind = next();
        if (!kind) return {};
        const std::optional<unsigned> length = next();
        if (!length) return {EntryPlace::Outcome::Truncated};
        Bytes name;
        for (unsigned i = 0; i < *length; ++i) {
            const std::optional<unsigned> byte = next();
            if (!byte) return {EntryPlace::Outcome::Truncated};
            name.push_back(static_cast<char>(*byte));
        }
        const std::size_t countOffset = at;
        const std::optional<unsigned> stored = next();
        if (!stored) return {EntryPlace::Outcome::Truncated};
        if (image.size() - at < 3u * *stored) return {EntryPlace::Outcome::Truncated};
        at += 3u * *stored;
        if (static_cast<std::int32_t>(*kind) == key.kind && name == key.name) {
            return {EntryPlace::Outcome::Found, countOffset, at, *stored};
        }
    }
}

}  // namespace kestrum::fuzz
