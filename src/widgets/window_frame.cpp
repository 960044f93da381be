#include "widgets/window_frame.h"

#include "platform/window_placement.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
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

ScreenPlacement::ScreenPlacement(QWidget& window, Size size, QSize preferred,
                                 const ScreenMetrics& screen)
    : QObject(&window), window_(window), size_(size), preferred_(preferred), screen_(screen) {
    if (size_ == Size::Fixed) window_.setFixedSize(preferred_);
    window_.installEventFilter(this);
    if (QWindow* handle = window_.windowHandle()) handle->installEventFilter(this);
    place();
}

bool ScreenPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Show && !event->spontaneous()) {
        // Sent before the window is mapped, when it already has its platform window.
        if (QWindow* handle = window_.windowHandle()) handle->installEventFilter(this);
        place();
    } else if (watched == &window_ && event->type() == QEvent::Resize && size_ == Size::Own) {
        // A message box settles its size in its own show handler, after the placement above.
        place();
    } else if (watched == window_.windowHandle()) {
        // The frame comes with the window manager's reparenting, which moves the window.
        const bool frameMayChange =
            event->type() == QEvent::Expose || event->type() == QEvent::Move;
        if (frameMayChange && frame_.update(window_)) place();
    }
    return false;
}

void ScreenPlacement::place() {
    QSize client = size_ == Size::Own ? window_.size() : preferred_;
    if (size_ == Size::Fitted) {
        const QSize room =
            QSize(screen_.availableWidth > 0 ? screen_.availableWidth : screen_.width,
                  screen_.availableHeight > 0 ? screen_.availableHeight : screen_.height) -
            frame_.extra();
        client = preferred_.boundedTo(room).expandedTo(window_.minimumSize());
        window_.resize(client);
    }
    const QSize outer = client + frame_.extra();
    const WindowOrigin origin = centredOrigin(screen_, outer.width(), outer.height());
    window_.move(origin.left, origin.top);
}

DialogPlacement::DialogPlacement(QObject* parent, const Screen& screen)
    : QObject(parent), screen_(screen) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show) return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog != nullptr && dialog->isWindow() &&
        dialog->findChild<ScreenPlacement*>(QString(), Qt::FindDirectChildrenOnly) == nullptr)
        new ScreenPlacement(*dialog, ScreenPlacement::Size::Own, {}, screen_.metrics());
    return false;
}

void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen) {
    new ScreenPlacement(window, ScreenPlacement::Size::Fixed, {width, height}, screen);
}

void fitAndCentre(QWidget& window, QSize preferred, const ScreenMetrics& screen) {
    new ScreenPlacement(window, ScreenPlacement::Size::Fitted, preferred, screen);
}

}  // namespace kestrum
