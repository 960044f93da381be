#pragma once

#include <cstdint>

namespace kestrum {

// A millisecond tick counter that wraps at 2^32, like the system's uptime counter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() = 0;
};

class SteadyClock final : public Clock {
public:
    std::uint32_t tickCount() override;
};

// The calendar time in milliseconds since 1970-01-01 00:00 UTC, for dating attempts and seeding.
std::int64_t calendarTimeUtcMs();

}  // namespace kestrum
