#include "widgets/window_frame.h"

#include "keyboard/window_placement.h"

#include <QWidget>

namespace kestrum {

void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen) {
    window.setFixedSize(width, height);
    const WindowOrigin origin =
        centredOrigin(screen, width + kFrameExtraWidth, height + kFrameExtraHeight);
    window.move(origin.left, origin.top);
}

}  // namespace kestrum
