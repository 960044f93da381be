#include "kana/kana_heat_board_widget.h"

#include "drill/drill_window.h"
#include "kana/kana_keyboard_widget.h"
#include "kana/kana_layout.h"
#include "platform/screen.h"

namespace kestrum {

KanaHeatBoard::KanaHeatBoard(const ScreenMetrics& screen, QWidget* parent) : HeatBoard(parent) {
    keyboard_ = new KanaKeyboardWidget(this);
    keyboard_->arrange(KeyboardLayout::compute(kKeyboardSize, screen.logicalDpi, false,
                                               DrillFontMeasure(keyboard_->model(), QChar(u'あ'))));
    keyboard_->move(0, 0);
    setFixedSize(keyboard_->size());
}

void KanaHeatBoard::tint(const std::vector<KeyHeat>& heats) {
    std::map<KeyPosition, Rgb> tints;
    for (const KanaKey& key : kanaKeys()) {
        const KeyHeat heat = heatOf(heats, key.position);
        tints.emplace(key.position, heatColour(heat.hits, heat.misses));
    }
    for (const KeyPosition shift : {kLeftShiftPosition, kRightShiftPosition})
        tints.emplace(shift, heatColour(0, 0));
    keyboard_->showTints(std::move(tints));
}

std::optional<KeyPosition> KanaHeatBoard::keyAt(QPoint point) const {
    for (const KanaKey& key : kanaKeys()) {
        if (keyboard_->keyRect(key.position).contains(point)) return key.position;
    }
    return std::nullopt;
}

}  // namespace kestrum
