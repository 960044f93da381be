#include "keyboard/keyboard_layout.h"
#include "keyboard/window_placement.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using M = KeyboardModel;

constexpr int kS = 0;
constexpr int kM = 3;
constexpr int kL = 2;
constexpr int kLL = 1;

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

KeyboardLayout layoutOf(int size, double dpi = 96.0, bool tutorial = false) {
    return KeyboardLayout::compute(size, dpi, tutorial, FakeMeasure{});
}

Rect keyRect(const KeyboardLayout& l, KeyCell cell) {
    return l.keys[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.col)].rect;
}

int right(const Rect& r) {
    return r.left + r.width;
}

// Extended precision decides the margins of S and LL; unknown codes are drawn small.
TEST(KeyboardLayout, WindowSizeAndMarginOfEachKeyboardSize) {
    struct Case {
        int code;
        int width;
        int height;
    };
    for (const Case c :
         {Case{kS, 573, 422}, Case{kM, 715, 505}, Case{kL, 904, 627}, Case{kLL, 1126, 750},
          Case{-1, 573, 422}, Case{4, 573, 422}, Case{7, 573, 422}}) {
        const KeyboardLayout l = layoutOf(c.code);
        EXPECT_EQ(l.windowWidth, c.width) << c.code;
        EXPECT_EQ(l.windowHeight, c.height) << c.code;
    }
    EXPECT_EQ(layoutOf(kS).left_margin, 48);
    EXPECT_EQ(layoutOf(kM).left_margin, 61);
    EXPECT_EQ(layoutOf(kLL).left_margin, 97);
    EXPECT_EQ(layoutOf(kLL).indent, (std::array<int, 3>{35, 21, 35}));
    EXPECT_EQ(layoutOf(kS).indent, (std::array<int, 3>{17, 10, 17}));
}

TEST(KeyboardLayout, PanelsStackBelowTheMessagePanel) {
    const KeyboardLayout l = layoutOf(kM);
    EXPECT_EQ(l.Panel_message, (Rect{16, 16, 685, 50}));
    EXPECT_EQ(l.pnl_output, (Rect{16, 66, 686, 87}));
    EXPECT_EQ(l.pnl_key, (Rect{8, 158, 695, 286}));
    EXPECT_EQ(l.Button_go_menu, (Rect{8 + 695 - 137, 158 + 286 + 5, 137, 25}));
    EXPECT_EQ(l.Label_counter_left, l.Button_go_menu.left - 120);
    EXPECT_EQ(l.Label_counter_top, l.Button_go_menu.top);
    EXPECT_EQ(l.Button_dummy_top, l.Button_go_menu.top + 50);
    // Centred with the fake text heights: message 22 + 6 high, sample 37 + 11 high.
    EXPECT_EQ(l.messageLineTops[0], (50 - 28) / 2);
    EXPECT_EQ(l.lbl_sample_top, (87 - 48) / 2);
    EXPECT_FALSE(l.tutorial);
}

TEST(KeyboardLayout, ShiftKeysOfTheSmallKeyboard) {
    const KeyboardLayout l = layoutOf(kS);
    const Rect leftShift = keyRect(l, M::kLeftShift);
    const Rect rightShift = keyRect(l, M::kRightShift);
    EXPECT_EQ(leftShift, (Rect{13, 35 + 3 * 35, 79, 35}));
    EXPECT_EQ(rightShift.width, 61);
    EXPECT_EQ(rightShift.top, leftShift.top);
    // The hidden panels lie under the Shift keys.
    EXPECT_EQ(l.edge_keys[KeyboardLayout::kHiddenEdgeKey].rect.left, leftShift.left);
    EXPECT_EQ(l.side_keys[KeyboardLayout::kHiddenSideKey].rect, rightShift);
}

TEST(KeyboardLayout, EveryVisibleRowEndsAtTheSameEdge) {
    for (const int code : {kS, kM, kL, kLL}) {
        const KeyboardLayout l = layoutOf(code);
        const int edge = l.left_margin + 14 * l.keySize;
        EXPECT_EQ(right(l.side_keys[2].rect), edge) << code;         // number row
        EXPECT_EQ(right(l.side_keys[5].rect), edge) << code;         // upper Enter piece
        EXPECT_EQ(right(l.side_keys[8].rect), edge) << code;         // lower Enter piece
        EXPECT_EQ(right(keyRect(l, M::kRightShift)), edge) << code;  // Z row
        // No gaps between neighbours in the Z row.
        EXPECT_EQ(right(keyRect(l, M::kLeftShift)), keyRect(l, {3, 0}).left) << code;
        EXPECT_EQ(right(keyRect(l, {3, 9})), l.side_keys[10].rect.left) << code;
        EXPECT_EQ(right(l.side_keys[10].rect), keyRect(l, M::kRightShift).left) << code;
        // Every edge panel starts one key left of the number row.
        for (const Panel& p : l.edge_keys)
            EXPECT_EQ(p.rect.left, l.left_margin - l.keySize);
    }
}

TEST(KeyboardLayout, EnterFillerIsAFlatPieceInsideTheEnterKey) {
    const KeyboardLayout l = layoutOf(kS);
    const Panel filler = l.keys[4][3];
    EXPECT_EQ(filler.bevel, 0);
    EXPECT_EQ(filler.rect, (Rect{48 + 17 + 10 + 12 * 35 + 4, 35 + 35 + 4, 35, 62}));
    const Rect upper = l.side_keys[5].rect;
    const Rect lower = l.side_keys[8].rect;
    EXPECT_EQ(filler.rect.top, upper.top + l.bevel);
    EXPECT_EQ(filler.rect.top + filler.rect.height, lower.top + lower.height - l.bevel);
    EXPECT_EQ(right(filler.rect), right(lower) - l.bevel);
    EXPECT_EQ(l.keys[0][0].bevel, 4);
}

TEST(KeyboardLayout, SpaceBarAndThumbLabel) {
    const KeyboardLayout l = layoutOf(kS);
    const Rect space = keyRect(l, M::kSpace);
    EXPECT_EQ(space, (Rect{48 + 105, 35 + 140, 210, 35}));
    const Rect thumb = l.finger_labels[M::kLeftHand][M::kThumb];
    EXPECT_EQ(thumb.left, right(space) + 5);
    EXPECT_EQ(thumb.top, space.top + (35 - 13) / 2);
    EXPECT_EQ(l.finger_labels[M::kRightHand][M::kThumb], Rect{});
}

TEST(KeyboardLayout, FingerLabelsAreCentredOverTheirNumberKeys) {
    const KeyboardLayout l = layoutOf(kL);
    const int K = l.keySize;
    const Rect middle = l.finger_labels[M::kLeftHand][M::kMiddle];  // over "3" and "4"
    EXPECT_EQ(middle.width, 16 * 3);
    EXPECT_EQ(middle.left, keyRect(l, {0, 2}).left + (2 * K - 48) / 2);
    EXPECT_EQ(middle.top, l.top_margin - 19 - 4);
    const Rect index = l.finger_labels[M::kRightHand][M::kIndex];  // over "7" and "8"
    EXPECT_EQ(index.left, keyRect(l, {0, 6}).left + (2 * K - 32) / 2);
}

TEST(KeyboardLayout, CharacterCellsOverlapByOnePixel) {
    const KeyboardLayout l = layoutOf(kS);
    const TextSize cell = FakeMeasure{}.charCellSize(l.fonts.output);
    EXPECT_EQ(l.char_cells[0], (Rect{10, l.lbl_sample_top, cell.width, cell.height}));
    for (std::size_t i = 1; i < l.char_cells.size(); ++i) {
        EXPECT_EQ(l.char_cells[i].left, right(l.char_cells[i - 1]) - 1) << i;
        EXPECT_EQ(l.char_cells[i].top, l.lbl_sample_top) << i;
    }
}

TEST(KeyboardLayout, FontsScaleWithTheDisplayDensity) {
    const FontSizes at96 = layoutOf(kLL).fonts;
    EXPECT_EQ(at96.key, 35);
    EXPECT_EQ(at96.shift, 25);
    EXPECT_EQ(at96.output, 58);

    const FontSizes at120 = layoutOf(kLL, 120.0).fonts;
    EXPECT_EQ(at120.key, 28);
    EXPECT_EQ(at120.message, 28);
    EXPECT_EQ(at120.shift, 20);
    EXPECT_EQ(at120.finger, 16);
    EXPECT_EQ(at120.output, 46);  // 58 x 0.8 = 46.4

    // A display that reports no density is taken as 96 dpi.
    EXPECT_EQ(layoutOf(kLL, 0.0).fonts.key, 35);
    // Geometry stays in pixels whatever the density.
    EXPECT_EQ(layoutOf(kLL, 120.0).windowHeight, 750);
}

TEST(KeyboardLayout, TutorialSpreadsFourMessageLinesOverBothPanels) {
    const KeyboardLayout l = layoutOf(kM, 96.0, true);
    EXPECT_TRUE(l.tutorial);
    EXPECT_EQ(l.Panel_message.height, 50 + 87);
    const int h = 22 + 6;
    const int gap = (137 - 4 * h) / 5;
    EXPECT_EQ(l.messageLineTops,
              (std::array<int, 4>{gap, 2 * gap + h, 3 * gap + 2 * h, 4 * gap + 3 * h}));
    EXPECT_EQ(l.pnl_key.top, layoutOf(kM).pnl_key.top);

    // At LL the lines shrink to 30 points (scaled) so that four of them fit.
    EXPECT_EQ(layoutOf(kLL, 96.0, true).fonts.message, 30);
    EXPECT_EQ(layoutOf(kLL, 120.0, true).fonts.message, 24);
    EXPECT_EQ(layoutOf(kL, 96.0, true).fonts.message, 28);
}

TEST(WindowPlacement, CentresAtTheFirstLayoutAndWhenTheSizeChanges) {
    const ScreenMetrics screen{1280, 1024, 96.0};
    WindowPlacement placement;
    EXPECT_EQ(placement.last_arranged_size(), -1);
    EXPECT_EQ(placement.place(kS, screen, 573, 422), (WindowOrigin{353, 301}));
    EXPECT_EQ(placement.place(kS, screen, 573, 422), std::nullopt);
    EXPECT_EQ(placement.place(kLL, screen, 1126, 750), (WindowOrigin{77, 137}));
    EXPECT_EQ(placement.place(kS, screen, 573, 422), (WindowOrigin{353, 301}));
    EXPECT_EQ(placement.last_arranged_size(), kS);
}

TEST(WindowPlacement, AWindowLargerThanTheScreenIsCentredTowardZero) {
    EXPECT_EQ(centredOrigin({800, 600, 96.0}, 1126, 750), (WindowOrigin{-163, -75}));
    EXPECT_EQ(centredOrigin({1125, 749, 96.0}, 1126, 750), (WindowOrigin{0, 0}));
}

}  // namespace
}  // namespace kestrum
