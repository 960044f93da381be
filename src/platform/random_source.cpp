#include "platform/random_source.h"

#include "platform/clock.h"

namespace kestrum {

std::uint32_t seedFromCalendarTime() {
    return static_cast<std::uint32_t>(calendarTimeUtcMs() / 1000);
}

}  // namespace kestrum
