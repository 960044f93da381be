#include "drill/lesson_figures.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <limits>
#include <string>

namespace kestrum {

namespace {

// The key buffer of the history holds 259 name bytes and a terminator.
constexpr std::size_t kMaxKeyNameBytes = 259;

// General format with up to 15 significant digits and no trailing zeros, independent of the
// process locale (the window toolkit sets one that may use a decimal comma).
std::string generalFormat(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::uint32_t elapsedTicks(std::uint32_t start_tick, std::uint32_t end_tick) {
    return end_tick - start_tick;
}

std::int32_t accuracyPercent(std::int32_t correct, std::int32_t key_count) {
    if (key_count == 0) return 0;
    return static_cast<std::int32_t>(std::int64_t{correct} * 100 / key_count);
}

std::int32_t speedPerMinute(std::int32_t correct, std::uint32_t elapsed) {
    if (elapsed == 0) return 0;
    const std::int64_t speed = std::int64_t{correct} * 60000 / std::int64_t{elapsed};
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(speed, kMax));
}

std::vector<Bytes> statisticsLines(const CharCounts& hit_counts, const CharCounts& miss_counts) {
    std::vector<Bytes> lines;
    for (std::size_t c = 0; c < hit_counts.size(); ++c) {
        const std::int32_t hits = hit_counts[c];
        if (hits == 0) continue;
        const std::int32_t misses = miss_counts[c];
        Bytes line(1, static_cast<char>(c));
        line += ":total = " + std::to_string(hits) + ",miss = " + std::to_string(misses) +
                ",rate = " + generalFormat(static_cast<double>(misses) * 100.0 / hits);
        lines.push_back(std::move(line));
    }
    return lines;
}

ScoreKey scoreKeyForRun(const lesson& record, std::int32_t speed, std::int32_t accuracy) {
    ScoreKey key = scoreKeyFor(record.kind, record.name.substr(0, kMaxKeyNameBytes));
    key.speed = speed;
    key.accuracy = accuracy;
    return key;
}

}  // namespace kestrum
