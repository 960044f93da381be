#include "keyboard/keyboard_layout.h"
#include "keyboard/window_placement.h"

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

// Every figure of the four keyboard sizes; codes other than 1..3 are drawn small.
TEST(KeyboardLayout, TheFourSizes) {
    struct Row {
        std::vector<int> codes;
        int K, bevel, messageHeight, outputHeight, buttonHeight;
        std::array<int, 5> fonts;  // message, output, key, Shift, finger label
        int X0;
        std::array<int, 3> indent;
        Rect pnl_key;
        int windowWidth, windowHeight, thumbGap;
    };
    // clang-format off
    const Row rows[] = {
        // codes, K, b, heights of message, output and button, fonts, X0, d1..d3; then pnl_key,
        // the window's size, the thumb's gap
        {{0, -1, 4, 7}, 35, 4, 41, 70,  25, {18, 30, 18, 10, 10}, 48, {17, 10, 17},
         {8, 132, 553, 227}, 573, 422, 5},
        {{3},           44, 5, 50, 87,  25, {22, 37, 22, 16, 13}, 61, {22, 13, 22},
         {8, 158, 695, 286}, 715, 505, 6},
        {{2},           56, 7, 64, 111, 32, {28, 47, 28, 20, 16}, 78, {28, 16, 28},
         {8, 196, 884, 364}, 904, 627, 8},
        {{1},           70, 8, 80, 111, 40, {35, 58, 35, 25, 20}, 97, {35, 21, 35},
         {8, 212, 1106, 455}, 1126, 750, 10},
    };
    // clang-format on
    for (const Row& r : rows) {
        for (const int code : r.codes) {
            SCOPED_TRACE(code);
            const KeyboardLayout l = layoutOf(code);
            const FontSizes& f = l.fonts;
            EXPECT_EQ(std::tuple(l.keySize, l.top_margin, l.bevel, l.keys[0][0].bevel,
                                 l.left_margin, l.indent, l.pnl_key, l.windowWidth, l.windowHeight),
                      std::tuple(r.K, r.K, r.bevel, r.bevel, r.X0, r.indent, r.pnl_key,
                                 r.windowWidth, r.windowHeight));
            EXPECT_EQ((std::array{f.message, f.output, f.key, f.shift, f.finger}), r.fonts);
            EXPECT_EQ(l.Panel_message, (Rect{16, 16, r.pnl_key.width - 10, r.messageHeight}));
            EXPECT_EQ(l.pnl_output,
                      (Rect{16, 16 + r.messageHeight, r.pnl_key.width - 9, r.outputHeight}));
            EXPECT_EQ(l.Button_go_menu,
                      (Rect{8 + r.pnl_key.width - 137, r.pnl_key.top + r.pnl_key.height + 5, 137,
                            r.buttonHeight}));
            const Rect space = keyRect(l, M::kSpace);
            EXPECT_EQ(space, (Rect{r.X0 + 3 * r.K, 5 * r.K, 6 * r.K, r.K}));
            const Rect thumb = l.finger_labels[M::kLeftHand][M::kThumb];
            EXPECT_EQ(
                std::pair(thumb.left, thumb.top),
                std::pair(right(space) + r.thumbGap, space.top + (r.K - (r.fonts[4] + 3)) / 2));
            EXPECT_EQ(l.finger_labels[M::kRightHand][M::kThumb], Rect{});
            EXPECT_EQ(std::tuple(l.Label_counter_left, l.Label_counter_top, l.Button_dummy_top),
                      std::tuple(l.Button_go_menu.left - 120, l.Button_go_menu.top,
                                 l.Button_go_menu.top + 50));
            // Centred with the fake text heights.
            EXPECT_EQ(l.messageLineTops[0], (r.messageHeight - r.fonts[0] - 6) / 2);
            EXPECT_EQ(l.lbl_sample_top, (r.outputHeight - r.fonts[1] - 11) / 2);
        }
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
    EXPECT_EQ(keyRect(s, M::kRightShift).width, 61);
    // The hidden panels lie under the Shift keys.
    EXPECT_EQ(s.edge_keys[KeyboardLayout::kHiddenEdgeKey].rect.left, 13);
    EXPECT_EQ(s.side_keys[KeyboardLayout::kHiddenSideKey].rect, keyRect(s, M::kRightShift));
    // A flat piece over the inner edges of the two Enter pieces.
    EXPECT_EQ(s.keys[4][3], (Panel{{48 + 17 + 10 + 12 * 35 + 4, 35 + 35 + 4, 35, 62}, 0}));
}

TEST(KeyboardLayout, FingerLabelsAndCharacterCells) {
    const KeyboardLayout l = layoutOf(2);
    const Rect middle = l.finger_labels[M::kLeftHand][M::kMiddle];  // over "3" and "4"
    EXPECT_EQ(middle, (Rect{keyRect(l, {0, 2}).left + (2 * 56 - 48) / 2, 56 - 19 - 4, 48, 19}));
    const Rect index = l.finger_labels[M::kRightHand][M::kIndex];  // over "7" and "8"
    EXPECT_EQ(index.left, keyRect(l, {0, 6}).left + (2 * 56 - 32) / 2);
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
    EXPECT_EQ((std::array{f.message, f.output, f.key, f.shift, f.finger}),
              (std::array{28, 46, 28, 20, 16}));  // output 58 x 0.8 = 46.4
    EXPECT_EQ(std::tuple(at120.windowHeight, at120.tutorial, layoutOf(1, 0.0).fonts.key),
              std::tuple(750, false, 35));

    const KeyboardLayout l = layoutOf(3, 96.0, true);
    EXPECT_TRUE(l.tutorial);
    EXPECT_EQ(l.Panel_message.height, 50 + 87);
    const int h = 22 + 6;
    const int gap = (137 - 4 * h) / 5;
    EXPECT_EQ(l.messageLineTops,
              (std::array<int, 4>{gap, 2 * gap + h, 3 * gap + 2 * h, 4 * gap + 3 * h}));
    EXPECT_EQ(l.pnl_key.top, 158);
    for (const auto& [code, dpi, points] : {std::tuple{1, 96.0, 30}, {1, 120.0, 24}, {2, 96.0, 28}})
        EXPECT_EQ(layoutOf(code, dpi, true).fonts.message, points) << code << " " << dpi;
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
