#include "platform/key_positions.h"

#include <array>
#include <utility>

namespace kestrum {

namespace {

constexpr std::uint32_t kEvdevOffset = 8;

struct PlacedKey {
    std::uint32_t evdev;
    KeyPosition position;
};

// The kernel's key numbers of the Japanese keyboard's character block.
constexpr std::array<PlacedKey, 52> kPlacedKeys{{
    {2, {0, 0}},
    {3, {0, 1}},
    {4, {0, 2}},
    {5, {0, 3}},
    {6, {0, 4}},
    {7, {0, 5}},
    {8, {0, 6}},
    {9, {0, 7}},
    {10, {0, 8}},
    {11, {0, 9}},
    {12, {0, 10}},
    {13, {0, 11}},
    {124, {0, 12}},  // yen
    {16, {1, 0}},
    {17, {1, 1}},
    {18, {1, 2}},
    {19, {1, 3}},
    {20, {1, 4}},
    {21, {1, 5}},
    {22, {1, 6}},
    {23, {1, 7}},
    {24, {1, 8}},
    {25, {1, 9}},
    {26, {1, 10}},
    {27, {1, 11}},
    {30, {2, 0}},
    {31, {2, 1}},
    {32, {2, 2}},
    {33, {2, 3}},
    {34, {2, 4}},
    {35, {2, 5}},
    {36, {2, 6}},
    {37, {2, 7}},
    {38, {2, 8}},
    {39, {2, 9}},
    {40, {2, 10}},
    {43, {2, 11}},  // ] on a Japanese keyboard, the backslash above Enter on a US one
    {44, {3, 0}},
    {45, {3, 1}},
    {46, {3, 2}},
    {47, {3, 3}},
    {48, {3, 4}},
    {49, {3, 5}},
    {50, {3, 6}},
    {51, {3, 7}},
    {52, {3, 8}},
    {53, {3, 9}},
    {89, {3, 10}},  // the backslash key left of the right Shift
    {42, kLeftShiftPosition},
    {54, kRightShiftPosition},
    {57, kSpacePosition},
}};

}  // namespace

XKeyPositions::XKeyPositions(std::optional<std::set<std::uint32_t>> mappedScanCodes)
    : mapped_(std::move(mappedScanCodes)) {}

std::optional<KeyPosition> XKeyPositions::positionOf(std::uint32_t nativeScanCode) const {
    for (const PlacedKey& key : kPlacedKeys) {
        if (key.evdev + kEvdevOffset == nativeScanCode) return key.position;
    }
    return std::nullopt;
}

bool XKeyPositions::hasKey(KeyPosition position) const {
    const std::uint32_t code = scanCodeOf(position);
    if (code == 0) return false;
    return !mapped_ || mapped_->contains(code);
}

std::uint32_t XKeyPositions::scanCodeOf(KeyPosition position) {
    for (const PlacedKey& key : kPlacedKeys) {
        if (key.position == position) return key.evdev + kEvdevOffset;
    }
    return 0;
}

}  // namespace kestrum
