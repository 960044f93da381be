#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kestrum::testing {

// Acts on the next modal window as soon as it is up, from inside its own event loop, so that a
// test can drive a window shown with exec() without blocking. Arm it before the action that
// opens the window; `action` runs once, on the first modal window that is not `ignore`.
class ModalDriver final : public QObject {
public:
    explicit ModalDriver(std::function<void(QWidget*)> action, QWidget* ignore = nullptr)
        : action_(std::move(action)), ignore_(ignore) {
        timer_.callOnTimeout(this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == ignore_ || !modal->isVisible()) return;
            timer_.stop();
            ran_ = true;
            action_(modal);
        });
        timer_.start(10);
    }

    bool ran() const { return ran_; }

private:
    std::function<void(QWidget*)> action_;
    QPointer<QWidget> ignore_;
    QTimer timer_;
    bool ran_ = false;
};

}  // namespace kestrum::testing
