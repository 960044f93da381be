#pragma once

#include <cstdint>

namespace kestrum {

// The calendar time, for dating attempts; tests pass a fixed one.
class WallClock {
public:
    virtual ~WallClock() = default;
    // Milliseconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t nowUtcMs() = 0;
};

class SystemWallClock final : public WallClock {
public:
    std::int64_t nowUtcMs() override;
};

}  // namespace kestrum
