#include "progress/attempt_record.h"

#include "platform/text.h"

#include <QDateTime>

#include <numeric>

namespace kestrum {

std::vector<KeyTally> keyTallies(const CharCounts& hit_counts, const CharCounts& miss_counts) {
    std::vector<KeyTally> tallies;
    for (std::size_t c = 1; c < hit_counts.size(); ++c) {
        if (hit_counts[c] == 0 && miss_counts[c] == 0) continue;
        tallies.push_back(
            {cp932ToUtf8(Bytes(1, static_cast<char>(c))), hit_counts[c], miss_counts[c]});
    }
    return tallies;
}

Attempt attemptFromResult(const LessonResult& result) {
    Attempt attempt;
    attempt.started_at = isoUtc(result.ended_utc_ms - result.duration_ms);
    attempt.kind = result.key.kind;
    attempt.lesson = cp932ToUtf8(result.key.name);
    attempt.speed = result.speed;
    attempt.accuracy = result.accuracy;
    attempt.duration_ms = result.duration_ms;
    attempt.keys = result.key_count;
    attempt.misses =
        std::accumulate(result.miss_counts.begin(), result.miss_counts.end(), std::int32_t{0});
    attempt.key_stats = keyTallies(result.hit_counts, result.miss_counts);
    return attempt;
}

std::string isoUtc(std::int64_t utcMs) {
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC);
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toStdString();
}

}  // namespace kestrum
