#include "widgets/bevel_panel_widget.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace kestrum {

namespace {

// The classic 3-D border colours, fixed so that panels look the same under every style.
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);

template <typename T>
bool assign(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

// The caption as read aloud: an "&" marks the access key and is not said; "&&" is one "&".
QString spokenCaption(const QString& caption) {
    QString spoken;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && ++i == caption.size()) break;
        spoken += caption[i];
    }
    return spoken;
}

}  // namespace

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent), color_(240, 240, 240) {
    // Everything is painted here; the toolkit need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BevelPanel::setBevelOuter(Bevel bevel) {
    if (assign(bevelOuter_, bevel)) {
        updateGeometry();
        update();
    }
}

void BevelPanel::setBevelInner(Bevel bevel) {
    if (assign(bevelInner_, bevel)) {
        updateGeometry();
        update();
    }
}

void BevelPanel::setBevelWidth(int width) {
    if (assign(bevelWidth_, std::max(1, width))) {
        updateGeometry();
        update();
    }
}

void BevelPanel::setBorderWidth(int width) {
    if (assign(borderWidth_, std::max(0, width))) {
        updateGeometry();
        update();
    }
}

void BevelPanel::setColor(const QColor& color) {
    if (assign(color_, color)) update();
}

void BevelPanel::setCaption(const QString& caption) {
    if (assign(caption_, caption)) {
        // Drawn text is invisible to a screen reader; the caption is the panel's name.
        setAccessibleName(spokenCaption(caption));
        updateGeometry();
        update();
    }
}

void BevelPanel::setCaptionColor(const QColor& color) {
    if (assign(captionColor_, color)) update();
}

int BevelPanel::frameWidth() const {
    const int bevels = (bevelOuter_ != Bevel::None ? 1 : 0) + (bevelInner_ != Bevel::None ? 1 : 0);
    return bevels * bevelWidth_ + borderWidth_;
}

QSize BevelPanel::sizeHint() const {
    const QFontMetrics metrics(font());
    const QSize text = metrics.size(Qt::TextShowMnemonic, caption_);
    const int border = 2 * frameWidth();
    const int padding = metrics.averageCharWidth();
    return {text.width() + border + 2 * padding, text.height() + border + padding};
}

QRect BevelPanel::paintBevel(QPainter& painter, const QRect& rect, Bevel bevel, int width) {
    if (bevel == Bevel::None || width <= 0) return rect;
    const QColor& topLeft = bevel == Bevel::Raised ? kHighlight : kShadow;
    const QColor& bottomRight = bevel == Bevel::Raised ? kShadow : kHighlight;
    QRect ring = rect;
    for (int i = 0; i < width && ring.width() > 0 && ring.height() > 0; ++i) {
        painter.fillRect(ring.left(), ring.top(), ring.width(), 1, topLeft);
        painter.fillRect(ring.left(), ring.top(), 1, ring.height(), topLeft);
        painter.fillRect(ring.left(), ring.bottom(), ring.width(), 1, bottomRight);
        painter.fillRect(ring.right(), ring.top(), 1, ring.height(), bottomRight);
        ring.adjust(1, 1, -1, -1);
    }
    return ring;
}

void BevelPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), color_);
    QRect inside = paintBevel(painter, rect(), bevelOuter_, bevelWidth_);
    inside.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    inside = paintBevel(painter, inside, bevelInner_, bevelWidth_);
    if (caption_.isEmpty()) return;
    painter.setFont(font());
    painter.setPen(captionColor_);
    painter.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, caption_);
}

void BevelPanel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
    QWidget::mousePressEvent(event);
}

}  // namespace kestrum
