#pragma once

#include "keyboard/keyboard_model.h"
#include "progress/heat_map.h"

#include <QWidget>

#include <optional>
#include <vector>

namespace kestrum {

class KeyboardWidget;
struct ScreenMetrics;

// The keyboard a heat map tints, at its smallest drill size: the lessons' keyboard, or another
// course's with its own keys. It shows each key's figures in a tool tip.
class HeatBoard : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual const HeatKeys& keys() const = 0;
    // Tints every key by its miss rate in `heats`; a key not among them as never struck.
    void showHeats(const std::vector<KeyHeat>& heats);

protected:
    // The drill's smallest keyboard size, which leaves room for the list beside it.
    static constexpr int kKeyboardSize = 0;

    virtual void tint(const std::vector<KeyHeat>& heats) = 0;
    // The key drawn at `point`, in this widget's coordinates.
    virtual std::optional<KeyPosition> keyAt(QPoint point) const = 0;
    bool event(QEvent* event) override;

private:
    std::vector<KeyHeat> heats_;
};

// The lessons' on-screen keyboard as a heat map.
class RomajiHeatBoard final : public HeatBoard {
    Q_OBJECT

public:
    explicit RomajiHeatBoard(const ScreenMetrics& screen, QWidget* parent = nullptr);

    const HeatKeys& keys() const override { return keys_; }

protected:
    void tint(const std::vector<KeyHeat>& heats) override;
    std::optional<KeyPosition> keyAt(QPoint point) const override;

private:
    KeyboardModel model_;
    RomajiHeatKeys keys_{model_};
    KeyboardWidget* keyboard_ = nullptr;
};

}  // namespace kestrum
