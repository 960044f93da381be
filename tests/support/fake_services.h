#pragma once

#include "platform/clock.h"
#include "platform/keyboard_state.h"
#include "platform/sound.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum::testing {

// A tick counter and a calendar that move only when a test moves them.
class FakeClock final : public Clock {
public:
    std::uint32_t tickCount() override { return now; }
    std::int64_t calendarUtcMs() override { return utcMs + now; }
    void advance(std::uint32_t ms) { now += ms; }
    std::uint32_t now = 1000;
    std::int64_t utcMs = 1796115600000;  // 2026-12-01 09:00 UTC at tick 0
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
