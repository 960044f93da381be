#pragma once

#include "kana/kana_drill.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_model.h"

#include <QFont>
#include <QWidget>

#include <map>

namespace kestrum {

// The on-screen keyboard of the kana course: the drill's keyboard at the same four sizes, with
// the kana printed on every key (the shifted kana small, top right, as on real keycaps), the
// keys the romaji lessons leave blank included. It draws the guide marks it is given.
class KanaKeyboardWidget : public QWidget {
    Q_OBJECT

public:
    explicit KanaKeyboardWidget(QWidget* parent = nullptr);

    // Takes the places and font sizes of `layout` and repaints.
    void arrange(const KeyboardLayout& layout);
    // Repaints when the marks differ from those shown.
    void showMarks(const KanaGuideMarks& marks);
    // Draws the keys it names in their colour with black kana instead of their finger's colour.
    void showTints(std::map<KeyPosition, Rgb> tints);

    // Where a key sits in this widget, empty for a place no key takes.
    QRect keyRect(KeyPosition position) const;
    const KeyboardModel& model() const { return model_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look lookOf(KeyPosition position, Rgb plain) const;
    void paintKey(QPainter& painter, const Panel& panel, const Look& look, const QString& caption,
                  const QString& shifted, const QFont& font) const;
    void paintBlankPanels(QPainter& painter) const;
    void paintFingerLabels(QPainter& painter) const;

    KeyboardModel model_;  // finger zones, colours and finger captions
    KeyboardLayout layout_;
    KanaGuideMarks marks_;
    std::map<KeyPosition, Rgb> tints_;
    QFont keyFont_;
    QFont pairedFont_;
    QFont smallFont_;
    QFont shiftFont_;
    QFont fingerFont_;
};

}  // namespace kestrum
