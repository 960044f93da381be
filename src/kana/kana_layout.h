#pragma once

#include "keyboard/keyboard_model.h"
#include "platform/key_positions.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kestrum {

// One key of the kana layout: the kana it types alone and with Shift (UTF-8; the shifted one
// empty where Shift adds nothing), the finger that strikes it, and the half-width katakana byte
// (code page 932) that names the key in statistics and the attempt store.
struct KanaKey {
    KeyPosition position;
    std::string_view kana;
    std::string_view shifted;
    Finger finger;
    unsigned char byte = 0;
};

// One key stroke: the key, and whether a Shift key is held.
struct KanaStroke {
    KeyPosition position;
    bool shift = false;

    bool operator==(const KanaStroke&) const = default;
};

// The kana printed on a Japanese keyboard, with the space bar as a blank.
std::span<const KanaKey> kanaKeys();

// The key at `position`, or nothing where no kana key sits.
const KanaKey* kanaKeyAt(KeyPosition position);

// The strokes that type one kana: its key, with Shift for a shifted kana; a voiced or
// half-voiced kana is its plain kana, then the voicing mark (が = か, ゛). Nothing for a
// character no key types.
std::optional<std::vector<KanaStroke>> strokesOf(char32_t kana);

// The finger of a key the layout lists, the Shift keys and the space bar included.
Finger fingerOf(KeyPosition position);

}  // namespace kestrum
