#pragma once

#include "kana/kana_heat_keys.h"
#include "progress/heat_board_widget.h"

namespace kestrum {

class KanaKeyboardWidget;

// The kana keyboard as a heat map: every kana key tinted by its miss rate, with the kana on it.
class KanaHeatBoard final : public HeatBoard {
    Q_OBJECT

public:
    explicit KanaHeatBoard(const ScreenMetrics& screen, QWidget* parent = nullptr);

    const HeatKeys& keys() const override { return keys_; }

protected:
    void tint(const std::vector<KeyHeat>& heats) override;
    std::optional<KeyPosition> keyAt(QPoint point) const override;

private:
    KanaHeatKeys keys_;
    KanaKeyboardWidget* keyboard_ = nullptr;
};

}  // namespace kestrum
