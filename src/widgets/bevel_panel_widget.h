#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

namespace kestrum {

// A flat panel framed by a raised or lowered 3-D border, with a centred one-line caption. An
// "&" in the caption underlines the character after it and is not shown ("&&" shows one "&").
// Self-drawn; every setter repaints only when the value actually changes.
class BevelPanel : public QWidget {
    Q_OBJECT

public:
    enum class Bevel { None, Raised, Lowered };

    explicit BevelPanel(QWidget* parent = nullptr);

    Bevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(Bevel bevel);
    // Drawn inside the outer bevel; None (the default) leaves it out.
    Bevel bevelInner() const { return bevelInner_; }
    void setBevelInner(Bevel bevel);
    // Width in pixels of each bevel; at least 1.
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    // Flat pixels of the panel's colour between the outer and the inner bevel (0 by default).
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The caption is drawn in the widget's font in this colour (black by default).
    QColor captionColor() const { return captionColor_; }
    void setCaptionColor(const QColor& color);

    // The caption's size plus both borders.
    QSize sizeHint() const override;

    // Draws a bevel of `width` pixels just inside `rect` (highlight on the top and left edges
    // when raised, on the bottom and right when lowered) and returns the rectangle inside it.
    // Shared with the other self-drawn keys and panels so that all borders look alike.
    static QRect paintBevel(QPainter& painter, const QRect& rect, Bevel bevel, int width);

signals:
    // A mouse button went down over the panel.
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int frameWidth() const;

    Bevel bevelOuter_ = Bevel::Raised;
    Bevel bevelInner_ = Bevel::None;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QColor color_;
    QString caption_;
    QColor captionColor_ = Qt::black;
};

}  // namespace kestrum
