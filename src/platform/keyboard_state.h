#pragma once

#include <cstdint>

namespace kestrum {

// The Caps Lock key as the key guide reads it at the moment it marks: bit 0 set while Caps Lock
// is toggled on, bit 15 set while the key is held down.
class KeyboardState {
public:
    static constexpr std::uint16_t kToggled = 0x0001;
    static constexpr std::uint16_t kHeld = 0x8000;

    virtual ~KeyboardState() = default;
    virtual std::uint16_t capsLockState() const = 0;
};

}  // namespace kestrum
