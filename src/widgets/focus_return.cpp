#include "widgets/focus_return.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>

namespace kestrum {

FocusReturn::FocusReturn(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::WindowActivate && type != QEvent::Hide) {
        return false;
    }
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || !window->isWindow()) return false;
    if (type == QEvent::Hide) {
        // Queued: whatever the closing sets in motion (the menu shown, the drill hidden) has
        // happened by then.
        QTimer::singleShot(0, this, &FocusReturn::activateLatest);
    } else {
        remember(window);
    }
    return false;
}

void FocusReturn::remember(QWidget* window) {
    std::erase_if(order_,
                  [window](const QPointer<QWidget>& w) { return w.isNull() || w == window; });
    order_.emplace_back(window);
}

QWidget* FocusReturn::returnTarget() const {
    QWidget* target = QApplication::activeModalWidget();
    for (auto it = order_.rbegin(); target == nullptr && it != order_.rend(); ++it) {
        if (!it->isNull() && (*it)->isVisible()) target = *it;
    }
    return target;
}

void FocusReturn::activateLatest() {
    QWidget* target = returnTarget();
    if (target == nullptr || target->isActiveWindow()) return;
    target->raise();
    target->activateWindow();
}

}  // namespace kestrum
