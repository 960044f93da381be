#include "platform/random_source.h"

#include <ctime>

namespace kestrum {

std::uint32_t seedFromCalendarTime() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

}  // namespace kestrum
