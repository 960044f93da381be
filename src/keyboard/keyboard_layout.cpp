#include "keyboard/keyboard_layout.h"

#include <cstddef>

namespace kestrum {

namespace {

constexpr SizeTable kSmall{35, 4, 41, 70, 25, 18, 30, 18, 10, 10, 1.8};
constexpr SizeTable kMedium{44, 5, 50, 87, 25, 22, 37, 22, 16, 13, 1.4};
constexpr SizeTable kLarge{56, 7, 64, 111, 32, 28, 47, 28, 20, 16, 1.2};
constexpr SizeTable kExtraLarge{70, 8, 80, 111, 40, 35, 58, 35, 25, 20, 1.2};

constexpr int kPanelMessageLeft = 16;
constexpr int kPanelMessageTop = 16;
constexpr int kOutputLeft = 16;
constexpr int kKeyPanelLeft = 8;
constexpr int kGapBelowPanels = 5;
constexpr int kCounterBeforeButton = 120;
constexpr int kDummyBelowButton = 50;          // keeps the focus holder at the window's bottom edge
constexpr int kTutorialLargeMessageFont = 30;  // so that four lines fit at LL
constexpr int kExtraLargeCode = 1;
constexpr int kFirstCellLeft = 10;
constexpr int kFingerLabelGap = 4;

// The sizes were fixed with products in 64-bit-mantissa extended precision: three of them (X0
// of S and LL, the window height of LL) come out one lower than plain double arithmetic gives.
long double product(long double value, double factor) {
    return value * static_cast<long double>(factor);
}
int truncProduct(long double value, double factor) {
    return static_cast<int>(product(value, factor));
}

// The number-row keys that a finger label stands over.
struct LabelRegion {
    int hand;
    int finger;
    int firstCol;
    int cols;
};

constexpr std::array<LabelRegion, 8> kLabelRegions{{
    {KeyboardModel::kLeftHand, KeyboardModel::kLittle, 0, 1},
    {KeyboardModel::kLeftHand, KeyboardModel::kRing, 1, 1},
    {KeyboardModel::kLeftHand, KeyboardModel::kMiddle, 2, 2},
    {KeyboardModel::kLeftHand, KeyboardModel::kIndex, 4, 2},
    {KeyboardModel::kRightHand, KeyboardModel::kIndex, 6, 2},
    {KeyboardModel::kRightHand, KeyboardModel::kMiddle, 8, 1},
    {KeyboardModel::kRightHand, KeyboardModel::kRing, 9, 1},
    {KeyboardModel::kRightHand, KeyboardModel::kLittle, 10, 1},
}};

void arrangeMessageLines(KeyboardLayout& l, int keyboard_size, int outputHeight, int tutorialFont,
                         const TextMeasure& measure) {
    l.tutorial = true;
    if (keyboard_size == kExtraLargeCode) l.fonts.message = tutorialFont;
    l.Panel_message.height += outputHeight;
    const int h = measure.messageLineHeight(l.fonts.message);
    const int gap = (l.Panel_message.height - 4 * h) / 5;
    for (std::size_t i = 0; i < l.messageLineTops.size(); ++i) {
        const int n = static_cast<int>(i);
        l.messageLineTops[i] = (n + 1) * gap + n * h;
    }
}

void arrangeKeys(KeyboardLayout& l) {
    const int K = l.keySize;
    const int b = l.bevel;
    const int X0 = l.left_margin;
    const int Y0 = l.top_margin;
    const auto [d1, d2, d3] = l.indent;
    const auto wide = [=](int left, int row, int width) {
        return Panel{{left, Y0 + row * K, width, K}, b};
    };
    const auto square = [=](int left, int row) { return wide(left, row, K); };

    l.edge_keys = {square(X0 - K, 0), wide(X0 - K, 1, K + d1), wide(X0 - K, 2, K + d1 + d2),
                   square(X0 - K, 3)};  // the last one is hidden under the left Shift
    auto& keys = l.keys;
    const auto keyAt = [&keys](KeyCell c) -> Panel& {
        return keys[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.col)];
    };
    keyAt(KeyboardModel::kLeftShift) = wide(X0 - K, 3, K + d1 + d2 + d3);

    const int row1 = X0 + d1;
    const int row2 = X0 + d1 + d2;
    const int row3 = X0 + d1 + d2 + d3;
    l.side_keys = {
        square(X0 + 11 * K, 0),
        square(X0 + 12 * K, 0),
        square(X0 + 13 * K, 0),
        square(row1 + 10 * K, 1),
        square(row1 + 11 * K, 1),
        wide(row1 + 12 * K, 1, 2 * K - d1),
        square(row2 + 10 * K, 2),
        square(row2 + 11 * K, 2),
        wide(row2 + 12 * K, 2, 2 * K - d1 - d2),
        wide(row3 + 11 * K, 3, 3 * K - d1 - d2 - d3),  // hidden under the right Shift
        square(row3 + 10 * K, 3),
    };
    keyAt(KeyboardModel::kRightShift) = wide(row3 + 11 * K, 3, 3 * K - d1 - d2 - d3);
    // A flat piece over the inner edges of the two Enter pieces makes them read as one key.
    keyAt(KeyboardModel::kEnterFiller) = {
        {row2 + 12 * K + b, Y0 + K + b, 2 * K - d1 - d2 - 2 * b, 2 * K - 2 * b}, 0};
    keyAt(KeyboardModel::kSpace) = wide(X0 + 3 * K, 4, 6 * K);

    for (int col = 0; col < KeyboardModel::kCols; ++col)
        keyAt({0, col}) = square(X0 + col * K, 0);
    const std::array<int, 3> rowStarts{row1, row2, row3};
    for (int row = 1; row <= 3; ++row) {
        for (int col = 0; col < 10; ++col) {
            keyAt({row, col}) = square(rowStarts[static_cast<std::size_t>(row - 1)] + col * K, row);
        }
    }
}

void arrangeFingerLabels(KeyboardLayout& l, const TextMeasure& measure) {
    for (const auto& [hand, finger, firstCol, cols] : kLabelRegions) {
        const TextSize size = measure.fingerLabelSize({hand, finger}, l.fonts.finger);
        const Rect& first = l.keys[0][static_cast<std::size_t>(firstCol)].rect;
        l.finger_labels[static_cast<std::size_t>(hand)][static_cast<std::size_t>(finger)] = {
            first.left + (cols * l.keySize - size.width) / 2,
            l.top_margin - size.height - kFingerLabelGap, size.width, size.height};
    }
    const Rect& space = l.keys[KeyboardModel::kSpace.row][KeyboardModel::kSpace.col].rect;
    const TextSize thumb =
        measure.fingerLabelSize({KeyboardModel::kLeftHand, KeyboardModel::kThumb}, l.fonts.finger);
    l.finger_labels[KeyboardModel::kLeftHand][KeyboardModel::kThumb] = {
        space.left + space.width + l.keySize / 7, space.top + (l.keySize - thumb.height) / 2,
        thumb.width, thumb.height};
}

void arrangeCharCells(KeyboardLayout& l, const TextMeasure& measure) {
    const TextSize cell = measure.charCellSize(l.fonts.output);
    int left = kFirstCellLeft;
    for (Rect& r : l.char_cells) {
        r = {left, l.lbl_sample_top, cell.width, cell.height};
        // Neighbouring cells overlap by one pixel.
        left += cell.width - 1;
    }
}

}  // namespace

const SizeTable& KeyboardLayout::sizeTable(int keyboard_size) {
    switch (keyboard_size) {
        case 1:
            return kExtraLarge;
        case 2:
            return kLarge;
        case 3:
            return kMedium;
        default:
            return kSmall;
    }
}

KeyboardLayout KeyboardLayout::compute(int keyboard_size, double logicalDpi, bool tutorial_mode,
                                       const TextMeasure& measure) {
    const SizeTable& t = sizeTable(keyboard_size);
    // A display reporting no density must not turn every font size into a division by zero.
    const double size_scale = 96.0 / (logicalDpi > 0 ? logicalDpi : 96.0);
    const auto scaled = [size_scale](int points) { return truncProduct(points, size_scale); };

    KeyboardLayout l;
    const int K = t.keySize;
    l.keySize = K;
    l.bevel = t.bevel;
    l.left_margin = truncProduct(K, 1.4);
    l.top_margin = K;
    l.indent = {truncProduct(50 * K, 0.01), truncProduct(30 * K, 0.01), truncProduct(50 * K, 0.01)};
    l.fonts = {scaled(t.messageFont), scaled(t.outputFont), scaled(t.keyFont), scaled(t.shiftFont),
               scaled(t.fingerFont)};

    l.pnl_key.left = kKeyPanelLeft;
    l.pnl_key.width = truncProduct(K, 15.8);
    l.pnl_key.height = static_cast<int>(6 * K + product(K, 0.5));
    // Panel_message ends one pixel narrower than pnl_output.
    l.Panel_message = {kPanelMessageLeft, kPanelMessageTop, l.pnl_key.width - 10, t.messageHeight};
    l.pnl_output = {kOutputLeft, kPanelMessageTop + t.messageHeight, l.pnl_key.width - 9,
                    t.outputHeight};
    l.lbl_sample_top = (t.outputHeight - measure.sampleHeight(l.fonts.output)) / 2;
    l.messageLineTops[0] = (t.messageHeight - measure.messageLineHeight(l.fonts.message)) / 2;
    l.pnl_key.top = l.pnl_output.top + l.pnl_output.height + kGapBelowPanels;

    const int belowKeys = l.pnl_key.top + l.pnl_key.height + kGapBelowPanels;
    l.Button_go_menu = {l.pnl_key.left + l.pnl_key.width - kButtonGoMenuWidth, belowKeys,
                        kButtonGoMenuWidth, t.buttonHeight};
    l.Label_counter_top = belowKeys;
    l.Label_counter_left = l.Button_go_menu.left - kCounterBeforeButton;
    l.Button_dummy_top = l.Button_go_menu.top + kDummyBelowButton;
    l.windowWidth = l.pnl_key.width + 20;
    l.windowHeight =
        static_cast<int>(l.pnl_key.top + l.pnl_key.height + product(K, t.heightFactor));

    if (tutorial_mode) {
        arrangeMessageLines(l, keyboard_size, t.outputHeight, scaled(kTutorialLargeMessageFont),
                            measure);
    }
    arrangeCharCells(l, measure);
    arrangeKeys(l);
    arrangeFingerLabels(l, measure);
    return l;
}

}  // namespace kestrum
