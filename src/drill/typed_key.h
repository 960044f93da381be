#pragma once

#include "platform/text.h"

#include <Qt>

namespace kestrum {

// The bytes a key press gives the drill to judge, from the toolkit's key code, the modifiers
// held and the key's text in code page 932. Backspace and Escape are characters (0x08, 0x1B);
// every other key that names no character (Delete, whose text is 0x7F under X11, Insert, the
// arrows, Home, End, the page keys, function keys, Enter and Tab, modifiers alone) gives
// nothing, and so does any key pressed with Alt, Ctrl or the Super key held: those are commands.
Bytes typedBytes(int key, Qt::KeyboardModifiers modifiers, const Bytes& text);

}  // namespace kestrum
