#include "platform/desktop_keyboard_state.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace kestrum {

namespace {

bool capsLockKeyDown(Display* display) {
    const KeyCode code = XKeysymToKeycode(display, XK_Caps_Lock);
    if (code == 0) return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return (keys[code / 8] & (1 << (code % 8))) != 0;
}

}  // namespace

_XDisplay* DesktopKeyboardState::display() const {
    if (!connected_) {
        connected_ = true;
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            display_ = XOpenDisplay(nullptr);
        }
    }
    return display_;
}

DesktopKeyboardState::~DesktopKeyboardState() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

std::uint16_t DesktopKeyboardState::capsLockState() const {
    bool on = trackedOn_;
    bool held = trackedHeld_;
    XkbStateRec state{};
    if (display() != nullptr && XkbGetState(display_, XkbUseCoreKbd, &state) == Success) {
        on = (state.locked_mods & LockMask) != 0;
        held = capsLockKeyDown(display_);
    }
    return static_cast<std::uint16_t>((on ? kToggled : 0) | (held ? kHeld : 0));
}

void DesktopKeyboardState::trackCapsLockKey(bool pressed) const {
    if (pressed && !trackedHeld_) trackedOn_ = !trackedOn_;
    trackedHeld_ = pressed;
}

}  // namespace kestrum
