#include "progress/heat_board_widget.h"

#include "drill/drill_window.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_widget.h"
#include "platform/screen.h"

#include <QHelpEvent>
#include <QToolTip>

namespace kestrum {

void HeatBoard::showHeats(const std::vector<KeyHeat>& heats) {
    heats_ = heats;
    tint(heats_);
}

bool HeatBoard::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<KeyPosition> key = keyAt(help->pos());
    if (!key) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(
        help->globalPos(),
        QStringLiteral("%1: %2").arg(QString::fromStdString(keys().caption(*key)),
                                     QString::fromStdString(heatFigures(heatOf(heats_, *key)))),
        this);
    return true;
}

RomajiHeatBoard::RomajiHeatBoard(const ScreenMetrics& screen, QWidget* parent) : HeatBoard(parent) {
    model_.arrange();
    keyboard_ = new KeyboardWidget(model_, this);
    keyboard_->arrange(KeyboardLayout::compute(kKeyboardSize, screen.logicalDpi, false,
                                               DrillFontMeasure(model_, QChar(u'a'))));
    keyboard_->move(0, 0);
    setFixedSize(keyboard_->size());
}

void RomajiHeatBoard::tint(const std::vector<KeyHeat>& heats) {
    paintHeat(model_, heats);
    keyboard_->refresh();
}

std::optional<KeyPosition> RomajiHeatBoard::keyAt(QPoint point) const {
    for (int row = 0; row < KeyboardModel::kRows; ++row) {
        for (int col = 0; col < KeyboardModel::kCols; ++col) {
            const KeyCell cell{row, col};
            if (!model_.isHidden(cell) && keyboard_->keyRect(cell).contains(point))
                return KeyPosition{row, col};
        }
    }
    return std::nullopt;
}

}  // namespace kestrum
