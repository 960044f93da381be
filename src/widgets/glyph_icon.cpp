#include "widgets/glyph_icon.h"

#include "widgets/picture_cache.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace kestrum {

namespace {

// Shapes are drawn on a square of 32 units.
constexpr qreal kUnits = 32.0;

void drawStrokes(QPainter& painter, const QColor& colour, qreal width,
                 std::initializer_list<QPolygonF> strokes) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    for (const QPolygonF& stroke : strokes)
        painter.drawPolyline(stroke);
}

// A thick arrow pointing left, turned clockwise by `degrees` around the centre and scaled.
QPolygonF arrowOutline(qreal degrees, qreal scale) {
    static constexpr std::array<QPointF, 7> kLeftArrow{
        {{-14, 0}, {-1, -13}, {-1, -6}, {13, -6}, {13, 6}, {-1, 6}, {-1, 13}}};
    const qreal angle = degrees * std::numbers::pi / 180.0;
    QPolygonF outline;
    for (const QPointF& point : kLeftArrow) {
        outline << QPointF(
            16 + scale * (point.x() * std::cos(angle) - point.y() * std::sin(angle)),
            16 + scale * (point.x() * std::sin(angle) + point.y() * std::cos(angle)));
    }
    return outline;
}

// Grey body; the edges that face the light from the top left are white, the others black.
void drawArrow(QPainter& painter, const QPolygonF& outline) {
    QPainterPath body;
    body.addPolygon(outline);
    body.closeSubpath();
    painter.fillPath(body, QColor(192, 192, 192));
    painter.setClipPath(body);  // the edges' outer half falls away: they stay inside the body
    for (qsizetype i = 0; i < outline.size(); ++i) {
        const QPointF from = outline[i];
        const QPointF to = outline[(i + 1) % outline.size()];
        // Clockwise on screen, the outward normal of (dx, dy) is (dy, -dx).
        const QPointF outward(to.y() - from.y(), from.x() - to.x());
        const bool lit = outward.x() + outward.y() < 0;
        painter.setPen(QPen(lit ? Qt::white : Qt::black, 2.0, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(from, to);
    }
}

void drawGlyph(QPainter& painter, Glyph glyph) {
    switch (glyph) {
        case Glyph::Ok:
            drawStrokes(painter, QColor(0, 128, 0), 4.5, {QPolygonF({{6, 17}, {13, 24}, {26, 8}})});
            break;
        case Glyph::Cancel:
            drawStrokes(painter, QColor(200, 0, 0), 4.5,
                        {QPolygonF({{8, 8}, {24, 24}}), QPolygonF({{24, 8}, {8, 24}})});
            break;
        case Glyph::Close:
            drawStrokes(painter, QColor(64, 64, 64), 3.5,
                        {QPolygonF({{9, 9}, {23, 23}}), QPolygonF({{23, 9}, {9, 23}})});
            break;
        case Glyph::ArrowUp:
            drawArrow(painter, arrowOutline(45, 0.88));
            break;
        case Glyph::ArrowDown:
            drawArrow(painter, arrowOutline(-45, 0.88));
            break;
        case Glyph::ArrowEven:
            drawArrow(painter, arrowOutline(0, 1.0));
            break;
    }
}

class GlyphEngine final : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph) : glyph_(glyph) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (mode == QIcon::Disabled) painter->setOpacity(0.4);
        const qreal side = std::min(rect.width(), rect.height());
        painter->translate(rect.x() + (rect.width() - side) / 2.0,
                           rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / kUnits, side / kUnits);
        drawGlyph(*painter, glyph_);
        painter->restore();
    }

    // Called with the size in device pixels: the picture is drawn at full resolution. A button
    // asks at every paint, so each size and mode is drawn once.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return pictures_.picture(
            {{}, static_cast<std::uint64_t>(mode), size}, 1.0, PictureCache::Ground::Transparent,
            [&](QPainter& painter) { paint(&painter, QRect(QPoint(0, 0), size), mode, state); });
    }

    QIconEngine* clone() const override { return new GlyphEngine(glyph_); }

private:
    Glyph glyph_;
    PictureCache pictures_;
};

}  // namespace

QIcon glyphIcon(Glyph glyph) {
    return QIcon(new GlyphEngine(glyph));
}

}  // namespace kestrum
