#pragma once

#include "records/settings.h"

#include <array>
#include <cstddef>

namespace kestrum {

// The four keyboard-size buttons of the options dialog, in the order they stand.
enum class SizeButton { S = 0, M = 1, L = 2, LL = 3 };

struct SizeButtonState {
    bool enabled = true;
    bool checked = false;

    bool operator==(const SizeButtonState&) const = default;
};

// The state of the options dialog's controls, as its window shows them.
struct OptionsControls {
    bool chk_distinct = false;
    bool chk_distinct_shift = false;
    bool chk_romaji_spellings = false;
    int radio_guide = 0;                     // item index
    int radio_sound = 0;                     // item index
    int radio_letter_type = 0;               // item index
    std::array<SizeButtonState, 4> sizes{};  // indexed by SizeButton

    SizeButtonState& size(SizeButton b) { return sizes[static_cast<std::size_t>(b)]; }
    const SizeButtonState& size(SizeButton b) const { return sizes[static_cast<std::size_t>(b)]; }
    // Radio semantics: checking one size button unchecks the other three.
    void checkSize(SizeButton b);
};

// The keyboard_size code of a size button (S 0, M 3, L 2, LL 1) and the button of a code
// (anything but 1..3 is S).
int sizeCode(SizeButton b);
SizeButton sizeButtonOf(int keyboard_size);

// The rules of the options dialog, free of any toolkit.
class OptionsLogic {
public:
    // Fills the controls from the record each time the dialog is shown. The screen width decides
    // which sizes can be chosen and fits keyboard_size in the record at once, so the fitted size
    // stays even when the dialog is then cancelled.
    static OptionsControls FormShow(Settings& settings, int screenWidth);

    // OK: writes the six fields back in order (distinct, guide, letter_type, distinct_shift,
    // sound, keyboard_size), then romaji_spellings. Cancel simply does not call it.
    static void BitBtn1Click(const OptionsControls& controls, Settings& settings);
};

}  // namespace kestrum
