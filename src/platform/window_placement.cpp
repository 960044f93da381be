#include "platform/window_placement.h"

namespace kestrum {

WindowOrigin centredOrigin(const ScreenMetrics& screen, int windowWidth, int windowHeight) {
    return {(screen.width - windowWidth) / 2, (screen.height - windowHeight) / 2};
}

std::optional<WindowOrigin> WindowPlacement::place(int keyboard_size, const ScreenMetrics& screen,
                                                   int windowWidth, int windowHeight) {
    if (keyboard_size == lastArrangedSize_) return std::nullopt;
    lastArrangedSize_ = keyboard_size;
    return centredOrigin(screen, windowWidth, windowHeight);
}

}  // namespace kestrum
