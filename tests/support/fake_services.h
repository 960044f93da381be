#pragma once

#include "platform/clock.h"
#include "platform/keyboard_state.h"
#include "platform/sound.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum::testing {

// A tick counter that moves only when a test moves it.
class FakeClock final : public Clock {
public:
    std::uint32_t tickCount() override { return now; }
    void advance(std::uint32_t ms) { now += ms; }
    std::uint32_t now = 1000;
};

// The Caps Lock state a test sets (toggled bit 0, held bit 15).
class FakeCapsLock final : public KeyboardState {
public:
    std::uint16_t capsLockState() const override { return state; }
    std::uint16_t state = 0;
};

// Remembers the sounds asked for, in order.
class RecordingSound final : public SoundPlayer {
public:
    void play(std::string_view name) override { played.emplace_back(name); }
    std::vector<std::string> played;
};

}  // namespace kestrum::testing
