#pragma once

#include "platform/screen.h"

#include <QObject>
#include <QSize>

class QWidget;

namespace kestrum {

// The title bar and borders the window layouts were designed around. Some forms give their
// client area, others their outer size; the outer size is what gets centred on the screen.
inline constexpr int kFrameExtraWidth = 6;    // two borders of 3 pixels
inline constexpr int kFrameExtraHeight = 25;  // a title bar of 19 pixels and two borders

// The frame around a window's client area as the window system reports it once the window is on
// screen (none on a bare X server); before any report, the estimate above. A window manager
// frames a window a moment after it is mapped, so a report of no frame right after a mapping
// does not replace a frame reported before.
class WindowFrame {
public:
    // Takes in what the window system reports now; true when the frame changed.
    bool update(const QWidget& window);
    QSize extra() const { return extra_; }

private:
    QSize extra_{kFrameExtraWidth, kFrameExtraHeight};
    bool reported_ = false;
};

// The placement every top-level window except the drill window shares: at every showing its
// outer size (client area plus frame) is centred on the screen, (screen - outer) / 2 truncated
// toward zero, and centred again once the window manager reports the frame it really drew.
// A window of no fixed size is also kept within the screen, frame included.
class ScreenPlacement final : public QObject {
    Q_OBJECT

public:
    enum class Size {
        Fixed,   // the client area is `preferred`
        Fitted,  // resizable: opens at `preferred`, shrunk to what the screen holds
        Own,     // the window sizes itself (a message box): only centred
    };

    ScreenPlacement(QWidget& window, Size size, QSize preferred, const ScreenMetrics& screen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget& window_;
    Size size_;
    QSize preferred_;
    ScreenMetrics screen_;
    WindowFrame frame_;
};

// Gives every dialog the application shows without a placement of its own (message boxes, file
// choosers) the placement above, in its own size, from the moment it is first shown.
class DialogPlacement final : public QObject {
    Q_OBJECT

public:
    DialogPlacement(QObject* parent, const Screen& screen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Screen& screen_;
};

// Makes `window` a fixed-size window with the client area `width` x `height`, centred as above.
void fixAndCentre(QWidget& window, int width, int height, const ScreenMetrics& screen);

// Opens a resizable `window` at `preferred` (client area), shrunk to what the screen holds,
// centred as above. Its content must shrink, wrap or scroll down to the screen's size.
void fitAndCentre(QWidget& window, QSize preferred, const ScreenMetrics& screen);

}  // namespace kestrum
