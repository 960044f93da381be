#pragma once

#include "history/score_file.h"
#include "platform/message.h"
#include "records/score_key.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// The picture's geometry in pixels; y grows downwards.
constexpr int kGraphWidth = 550;
constexpr int kGraphHeight = 355;
constexpr int kGraphMargin = 20;                              // the same on all four sides
constexpr int kPlotWidth = kGraphWidth - 2 * kGraphMargin;    // 510
constexpr int kPlotHeight = kGraphHeight - 2 * kGraphMargin;  // 315

struct PlotColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const PlotColor&) const = default;
};

constexpr PlotColor kPlotBlack{0, 0, 0};
constexpr PlotColor kPlotWhite{255, 255, 255};
constexpr PlotColor kPlotBlue{0, 0, 255};
constexpr PlotColor kPlotRed{255, 0, 0};

struct PlotPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PlotPoint&) const = default;
};

// A text drawn with its top-left corner at `position`, on an opaque white background, in the
// drawing surface's default font (about 12 pixels high). It may take `maxWidth` pixels to the
// right, up to a pixel short of the next line, label or picture edge, and is drawn smaller where
// the face runs wider: a label never hides a line nor is cut off.
struct PlotText {
    std::string text;  // UTF-8
    PlotPoint position;
    PlotColor color;
    int maxWidth = 0;
    bool operator==(const PlotText&) const = default;
};

struct PlotLine {
    PlotPoint from;
    PlotPoint to;
    bool operator==(const PlotLine&) const = default;
};

// One series of attempts, oldest first. Each point gets a dot, an ellipse filled in `color` in
// the rectangle (x-2, y-2) to (x+2, y+2); the points are joined in order by a 1-pixel dotted line
// in `color`. Points may lie outside the picture (speeds above about 425): they are clipped, but
// the lines towards them are still drawn.
struct PlotSeries {
    PlotColor color;
    std::vector<PlotPoint> points;
};

// What the graph window draws into its white picture, in drawing order: the frame, the grid,
// the texts, then the series (accuracy first, speed over it).
struct GraphPlot {
    // Solid black 1-pixel polyline: down the left scale, along the base, up the right scale.
    std::vector<PlotPoint> frame;
    // Dotted black 1-pixel horizontal lines at the four upper scale marks.
    std::vector<PlotLine> gridLines;
    // The two scales, then (when there is something to plot) the three footer texts.
    std::vector<PlotText> texts;
    // Accuracy (blue) then speed (red); empty when there are fewer than two attempts.
    std::vector<PlotSeries> series;
    int count = 0;             // attempts plotted (0 when the history could not be read)
    int bestAccuracy = 0;      // largest stored accuracy, at least 0
    int bestSpeed = 0;         // largest stored speed, at least 0
    bool closeAtOnce = false;  // nothing to plot: show the messages, then close the window
    Messages messages;         // what reading reported, then the count message if it applies
};

// Reads the lesson's history (creating an empty score.dat when there is none) and plans the
// whole picture.
GraphPlot DrawGraph(ScoreFile& scores, const ScoreKey& key);

// The same from a history already read.
GraphPlot planGraph(const ScoreReadOutcome& history);

// Pixel positions with the rounding of the original floating-point arithmetic: the values are
// scaled by the double constants 0.01 and 0.0025 (slightly above their decimal values) in
// extended precision and truncated toward zero, so accuracy 100 and speed 400 land at y = 19.
int plotX(int index, int count);  // count >= 2; index 0 at x = 20, index count-1 at x <= 530
int accuracyY(std::int32_t accuracy);
int speedY(std::int32_t speed);

// "グラフ" and three blanks, then the lesson's name (converted from code page 932).
std::string graphCaption(const ScoreKey& key);

// The question asked before erasing: OK/Cancel with the information icon, Cancel the default.
Message eraseConfirmation();

struct EraseOutcome {
    bool erased = false;       // the lesson's attempts are gone from score.dat
    bool closeWindow = false;  // close the graph window after showing the messages
    Messages messages;
};

// Erases the lesson's history when the user confirmed. Not confirmed: nothing happens and
// nothing is shown. Confirmed: on success "グラフデータを消去しました。" and the window closes;
// on failure the history file's own messages, then "消去に失敗しました。", and the window
// stays open with its graph.
EraseOutcome eraseGraphData(ScoreFile& scores, const ScoreKey& key, bool confirmed);

}  // namespace kestrum
