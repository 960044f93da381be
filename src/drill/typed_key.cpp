#include "drill/typed_key.h"

namespace kestrum {

Bytes typedBytes(int key, Qt::KeyboardModifiers modifiers, const Bytes& text) {
    if (modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) return {};
    switch (key) {
        case Qt::Key_Backspace:
            return Bytes(1, '\x08');
        case Qt::Key_Escape:
            return Bytes(1, '\x1B');
        case Qt::Key_unknown:
            return text;  // a character the key map has no code for
        default:
            break;
    }
    // Key codes of this range name keys, not characters.
    if (key >= Qt::Key_Escape && key <= Qt::Key_unknown) return {};
    return text;
}

}  // namespace kestrum
