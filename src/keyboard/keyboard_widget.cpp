#include "keyboard/keyboard_widget.h"

#include "app/bevel_panel_widget.h"
#include "app/ui_fonts.h"
#include "keyboard/rgb.h"

#include <QPaintEvent>
#include <QPainter>

namespace kestrum {

namespace {

constexpr int kPanelBevel = 3;

QColor toQColor(Rgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

QRect toQRect(const Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

unsigned rgbKey(Rgb rgb) {
    return (unsigned{rgb.r} << 16) | (unsigned{rgb.g} << 8) | unsigned{rgb.b};
}

bool isShiftKey(KeyCell cell) {
    return cell == KeyboardModel::kLeftShift || cell == KeyboardModel::kRightShift;
}

template <typename Visit>
void forEachKey(Visit visit) {
    for (int row = 0; row < KeyboardModel::kRows; ++row) {
        for (int col = 0; col < KeyboardModel::kCols; ++col)
            visit(KeyCell{row, col});
    }
}

template <typename Visit>
void forEachFinger(Visit visit) {
    for (int hand = 0; hand < KeyboardModel::kHands; ++hand) {
        for (int finger = 0; finger < KeyboardModel::kFingers; ++finger) {
            visit(Finger{hand, finger});
        }
    }
}

}  // namespace

KeyboardWidget::KeyboardWidget(const KeyboardModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    // Every pixel is painted here, so Qt need not clear the background before each repaint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    rememberLooks();
}

QFont KeyboardWidget::faceFont(int points) {
    return pointFont(FontFace::Gothic, points, FontStyle::Bold);
}

void KeyboardWidget::arrange(const KeyboardLayout& layout) {
    layout_ = layout;
    keyFont_ = faceFont(layout.fonts.key);
    shiftFont_ = faceFont(layout.fonts.shift);
    fingerFont_ = faceFont(layout.fonts.finger);
    keyPictures_.clear();
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

void KeyboardWidget::paintKey(QPainter& painter, KeyCell cell) {
    const Panel& panel =
        layout_.keys[static_cast<std::size_t>(cell.row)][static_cast<std::size_t>(cell.col)];
    const Look look = model_.keyLook(cell);
    const QString caption = QString::fromStdString(model_.caption(cell));
    const QFont& font = isShiftKey(cell) ? shiftFont_ : keyFont_;
    const QRect area = toQRect(panel.rect);
    // Keys of one size share their pictures: same caption and look, same pixels.
    const QString key = QStringLiteral("%1|%2|%3|%4|%5x%6|%7")
                            .arg(caption)
                            .arg(rgbKey(look.background))
                            .arg(rgbKey(look.caption))
                            .arg(panel.bevel)
                            .arg(area.width())
                            .arg(area.height())
                            .arg(&font == &shiftFont_ ? 1 : 0);
    const QPixmap& picture = keyPictures_.picture(key, area.size(), devicePixelRatioF(),
                                                  PictureCache::Ground::Painted, [&](QPainter& p) {
                                                      p.translate(-area.topLeft());
                                                      paintPanel(p, panel, look, caption, font);
                                                  });
    painter.drawPixmap(area.topLeft(), picture);
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

void KeyboardWidget::paintArea(QPainter& painter, const QRect& dirty) {
    painter.fillRect(dirty, toQColor(colours::kViolet));
    if (!rect().adjusted(kPanelBevel, kPanelBevel, -kPanelBevel, -kPanelBevel).contains(dirty)) {
        BevelPanel::paintBevel(painter, rect(), BevelPanel::Bevel::Raised, kPanelBevel);
    }

    // Drawn in the order the panels were made, so that later ones lie on top where they overlap
    // (the Enter filler over the two Enter pieces).
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
    forEachKey([&](KeyCell cell) {
        if (model_.isHidden(cell) || !dirty.intersects(keyRect(cell))) return;
        paintKey(painter, cell);
    });
    forEachFinger([&](Finger finger) {
        const QRect area = fingerLabelRect(finger);
        if (KeyboardModel::isFingerHidden(finger) || !dirty.intersects(area)) return;
        const Look look = model_.fingerLook(finger);
        painter.fillRect(area, toQColor(look.background));
        // A label shows nothing outside itself: the glyphs of the bold face reach a pixel above
        // it, where a repaint of the label alone would leave them behind.
        painter.setClipRect(area & dirty);
        painter.setFont(fingerFont_);
        painter.setPen(toQColor(look.caption));
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                         QString::fromStdString(model_.fingerCaption(finger)));
        painter.setClipRect(dirty);
    });
}

}  // namespace kestrum
