#include "history/result_summary.h"

#include <cstddef>
#include <string>

namespace kestrum {

namespace {

constexpr const char* kNoPrevious = "(-----)";

std::string speedText(std::int32_t speed) {
    return std::to_string(speed) + "字/分";
}

std::string accuracyText(std::int32_t accuracy) {
    return std::to_string(accuracy) + "%";
}

// No threshold: a difference of 1 already counts.
Trend trendOf(std::int32_t newest, std::int32_t previous) {
    if (newest > previous) return Trend::Up;
    if (newest < previous) return Trend::Down;
    return Trend::Even;
}

}  // namespace

ResultSummary summarizeResult(ScoreFile& scores, const ScoreKey& key, std::int32_t speed,
                              std::int32_t accuracy) {
    return summarizeResult(scores.ReadScores(key), speed, accuracy);
}

ResultSummary summarizeResult(const ScoreReadOutcome& history, std::int32_t speed,
                              std::int32_t accuracy) {
    ResultSummary summary;
    summary.messages = history.messages;
    summary.speedText = speedText(speed);
    summary.accuracyText = accuracyText(accuracy);

    // An unreadable history is shown like a first attempt.
    const int count = history.result == 1 ? history.count : 0;
    if (history.result != 1) summary.messages.push_back(plainMessage("no match data"));
    if (count <= 1) {
        summary.previousSpeedText = kNoPrevious;
        summary.previousAccuracyText = kNoPrevious;
        return summary;
    }

    // The newest stored attempt is the one just recorded; the one before it is the previous.
    const std::size_t newest = static_cast<std::size_t>(count - 1);
    const std::size_t previous = newest - 1;
    summary.previousSpeedText = speedText(history.speeds[previous]);
    summary.previousAccuracyText = accuracyText(history.accuracies[previous]);
    summary.speedTrend = trendOf(history.speeds[newest], history.speeds[previous]);
    summary.accuracyTrend = trendOf(history.accuracies[newest], history.accuracies[previous]);
    return summary;
}

std::string resultCaption(std::string_view applicationTitle) {
    return std::string(applicationTitle) + "  結果";
}

}  // namespace kestrum
