#pragma once

#include <cstdint>

namespace kestrum {

// A colour as the keyboard model holds it; windows convert it at the edge.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

namespace colours {

// Finger zones of the keyboard and the plain captions of the finger labels.
inline constexpr Rgb kLightCyan{128, 255, 255};    // little fingers
inline constexpr Rgb kLightGreen{128, 255, 128};   // ring fingers
inline constexpr Rgb kLightYellow{255, 255, 128};  // middle fingers
inline constexpr Rgb kLightPink{255, 183, 255};    // left index finger
inline constexpr Rgb kPaleKhaki{214, 214, 171};    // right index finger
inline constexpr Rgb kLightGrey{228, 228, 228};    // thumb (space bar)

inline constexpr Rgb kViolet{115, 0, 230};  // behind the keys and the plain finger labels
inline constexpr Rgb kGrey{128, 128, 128};  // a key struck by mistake
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kButtonFace{240, 240, 240};  // the flat piece that joins the Enter key

}  // namespace colours
}  // namespace kestrum
