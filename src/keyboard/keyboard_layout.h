#pragma once

#include "keyboard/keyboard_model.h"

#include <array>

namespace kestrum {

// Pixels relative to the parent control's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

// A bevelled panel of the keyboard: its place and the width of its raised border (0 = flat).
struct Panel {
    Rect rect;
    int bevel = 0;

    bool operator==(const Panel&) const = default;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

// Sizes that depend on text, measured by the window in its own fonts at the point sizes the
// layout asks for. The layout keeps the rules; the window keeps the fonts.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Height of lbl_message (and of each tutorial line) in its bold face.
    virtual int messageLineHeight(int points) const = 0;
    // Height of lbl_sample in the pnl_output font.
    virtual int sampleHeight(int points) const = 0;
    // The letter "a" in the pnl_output font: every character cell is this size.
    virtual TextSize charCellSize(int points) const = 0;
    // The finger label's caption in the bold keyboard face.
    virtual TextSize fingerLabelSize(Finger finger, int points) const = 0;
};

// The per-size table, font sizes in points before any DPI scaling.
struct SizeTable {
    int keySize;        // K
    int bevel;          // b
    int messageHeight;  // Panel_message
    int outputHeight;   // pnl_output
    int buttonHeight;   // Button_go_menu
    int messageFont;
    int outputFont;
    int keyFont;
    int shiftFont;
    int fingerFont;
    double heightFactor;  // window height = pnl_key bottom + trunc(f x K)
};

// Font sizes in points, already scaled by 96 / logical DPI and truncated.
struct FontSizes {
    int message = 0;  // lbl_message and, in the tutorial, lbl_message2..4
    int output = 0;   // pnl_output: lbl_sample and the character cells
    int key = 0;      // pnl_key: key captions
    int shift = 0;    // the two Shift keys
    int finger = 0;   // finger labels
};

// Where every control of the drill window goes for one keyboard size: the pure arithmetic of
// the drill window's layout. Hidden controls get their rectangles too where the layout places
// them; unused key cells keep an empty rectangle.
struct KeyboardLayout {
    static constexpr int kCharCells = 25;
    static constexpr int kHiddenEdgeKey = 3;  // lies under the left Shift
    static constexpr int kHiddenSideKey = 9;  // lies under the right Shift
    static constexpr int kButtonGoMenuWidth = 137;

    // The table row of a keyboard_size code: 1 LL, 2 L, 3 M, anything else S.
    static const SizeTable& sizeTable(int keyboard_size);

    // Lays the drill window out. A logicalDpi that is not positive counts as 96.
    static KeyboardLayout compute(int keyboard_size, double logicalDpi, bool tutorial_mode,
                                  const TextMeasure& measure);

    int keySize = 0;              // K
    int bevel = 0;                // b
    int left_margin = 0;          // X0
    int top_margin = 0;           // Y0
    std::array<int, 3> indent{};  // d1, d2, d3
    FontSizes fonts;

    Rect pnl_key;
    Rect Panel_message;
    Rect pnl_output;  // hidden in the tutorial
    Rect Button_go_menu;
    int Label_counter_left = 0;
    int Label_counter_top = 0;
    int Button_dummy_top = 0;
    int windowWidth = 0;  // outer size of the drill window
    int windowHeight = 0;

    int lbl_sample_top = 0;
    // Tops of lbl_message and, in the tutorial, lbl_message2..4 (visible only then; they share
    // lbl_message's left edge and font).
    std::array<int, 4> messageLineTops{};
    bool tutorial = false;

    std::array<Panel, 4> edge_keys{};
    std::array<Panel, 11> side_keys{};
    std::array<std::array<Panel, KeyboardModel::kCols>, KeyboardModel::kRows> keys{};
    std::array<std::array<Rect, KeyboardModel::kFingers>, KeyboardModel::kHands> finger_labels{};
    std::array<Rect, kCharCells> char_cells{};  // in pnl_output
};

}  // namespace kestrum
