#pragma once

#include "platform/screen.h"

namespace kestrum {

// The primary display in the logical pixels the windows are laid out in, read anew at every
// call so that a changed resolution is seen by the next layout.
class DesktopScreen final : public Screen {
public:
    // Without any screen (no display at all) the defaults of ScreenMetrics stand.
    ScreenMetrics metrics() const override;
};

}  // namespace kestrum
