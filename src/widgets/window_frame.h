#pragma once

#include "platform/screen.h"

#include <QSize>

class QWidget;

namespace kestrum {

// The title bar and borders the window layouts were designed around. Some forms give their
// client area, others their outer size; the outer size is what gets centred on the screen.
inline constexpr int kFrameExtraWidth = 6;    // two borders of 3 pixels
inline constexpr int kFrameExtraHeight = 25;  // a title bar of 19 pixels and two borders

// The frame around a window's client area as the window system reports it once the window is on
// screen (none on a bare X server); before any report, the estimate above. A window manager
// frames a window a moment after it is mapped, so a report of no frame right after a mapping
// does not replace a frame reported before.
class WindowFrame {
public:
    // Takes in what the window system reports now; true when the frame changed.
    bool update(const QWidget& window);
    QSize extra() const { return extra_; }

private:
    QSize extra_{kFrameExtraWidth, kFrameExtraHeight};
    bool reported_ = false;
};

// Makes `window` a fixed-size window with the client area `width` x `height` and centres its
// outer size on the screen: (screen - outer) / 2, truncated toward zero.
void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen);

}  // namespace kestrum
