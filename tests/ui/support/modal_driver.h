#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWidget;

namespace kestrum::testing {

// Acts on the next modal window as soon as it is up, from inside its own event loop, so that a
// test can drive a window shown with exec() without blocking. Arm it before the action that
// opens the window.
class ModalDriver final : public QObject {
    Q_OBJECT

public:
    using Action = std::function<void(QWidget* modal)>;

    // `action` runs once, on the first modal window that is not `ignore`.
    explicit ModalDriver(Action action, QWidget* ignore = nullptr);

    bool ran() const { return ran_; }

private:
    void poll();

    Action action_;
    QPointer<QWidget> ignore_;
    QTimer timer_;
    bool ran_ = false;
};

// Closes any modal window that stays up longer than `limitMs`, so that a test whose driver
// failed ends with a failure instead of hanging. Lives as long as a test.
class ModalWatchdog final : public QObject {
    Q_OBJECT

public:
    explicit ModalWatchdog(int limitMs = 10000);

    // True once it had to close a window.
    bool fired() const { return fired_; }

private:
    void poll();

    int limitMs_;
    QTimer timer_;
    QPointer<QWidget> watched_;
    qint64 since_ = 0;
    bool fired_ = false;
};

}  // namespace kestrum::testing
