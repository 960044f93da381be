#pragma once

#include <cstdint>
#include <random>

namespace kestrum {

// Pseudo-random draws for the drill: each draw is a non-negative integer below 2^31.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::int32_t next() = 0;
};

class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    std::int32_t next() override { return static_cast<std::int32_t>(engine_() & 0x7FFFFFFFu); }

private:
    std::mt19937 engine_;
};

// The seed the program uses: the calendar time in seconds.
std::uint32_t seedFromCalendarTime();

}  // namespace kestrum
