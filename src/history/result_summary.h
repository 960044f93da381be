#pragma once

#include "history/score_file.h"
#include "platform/message.h"
#include "records/score_key.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

// Which arrow stands between this attempt and the previous one.
enum class Trend {
    None,  // no previous attempt: no arrow
    Up,    // the newest stored figure is higher than the one before
    Down,  // lower
    Even,  // the same
};

// Everything the result window shows after a lesson, as UTF-8 texts.
struct ResultSummary {
    std::string speedText;             // this attempt, e.g. "123字/分"
    std::string accuracyText;          // this attempt, e.g. "95%"
    std::string previousSpeedText;     // the previous attempt, or "(-----)"
    std::string previousAccuracyText;  // the previous attempt, or "(-----)"
    Trend speedTrend = Trend::None;
    Trend accuracyTrend = Trend::None;
    Messages messages;  // to show before the window: what reading reported, then "no match data"
};

// Reads the lesson's history (creating an empty score.dat when there is none) and summarises it
// beside this attempt's speed and accuracy. The two newest stored attempts give the previous
// column and the arrows; with fewer than two, or when the history cannot be read, the previous
// column shows "(-----)" and no arrows. This attempt's column always shows `speed` and
// `accuracy` as given, whether or not the attempt was recorded.
ResultSummary summarizeResult(ScoreFile& scores, const ScoreKey& key, std::int32_t speed,
                              std::int32_t accuracy);

// The same from a history already read.
ResultSummary summarizeResult(const ScoreReadOutcome& history, std::int32_t speed,
                              std::int32_t accuracy);

// The result window's caption: the application title followed by two blanks and "結果".
std::string resultCaption(std::string_view applicationTitle = "ケストラムLite");

}  // namespace kestrum
