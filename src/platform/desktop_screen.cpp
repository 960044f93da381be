#include "platform/desktop_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace kestrum {

ScreenMetrics DesktopScreen::metrics() const {
    ScreenMetrics metrics;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        metrics.width = screen->size().width();
        metrics.height = screen->size().height();
        metrics.logicalDpi = screen->logicalDotsPerInch();
        metrics.availableWidth = screen->availableSize().width();
        metrics.availableHeight = screen->availableSize().height();
    }
    return metrics;
}

}  // namespace kestrum
