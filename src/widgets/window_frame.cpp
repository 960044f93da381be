#include "widgets/window_frame.h"

#include "keyboard/window_placement.h"

#include <QWidget>
#include <QWindow>

namespace kestrum {

QSize frameExtra(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (handle == nullptr || !handle->isExposed()) return {kFrameExtraWidth, kFrameExtraHeight};
    return window.frameGeometry().size() - window.geometry().size();
}

void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen) {
    window.setFixedSize(width, height);
    const WindowOrigin origin =
        centredOrigin(screen, width + kFrameExtraWidth, height + kFrameExtraHeight);
    window.move(origin.left, origin.top);
}

}  // namespace kestrum
