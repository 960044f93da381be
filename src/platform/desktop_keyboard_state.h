#pragma once

#include "platform/keyboard_state.h"

#include <cstdint>

struct _XDisplay;

namespace kestrum {

// Caps Lock as the desktop knows it. On X11 the state is asked of the X server (XKB) at every
// call, so a Caps Lock toggled in another window is seen too. Where there is no X display
// (offscreen, Wayland) the only source is the key events the drill window sees; it hands its
// Caps Lock presses and releases to trackCapsLockKey.
class DesktopKeyboardState final : public KeyboardState {
public:
    // Connects to the X server at the first question, and only on the xcb platform: the menu
    // never asks, so it does not hold a second connection.
    DesktopKeyboardState() = default;
    ~DesktopKeyboardState() override;
    DesktopKeyboardState(const DesktopKeyboardState&) = delete;
    DesktopKeyboardState& operator=(const DesktopKeyboardState&) = delete;

    std::uint16_t capsLockState() const override;

    // A Caps Lock key went down (pressed) or up. The first press toggles the tracked state, as
    // the key does; repeats before the release change nothing. Ignored while the X server
    // answers. It is
    // const because the drill window holds the state as the read-only KeyboardState; the key
    // events are an observation, not a change of what Caps Lock is.
    void trackCapsLockKey(bool pressed) const;

private:
    _XDisplay* display() const;

    mutable _XDisplay* display_ = nullptr;
    mutable bool connected_ = false;
    mutable bool trackedOn_ = false;
    mutable bool trackedHeld_ = false;
};

}  // namespace kestrum
