#pragma once

#include <cstdint>
#include <optional>
#include <set>

namespace kestrum {

// Where a key sits on a Japanese keyboard, whatever character the desktop's key map gives it.
// Rows 0..3 are the number, Q, A and Z rows counted from their leftmost character key; row 4
// holds the left Shift (0), the right Shift (1) and the space bar (2). Up to column 10 of the
// number row and column 9 of the others these are the on-screen keyboard's own cells; the keys
// further right (^ and the yen key, @ and [, : and ], the backslash key left of the right Shift)
// continue the rows.
struct KeyPosition {
    int row = 0;
    int col = 0;

    bool operator==(const KeyPosition&) const = default;
    auto operator<=>(const KeyPosition&) const = default;
};

inline constexpr KeyPosition kLeftShiftPosition{4, 0};
inline constexpr KeyPosition kRightShiftPosition{4, 1};
inline constexpr KeyPosition kSpacePosition{4, 2};

// Turns the scan code a key event carries into the key's place on the keyboard, and says which
// places the keyboard in use has.
class KeyPositions {
public:
    virtual ~KeyPositions() = default;
    // Nothing for a key outside the character block, the two Shift keys and the space bar.
    virtual std::optional<KeyPosition> positionOf(std::uint32_t nativeScanCode) const = 0;
    // Whether the keyboard in use has a key at `position` (a US keyboard lacks the yen key and
    // the backslash key left of the right Shift).
    virtual bool hasKey(KeyPosition position) const = 0;
};

// Scan codes as the X server gives them with the evdev key codes every current Linux desktop
// uses: the kernel's key number plus 8, the same under a US and a Japanese key map. The keys the
// keyboard has are those the key map gives a symbol; without that knowledge, every key.
class XKeyPositions final : public KeyPositions {
public:
    explicit XKeyPositions(std::optional<std::set<std::uint32_t>> mappedScanCodes = std::nullopt);
    std::optional<KeyPosition> positionOf(std::uint32_t nativeScanCode) const override;
    bool hasKey(KeyPosition position) const override;

    // The scan code of the key at `position`, 0 for a place no key takes.
    static std::uint32_t scanCodeOf(KeyPosition position);

private:
    std::optional<std::set<std::uint32_t>> mapped_;
};

}  // namespace kestrum
