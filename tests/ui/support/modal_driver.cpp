#include "ui/support/modal_driver.h"

#include <QApplication>
#include <QDateTime>
#include <QWidget>

namespace kestrum::testing {

ModalDriver::ModalDriver(Action action, QWidget* ignore)
    : action_(std::move(action)), ignore_(ignore) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start();
}

void ModalDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == ignore_ || !modal->isVisible()) return;
    timer_.stop();
    ran_ = true;
    action_(modal);
}

ModalWatchdog::ModalWatchdog(int limitMs) : limitMs_(limitMs) {
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, &ModalWatchdog::poll);
    timer_.start();
}

void ModalWatchdog::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal != watched_) {
        watched_ = modal;
        since_ = now;
        return;
    }
    if (modal != nullptr && now - since_ > limitMs_) {
        fired_ = true;
        modal->close();
        since_ = now;
    }
}

}  // namespace kestrum::testing
