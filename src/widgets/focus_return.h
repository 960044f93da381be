#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace kestrum {

// Gives the keyboard back at once to the window the learner returns to whenever a window or a
// message box closes: the modal window still open, else the window shown or activated most
// recently. On a bare X server nothing else would (the focus falls to the root window, and Alt
// accelerators, Tab and Enter go nowhere), and a window manager need not either.
// Watches every window of the application from the moment it is created.
class FocusReturn final : public QObject {
public:
    explicit FocusReturn(QObject* parent);

    // The window the learner returns to, as above; null when no window is visible.
    QWidget* returnTarget() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember(QWidget* window);
    void activateLatest();

    std::vector<QPointer<QWidget>> order_;  // oldest first
};

}  // namespace kestrum
