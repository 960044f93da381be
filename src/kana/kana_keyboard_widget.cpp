#include "kana/kana_keyboard_widget.h"

#include "kana/kana_marks_text.h"
#include "keyboard/keyboard_widget.h"
#include "keyboard/rgb.h"
#include "widgets/bevel_panel_widget.h"

#include <QPainter>

#include <array>
#include <utility>

namespace kestrum {

namespace {

constexpr int kPanelBevel = 3;

// The keys right of the romaji keyboard's cells stand where the drill keyboard draws blank
// panels; the number is the panel's place in KeyboardLayout::side_keys.
struct SideKey {
    KeyPosition position;
    std::size_t panel;
};
constexpr std::array<SideKey, 7> kSideKeys{{
    {{0, 11}, 0},
    {{0, 12}, 1},
    {{1, 10}, 3},
    {{1, 11}, 4},
    {{2, 10}, 6},
    {{2, 11}, 7},
    {{3, 10}, 10},
}};

bool isSidePanel(std::size_t panel) {
    for (const SideKey& key : kSideKeys) {
        if (key.panel == panel) return true;
    }
    return false;
}

const Panel* panelOf(const KeyboardLayout& layout, KeyPosition position) {
    for (const SideKey& key : kSideKeys) {
        if (key.position == position) return &layout.side_keys[key.panel];
    }
    const bool inGrid = position.row >= 0 && position.row < KeyboardModel::kRows &&
                        position.col >= 0 && position.col < KeyboardModel::kCols;
    if (!inGrid) return nullptr;
    return &layout.keys[static_cast<std::size_t>(position.row)]
                       [static_cast<std::size_t>(position.col)];
}

}  // namespace

KanaKeyboardWidget::KanaKeyboardWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("キーボード"));
    model_.arrange();
}

void KanaKeyboardWidget::arrange(const KeyboardLayout& layout) {
    layout_ = layout;
    keyFont_ = KeyboardWidget::faceFont(layout.fonts.key);
    // A key with two kana prints them smaller, in opposite corners, as a keycap does.
    pairedFont_ = KeyboardWidget::faceFont(std::max(1, layout.fonts.key * 7 / 10));
    smallFont_ = KeyboardWidget::faceFont(std::max(1, layout.fonts.key * 9 / 20));
    shiftFont_ = KeyboardWidget::faceFont(layout.fonts.shift);
    fingerFont_ = KeyboardWidget::faceFont(layout.fonts.finger);
    setGeometry(toQRect(layout.pnl_key));
    update();
}

void KanaKeyboardWidget::showMarks(const KanaGuideMarks& marks) {
    if (marks == marks_) return;
    marks_ = marks;
    // A screen reader hears the marks as words.
    setAccessibleDescription(QString::fromStdString(kanaMarksText(marks_)));
    update();
}

void KanaKeyboardWidget::showTints(std::map<KeyPosition, Rgb> tints) {
    tints_ = std::move(tints);
    update();
}

QRect KanaKeyboardWidget::keyRect(KeyPosition position) const {
    const Panel* panel = panelOf(layout_, position);
    return panel != nullptr ? toQRect(panel->rect) : QRect();
}

QSize KanaKeyboardWidget::sizeHint() const {
    return {layout_.pnl_key.width, layout_.pnl_key.height};
}

Look KanaKeyboardWidget::lookOf(KeyPosition position, Rgb plain) const {
    if (marks_.target == position || marks_.shift == position)
        return {colours::kRed, colours::kWhite};
    if (marks_.missed == position) return {colours::kGrey, colours::kBlack};
    const auto tint = tints_.find(position);
    return {tint != tints_.end() ? tint->second : plain, colours::kBlack};
}

void KanaKeyboardWidget::paintKey(QPainter& painter, const Panel& panel, const Look& look,
                                  const QString& caption, const QString& shifted,
                                  const QFont& font) const {
    const QRect area = toQRect(panel.rect);
    painter.fillRect(area, toQColor(look.background));
    BevelPanel::paintBevel(painter, area, BevelPanel::Bevel::Raised, panel.bevel);
    painter.setPen(toQColor(look.caption));
    painter.setFont(font);
    if (shifted.isEmpty()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, caption);
        return;
    }
    // The plain kana low and left, the shifted one small in the top right corner.
    const QRect inner = area.adjusted(panel.bevel, panel.bevel, -panel.bevel, -panel.bevel);
    painter.setFont(pairedFont_);
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, caption);
    painter.setFont(smallFont_);
    painter.drawText(inner, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, shifted);
}

void KanaKeyboardWidget::paintBlankPanels(QPainter& painter) const {
    const Look blank{colours::kButtonFace, colours::kBlack};
    for (std::size_t i = 0; i < layout_.edge_keys.size(); ++i) {
        if (i != KeyboardLayout::kHiddenEdgeKey)
            paintKey(painter, layout_.edge_keys[i], blank, {}, {}, keyFont_);
    }
    for (std::size_t i = 0; i < layout_.side_keys.size(); ++i) {
        if (i != KeyboardLayout::kHiddenSideKey && !isSidePanel(i))
            paintKey(painter, layout_.side_keys[i], blank, {}, {}, keyFont_);
    }
}

void KanaKeyboardWidget::paintFingerLabels(QPainter& painter) const {
    painter.setFont(fingerFont_);
    for (int hand = 0; hand < KeyboardModel::kHands; ++hand) {
        for (int finger = 0; finger < KeyboardModel::kFingers; ++finger) {
            const Finger f{hand, finger};
            if (KeyboardModel::isFingerHidden(f)) continue;
            const bool marked = marks_.finger == f;
            const QRect area = toQRect(layout_.finger_labels[static_cast<std::size_t>(hand)]
                                                            [static_cast<std::size_t>(finger)]);
            painter.fillRect(area, toQColor(marked ? colours::kRed : colours::kViolet));
            painter.setPen(toQColor(marked ? colours::kWhite : model_.finger_colour(f)));
            painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                             QString::fromStdString(model_.fingerCaption(f)));
        }
    }
}

void KanaKeyboardWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(colours::kViolet));
    BevelPanel::paintBevel(painter, rect(), BevelPanel::Bevel::Raised, kPanelBevel);
    paintBlankPanels(painter);
    const Panel& filler =
        layout_.keys[KeyboardModel::kEnterFiller.row][KeyboardModel::kEnterFiller.col];
    painter.fillRect(toQRect(filler.rect), toQColor(colours::kButtonFace));

    for (const KanaKey& key : kanaKeys()) {
        const Panel* panel = panelOf(layout_, key.position);
        const Rgb plain = model_.finger_colour(key.finger);
        const bool space = key.position == kSpacePosition;
        paintKey(painter, *panel, lookOf(key.position, plain),
                 space
                     ? QStringLiteral("[space]")
                     : QString::fromUtf8(key.kana.data(), static_cast<qsizetype>(key.kana.size())),
                 QString::fromUtf8(key.shifted.data(), static_cast<qsizetype>(key.shifted.size())),
                 space ? shiftFont_ : keyFont_);
    }
    for (const KeyPosition shift : {kLeftShiftPosition, kRightShiftPosition}) {
        paintKey(painter, *panelOf(layout_, shift), lookOf(shift, colours::kLightCyan),
                 QStringLiteral("Shift"), {}, shiftFont_);
    }
    paintFingerLabels(painter);
}

}  // namespace kestrum
