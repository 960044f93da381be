#pragma once

#include "platform/key_positions.h"

struct _XDisplay;

namespace kestrum {

// Key positions under the X server the program runs on: scan codes as XKeyPositions reads them,
// and the keys the current key map gives a symbol, asked at every question (a learner may switch
// between a US and a Japanese map while the program runs). Off X, every key counts as present.
class DesktopKeyPositions final : public KeyPositions {
public:
    DesktopKeyPositions() = default;
    DesktopKeyPositions(const DesktopKeyPositions&) = delete;
    DesktopKeyPositions& operator=(const DesktopKeyPositions&) = delete;
    ~DesktopKeyPositions() override;

    std::optional<KeyPosition> positionOf(std::uint32_t nativeScanCode) const override;
    bool hasKey(KeyPosition position) const override;

private:
    // Opened at the first question, on X only.
    _XDisplay* display() const;

    mutable _XDisplay* display_ = nullptr;
    mutable bool connected_ = false;
};

}  // namespace kestrum
