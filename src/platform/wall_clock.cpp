#include "platform/wall_clock.h"

#include <chrono>

namespace kestrum {

std::int64_t SystemWallClock::nowUtcMs() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

}  // namespace kestrum
