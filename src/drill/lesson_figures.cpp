#include "drill/lesson_figures.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <limits>
#include <numeric>
#include <string>
#include <utility>

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

LessonResult runFigures(ScoreKey key, const CharCounts& hit_counts, const CharCounts& miss_counts,
                        std::int32_t key_count, std::uint32_t duration_ms,
                        std::int64_t ended_utc_ms) {
    const std::int32_t correct =
        key_count - std::accumulate(miss_counts.begin(), miss_counts.end(), std::int32_t{0});
    LessonResult result;
    result.accuracy = accuracyPercent(correct, key_count);
    result.duration_ms = duration_ms;
    result.speed = speedPerMinute(correct, duration_ms);
    result.key = std::move(key);
    result.key.speed = result.speed;
    result.key.accuracy = result.accuracy;
    result.memo_lines = statisticsLines(hit_counts, miss_counts);
    result.hit_counts = hit_counts;
    result.miss_counts = miss_counts;
    result.key_count = key_count;
    result.ended_utc_ms = ended_utc_ms;
    return result;
}

ScoreKey scoreKeyForRun(const lesson& record, std::int32_t speed, std::int32_t accuracy) {
    ScoreKey key = scoreKeyFor(record.kind, record.name.substr(0, kMaxKeyNameBytes));
    key.speed = speed;
    key.accuracy = accuracy;
    return key;
}

}  // namespace kestrum
