#pragma once

#include "platform/screen.h"

#include <optional>

namespace kestrum {

struct WindowOrigin {
    int left = 0;
    int top = 0;

    bool operator==(const WindowOrigin&) const = default;
};

// The origin that centres a window on the screen, (screen - window) / 2 truncated toward zero;
// negative where the window is larger than the screen.
WindowOrigin centredOrigin(const ScreenMetrics& screen, int windowWidth, int windowHeight);

// Decides when the drill window is centred: at its first layout and whenever the keyboard size
// has changed since the last one; otherwise it stays where the user moved it. One instance for
// the whole run.
class WindowPlacement {
public:
    // The origin to move the window to, or nothing to leave it where it is.
    std::optional<WindowOrigin> place(int keyboard_size, const ScreenMetrics& screen,
                                      int windowWidth, int windowHeight);

    int last_arranged_size() const { return lastArrangedSize_; }

private:
    int lastArrangedSize_ = -1;
};

}  // namespace kestrum
