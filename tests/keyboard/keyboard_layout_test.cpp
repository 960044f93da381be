#include "keyboard/keyboard_layout.h"
#include "platform/window_placement.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using M = KeyboardModel;

// Text sizes that grow with the point size, so that a wrong font reaching a rule shows.
class FakeMeasure final : public TextMeasure {
public:
    int messageLineHeight(int points) const override { return points + 6; }
    int sampleHeight(int points) const override { return points + 11; }
    TextSize charCellSize(int points) const override { return {points / 2 + 3, points + 9}; }
    TextSize fingerLabelSize(Finger finger, int points) const override {
        return {points * (finger.finger + 2), points + 3};
    }
};

KeyboardLayout layoutOf(int code, double dpi = 96.0, bool tutorial = false) {
    return KeyboardLayout::compute(code, dpi, tutorial, FakeMeasure{});
}

Rect keyRect(const KeyboardLayout& l, KeyCell cell) {
    return l.keys[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.col)].rect;
}

int right(const Rect& r) {
    return r.left + r.width;
}

std::string joined(std::initializer_list<int> values) {
    std::string text;
    for (const int v : values)
        text += (text.empty() ? "" : ",") + std::to_string(v);
    return text;
}

std::string joined(const Rect& r) {
    return joined({r.left, r.top, r.width, r.height});
}

// Every figure of the four keyboard sizes against the table in data/keyboard_sizes.tsv.
TEST(KeyboardLayout, TheFourSizes) {
    const auto rows = testing::tableRows("keyboard_sizes.tsv");
    ASSERT_EQ(rows.size(), 7u);
    for (const std::vector<std::string>& row : rows) {
        const KeyboardLayout l = layoutOf(std::stoi(row[0]));
        const FontSizes& f = l.fonts;
        const Rect thumb = l.finger_labels[M::kLeftHand][M::kThumb];
        const std::vector<std::string> figures = {
            row[0],
            joined({l.keySize, l.top_margin, l.bevel, l.keys[0][0].bevel}),
            joined({f.message, f.output, f.key, f.shift, f.finger}),
            joined({l.left_margin, l.indent[0], l.indent[1], l.indent[2]}),
            joined(l.pnl_key),
            joined(l.Panel_message),
            joined(l.pnl_output),
            joined(l.Button_go_menu),
            joined(keyRect(l, M::kSpace)),
            joined({thumb.left, thumb.top}),
            joined({l.Label_counter_left, l.Label_counter_top, l.Button_dummy_top}),
            joined({l.messageLineTops[0], l.lbl_sample_top}),
            joined({l.windowWidth, l.windowHeight})};
        EXPECT_EQ(figures, row);
    }
}

TEST(KeyboardLayout, EveryVisibleRowEndsAtTheSameEdgeWithoutGaps) {
    for (const int code : {0, 3, 2, 1}) {
        SCOPED_TRACE(code);
        const KeyboardLayout l = layoutOf(code);
        const int edge = l.left_margin + 14 * l.keySize;
        // The number row, the two Enter pieces and the Z row.
        for (const std::size_t side : {2, 5, 8})
            EXPECT_EQ(right(l.side_keys[side].rect), edge);
        EXPECT_EQ(right(keyRect(l, M::kRightShift)), edge);
        EXPECT_EQ(right(keyRect(l, M::kLeftShift)), keyRect(l, {3, 0}).left);
        EXPECT_EQ(right(keyRect(l, {3, 9})), l.side_keys[10].rect.left);
        EXPECT_EQ(right(l.side_keys[10].rect), keyRect(l, M::kRightShift).left);
        for (const Panel& p : l.edge_keys)
            EXPECT_EQ(p.rect.left, l.left_margin - l.keySize);
    }
    const KeyboardLayout s = layoutOf(0);
    EXPECT_EQ(keyRect(s, M::kLeftShift), (Rect{13, 35 + 3 * 35, 79, 35}));
    // A flat piece over the inner edges of the two Enter pieces.
    EXPECT_EQ(s.keys[4][3], (Panel{{48 + 17 + 10 + 12 * 35 + 4, 35 + 35 + 4, 35, 62}, 0}));
}

TEST(KeyboardLayout, FingerLabelsAndCharacterCells) {
    const KeyboardLayout l = layoutOf(2);
    const Rect middle = l.finger_labels[M::kLeftHand][M::kMiddle];  // over "3" and "4"
    EXPECT_EQ(middle, (Rect{keyRect(l, {0, 2}).left + (2 * 56 - 48) / 2, 56 - 19 - 4, 48, 19}));
    const Rect little = l.finger_labels[M::kRightHand][M::kLittle];  // over "-"
    EXPECT_EQ(little.left, keyRect(l, {0, 10}).left + (56 - 80) / 2);
    // Cells as wide as "a" in the output font (47 points: 26 x 56), overlapping by a pixel.
    for (std::size_t i = 0; i < l.char_cells.size(); ++i)
        EXPECT_EQ(l.char_cells[i], (Rect{10 + 25 * static_cast<int>(i), (111 - 58) / 2, 26, 56}));
}

// Fonts follow the display density (none reported counts as 96 dpi); geometry does not. The
// tutorial spreads four lines over both panels, shrinking them at LL so that they fit.
TEST(KeyboardLayout, DensityAndTutorial) {
    const KeyboardLayout at120 = layoutOf(1, 120.0);
    const FontSizes f = at120.fonts;
    EXPECT_EQ((std::array{f.message, f.output, f.key, f.shift, f.finger, at120.windowHeight}),
              (std::array{28, 46, 28, 20, 16, 750}));  // output 58 x 0.8 = 46.4
    EXPECT_EQ(layoutOf(1, 0.0).fonts.key, 35);

    const KeyboardLayout l = layoutOf(3, 96.0, true);
    const int h = 22 + 6, gap = (50 + 87 - 4 * h) / 5;
    EXPECT_EQ(std::tuple(l.tutorial, l.Panel_message.height, l.pnl_key.top, l.messageLineTops),
              std::tuple(true, 50 + 87, 158,
                         std::array{gap, 2 * gap + h, 3 * gap + 2 * h, 4 * gap + 3 * h}));
    EXPECT_EQ(layoutOf(1, 96.0, true).fonts.message, 30);
}

// Centred at the first layout and whenever the size changes; a window larger than the screen is
// centred toward zero.
TEST(WindowPlacement, CentresAtTheFirstLayoutAndWhenTheSizeChanges) {
    const ScreenMetrics screen{1280, 1024, 96.0};
    WindowPlacement placement;
    EXPECT_EQ(placement.place(0, screen, 573, 422), (WindowOrigin{353, 301}));
    EXPECT_EQ(placement.place(0, screen, 573, 422), std::nullopt);
    EXPECT_EQ(placement.place(1, screen, 1126, 750), (WindowOrigin{77, 137}));
    EXPECT_EQ(placement.place(0, screen, 573, 422), (WindowOrigin{353, 301}));
    EXPECT_EQ(centredOrigin({800, 600, 96.0}, 1126, 750), (WindowOrigin{-163, -75}));
    EXPECT_EQ(centredOrigin({1125, 749, 96.0}, 1126, 750), (WindowOrigin{0, 0}));
}

}  // namespace
}  // namespace kestrum
