#pragma once

#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_model.h"
#include "widgets/picture_cache.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>

namespace kestrum {

// The layout's and the model's values as the painter takes them.
inline QRect toQRect(const Rect& r) {
    return {r.left, r.top, r.width, r.height};
}
inline QColor toQColor(Rgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

// The on-screen keyboard (pnl_key): a violet raised panel with the key cells, the blank panels
// that complete the keyboard's outline, the flat piece that joins the Enter key and the finger
// labels. It only draws what the model holds and where the layout puts it.
class KeyboardWidget : public QWidget {
    Q_OBJECT

public:
    // The model must outlive the widget.
    explicit KeyboardWidget(const KeyboardModel& model, QWidget* parent = nullptr);

    // The keyboard's face (bold, fixed-pitch gothic) at `points`: key captions and finger labels.
    static QFont faceFont(int points);
    // A finger label's caption measured in that face, for the layout rules.
    static TextSize fingerLabelSize(const KeyboardModel& model, Finger finger, int points);

    // Takes the places, bevels and font sizes of `layout` (pnl_key's own rectangle included) and
    // repaints the whole keyboard.
    void arrange(const KeyboardLayout& layout);

    // Repaints only the keys and finger labels whose look changed since the last call; cheap
    // when nothing changed.
    void refresh();

    // Where the layout put a key cell or a finger label, in this widget's coordinates.
    QRect keyRect(KeyCell cell) const;
    QRect fingerLabelRect(Finger finger) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Paints what lies in `dirty`, which the painter's clip must not exceed.
    void paintArea(QPainter& painter, const QRect& dirty);
    // Whether one key cell or finger label holds all of `dirty`.
    bool coveredByPiece(const QRect& dirty) const;
    // The violet ground, the keyboard's bevel and the blank panels, in `dirty`.
    void paintGround(QPainter& painter, const QRect& dirty) const;
    void paintPanel(QPainter& painter, const Panel& panel, const Look& look, const QString& caption,
                    const QFont& font) const;
    // A key cell as paintPanel draws it, and a finger label, from the pictures of their looks.
    void paintKey(QPainter& painter, KeyCell cell);
    void paintFingerLabel(QPainter& painter, Finger finger);
    // Blits the picture of the piece at `area` with that caption and packed look, made by `draw`
    // (in this widget's coordinates) on a miss.
    template <typename Draw>
    void paintPiece(QPainter& painter, const QRect& area, const QString& caption,
                    std::uint64_t look, const Draw& draw);
    void rememberLooks();

    const KeyboardModel& model_;
    KeyboardLayout layout_;
    QFont keyFont_;
    QFont shiftFont_;
    QFont fingerFont_;
    // The looks last handed to the screen, to find what a key press changed.
    std::array<std::array<Look, KeyboardModel::kCols>, KeyboardModel::kRows> shownKeys_{};
    std::array<std::array<Look, KeyboardModel::kFingers>, KeyboardModel::kHands> shownFingers_{};
    // The key cells' and finger labels' pictures for the current layout, per caption, look, face
    // and size.
    PictureCache pictures_;
};

}  // namespace kestrum
