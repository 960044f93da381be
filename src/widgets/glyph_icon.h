#pragma once

#include <QIcon>

namespace kestrum {

// The pictures on buttons and beside figures, drawn from vector shapes at whatever size and
// device pixel ratio they are shown, so that they stay sharp on a scaled display.
enum class Glyph {
    Ok,         // a green tick
    Cancel,     // a red cross
    Close,      // a dark cross
    ArrowUp,    // a grey arrow pointing up and to the left
    ArrowDown,  // down and to the left
    ArrowEven,  // straight to the left
};

QIcon glyphIcon(Glyph glyph);

}  // namespace kestrum
