#include "widgets/window_frame.h"

#include "platform/window_placement.h"

#include <QWidget>
#include <QWindow>

namespace kestrum {

bool WindowFrame::update(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (handle == nullptr || !handle->isExposed()) return false;
    const QSize reported = window.frameGeometry().size() - window.geometry().size();
    if (reported == QSize(0, 0) && reported_ && extra_ != reported) return false;
    reported_ = true;
    if (reported == extra_) return false;
    extra_ = reported;
    return true;
}

void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen) {
    window.setFixedSize(width, height);
    const WindowOrigin origin =
        centredOrigin(screen, width + kFrameExtraWidth, height + kFrameExtraHeight);
    window.move(origin.left, origin.top);
}

}  // namespace kestrum
