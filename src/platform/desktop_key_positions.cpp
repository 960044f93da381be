#include "platform/desktop_key_positions.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace kestrum {

DesktopKeyPositions::~DesktopKeyPositions() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

_XDisplay* DesktopKeyPositions::display() const {
    if (!connected_) {
        connected_ = true;
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            display_ = XOpenDisplay(nullptr);
    }
    return display_;
}

std::optional<KeyPosition> DesktopKeyPositions::positionOf(std::uint32_t nativeScanCode) const {
    return XKeyPositions().positionOf(nativeScanCode);
}

bool DesktopKeyPositions::hasKey(KeyPosition position) const {
    const std::uint32_t code = XKeyPositions::scanCodeOf(position);
    if (code == 0) return false;
    if (display() == nullptr) return true;
    return XkbKeycodeToKeysym(display_, static_cast<KeyCode>(code), 0, 0) != NoSymbol;
}

}  // namespace kestrum
