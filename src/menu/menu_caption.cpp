#include "menu/menu_caption.h"

#include <cstddef>

namespace kestrum {

namespace {
constexpr std::size_t kCaptionBytes = 11;
}

Bytes problemSetCaption(const Bytes& problem_set_name) {
    if (problem_set_name.empty()) return "---";
    Bytes caption = problem_set_name;
    if (caption.size() > kCaptionBytes) {
        // Only a walk from the start tells a second byte from a first one.
        bool nextIsTrail = false;
        for (std::size_t i = 0; i + 1 < kCaptionBytes; ++i) {
            nextIsTrail = !nextIsTrail && isLeadByte(static_cast<unsigned char>(caption[i]));
        }
        caption.resize(nextIsTrail ? kCaptionBytes - 2 : kCaptionBytes - 1);
        caption += "...";
    }
    return caption + " (&U)";
}

}  // namespace kestrum
