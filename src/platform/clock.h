#pragma once

#include <cstdint>

namespace kestrum {

// The calendar time in milliseconds since 1970-01-01 00:00 UTC, for dating attempts and seeding.
std::int64_t calendarTimeUtcMs();

// A millisecond tick counter that wraps at 2^32, like the system's uptime counter, and the
// calendar time beside it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() = 0;
    virtual std::int64_t calendarUtcMs() { return calendarTimeUtcMs(); }
};

class SteadyClock final : public Clock {
public:
    std::uint32_t tickCount() override;
};

}  // namespace kestrum
