#include "keyboard/keyboard_widget.h"

#include "keyboard/key_marks_text.h"
#include "keyboard/rgb.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/ui_fonts.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <cstdint>

namespace kestrum {

namespace {

constexpr int kPanelBevel = 3;

std::uint64_t rgbKey(Rgb rgb) {
    return (std::uint64_t{rgb.r} << 16) | (std::uint64_t{rgb.g} << 8) | std::uint64_t{rgb.b};
}

// The faces a piece's caption may be drawn in.
enum class Face : std::uint64_t { Key, Shift, Finger };

// Everything but the caption and the size that sets a piece's pixels, for its picture's key.
std::uint64_t lookKey(const Look& look, Face face, int bevel = 0) {
    return (rgbKey(look.background) << 40) | (rgbKey(look.caption) << 16) |
           (static_cast<std::uint64_t>(bevel & 0x3FFF) << 2) | static_cast<std::uint64_t>(face);
}

bool isShiftKey(KeyCell cell) {
    return cell == KeyboardModel::kLeftShift || cell == KeyboardModel::kRightShift;
}

// Whether `test` holds for some key cell, tried row by row; stops at the first that does.
template <typename Test>
bool anyKey(Test test) {
    for (int row = 0; row < KeyboardModel::kRows; ++row) {
        for (int col = 0; col < KeyboardModel::kCols; ++col) {
            if (test(KeyCell{row, col})) return true;
        }
    }
    return false;
}

template <typename Test>
bool anyFinger(Test test) {
    for (int hand = 0; hand < KeyboardModel::kHands; ++hand) {
        for (int finger = 0; finger < KeyboardModel::kFingers; ++finger) {
            if (test(Finger{hand, finger})) return true;
        }
    }
    return false;
}

template <typename Visit>
void forEachKey(Visit visit) {
    anyKey([&](KeyCell cell) {
        visit(cell);
        return false;
    });
}

template <typename Visit>
void forEachFinger(Visit visit) {
    anyFinger([&](Finger finger) {
        visit(finger);
        return false;
    });
}

}  // namespace

KeyboardWidget::KeyboardWidget(const KeyboardModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    // Every pixel is painted here, so Qt need not clear the background before each repaint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("キーボード"));
    rememberLooks();
}

QFont KeyboardWidget::faceFont(int points) {
    return pointFont(FontFace::Gothic, points, FontStyle::Bold);
}

TextSize KeyboardWidget::fingerLabelSize(const KeyboardModel& model, Finger finger, int points) {
    const QFontMetrics metrics(faceFont(points));
    return {metrics.horizontalAdvance(QString::fromStdString(model.fingerCaption(finger))),
            metrics.height()};
}

void KeyboardWidget::arrange(const KeyboardLayout& layout) {
    layout_ = layout;
    keyFont_ = faceFont(layout.fonts.key);
    shiftFont_ = faceFont(layout.fonts.shift);
    fingerFont_ = faceFont(layout.fonts.finger);
    pictures_.clear();
    setGeometry(toQRect(layout.pnl_key));
    rememberLooks();
    update();
}

void KeyboardWidget::refresh() {
    forEachKey([this](KeyCell cell) {
        auto& shown =
            shownKeys_[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.col)];
        const Look look = model_.keyLook(cell);
        if (shown == look) return;
        shown = look;
        if (!model_.isHidden(cell)) update(keyRect(cell));
    });
    forEachFinger([this](Finger finger) {
        auto& shown = shownFingers_[static_cast<std::size_t>(finger.hand)]
                                   [static_cast<std::size_t>(finger.finger)];
        const Look look = model_.fingerLook(finger);
        if (shown == look) return;
        shown = look;
        if (!KeyboardModel::isFingerHidden(finger)) update(fingerLabelRect(finger));
    });
    // A screen reader hears the marks as words: the key to type next, its finger, a wrong key.
    const QString marks = QString::fromStdString(keyMarksText(model_));
    if (marks != accessibleDescription()) setAccessibleDescription(marks);
}

void KeyboardWidget::rememberLooks() {
    forEachKey([this](KeyCell cell) {
        shownKeys_[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.col)] =
            model_.keyLook(cell);
    });
    forEachFinger([this](Finger finger) {
        shownFingers_[static_cast<std::size_t>(finger.hand)]
                     [static_cast<std::size_t>(finger.finger)] = model_.fingerLook(finger);
    });
}

QRect KeyboardWidget::keyRect(KeyCell cell) const {
    return toQRect(layout_.keys.at(static_cast<std::size_t>(cell.row))
                       .at(static_cast<std::size_t>(cell.col))
                       .rect);
}

QRect KeyboardWidget::fingerLabelRect(Finger finger) const {
    return toQRect(layout_.finger_labels.at(static_cast<std::size_t>(finger.hand))
                       .at(static_cast<std::size_t>(finger.finger)));
}

QSize KeyboardWidget::sizeHint() const {
    return {layout_.pnl_key.width, layout_.pnl_key.height};
}

void KeyboardWidget::paintPanel(QPainter& painter, const Panel& panel, const Look& look,
                                const QString& caption, const QFont& font) const {
    const QRect area = toQRect(panel.rect);
    painter.fillRect(area, toQColor(look.background));
    BevelPanel::paintBevel(painter, area, BevelPanel::Bevel::Raised, panel.bevel);
    if (caption.isEmpty()) return;
    painter.setFont(font);
    painter.setPen(toQColor(look.caption));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

template <typename Draw>
void KeyboardWidget::paintPiece(QPainter& painter, const QRect& area, const QString& caption,
                                std::uint64_t look, const Draw& draw) {
    // Pieces of one size share their pictures: same caption and look, same pixels.
    const QPixmap& picture = pictures_.picture({caption, look, area.size()}, devicePixelRatioF(),
                                               PictureCache::Ground::Painted, [&](QPainter& p) {
                                                   p.translate(-area.topLeft());
                                                   draw(p);
                                               });
    painter.drawPixmap(area.topLeft(), picture);
}

void KeyboardWidget::paintKey(QPainter& painter, KeyCell cell) {
    const Panel& panel =
        layout_.keys[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.col)];
    const Look look = model_.keyLook(cell);
    const QString caption = QString::fromStdString(model_.caption(cell));
    const bool shift = isShiftKey(cell);
    const QFont& font = shift ? shiftFont_ : keyFont_;
    paintPiece(painter, toQRect(panel.rect), caption,
               lookKey(look, shift ? Face::Shift : Face::Key, panel.bevel),
               [&](QPainter& p) { paintPanel(p, panel, look, caption, font); });
}

void KeyboardWidget::paintFingerLabel(QPainter& painter, Finger finger) {
    const QRect area = fingerLabelRect(finger);
    const Look look = model_.fingerLook(finger);
    const QString caption = QString::fromStdString(model_.fingerCaption(finger));
    // A label shows nothing outside itself: the glyphs of the bold face reach a pixel above it,
    // where a repaint of the label alone would leave them behind. Its picture ends where it does.
    paintPiece(painter, area, caption, lookKey(look, Face::Finger), [&](QPainter& p) {
        p.fillRect(area, toQColor(look.background));
        p.setFont(fingerFont_);
        p.setPen(toQColor(look.caption));
        p.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, caption);
    });
}

void KeyboardWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // A key press dirties a few small rectangles far apart. Painted one rectangle at a time, every
    // fill stays on the painter's fast path for a rectangular clip, where a clip region would be
    // applied span by span over the whole keyboard.
    for (const QRect& dirty : event->region()) {
        painter.setClipRect(dirty);
        paintArea(painter, dirty);
    }
}

bool KeyboardWidget::coveredByPiece(const QRect& dirty) const {
    return anyKey([&](KeyCell cell) {
               return keyRect(cell).contains(dirty) && !model_.isHidden(cell);
           }) ||
           anyFinger([&](Finger finger) {
               return fingerLabelRect(finger).contains(dirty) &&
                      !KeyboardModel::isFingerHidden(finger);
           });
}

void KeyboardWidget::paintArea(QPainter& painter, const QRect& dirty) {
    // Drawn in the order the panels were made, so that later ones lie on top where they overlap
    // (the Enter filler over the two Enter pieces). Key cells and finger labels come last and
    // cover their whole area, so the ground and the blank panels beneath one that holds the
    // whole of `dirty` (what a key press usually repaints) would never be seen.
    if (!coveredByPiece(dirty)) paintGround(painter, dirty);
    forEachKey([&](KeyCell cell) {
        if (model_.isHidden(cell) || !dirty.intersects(keyRect(cell))) return;
        paintKey(painter, cell);
    });
    forEachFinger([&](Finger finger) {
        if (KeyboardModel::isFingerHidden(finger) || !dirty.intersects(fingerLabelRect(finger))) {
            return;
        }
        paintFingerLabel(painter, finger);
    });
}

void KeyboardWidget::paintGround(QPainter& painter, const QRect& dirty) const {
    painter.fillRect(dirty, toQColor(colours::kViolet));
    if (!rect().adjusted(kPanelBevel, kPanelBevel, -kPanelBevel, -kPanelBevel).contains(dirty)) {
        BevelPanel::paintBevel(painter, rect(), BevelPanel::Bevel::Raised, kPanelBevel);
    }
    const Look blank{colours::kButtonFace, colours::kBlack};
    for (std::size_t i = 0; i < layout_.edge_keys.size(); ++i) {
        const Panel& panel = layout_.edge_keys[i];
        if (i == KeyboardLayout::kHiddenEdgeKey || !dirty.intersects(toQRect(panel.rect))) continue;
        paintPanel(painter, panel, blank, {}, keyFont_);
    }
    for (std::size_t i = 0; i < layout_.side_keys.size(); ++i) {
        const Panel& panel = layout_.side_keys[i];
        if (i == KeyboardLayout::kHiddenSideKey || !dirty.intersects(toQRect(panel.rect))) continue;
        paintPanel(painter, panel, blank, {}, keyFont_);
    }
}

}  // namespace kestrum
