#pragma once

#include "platform/screen.h"

#include <QSize>

class QWidget;

namespace kestrum {

// The title bar and borders the window layouts were designed around. Some forms give their
// client area, others their outer size; the outer size is what gets centred on the screen.
inline constexpr int kFrameExtraWidth = 6;    // two borders of 3 pixels
inline constexpr int kFrameExtraHeight = 25;  // a title bar of 19 pixels and two borders

// The frame around `window`'s client area: as the window system reports it once the window is on
// screen (none on a bare X server), before that the estimate above.
QSize frameExtra(const QWidget& window);

// Makes `window` a fixed-size window with the client area `width` x `height` and centres its
// outer size on the screen: (screen - outer) / 2, truncated toward zero.
void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen);

}  // namespace kestrum
