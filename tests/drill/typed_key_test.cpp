#include "drill/typed_key.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

struct Stroke {
    int key;
    Qt::KeyboardModifiers modifiers;
    Bytes text;  // what the toolkit reports the key to type
    Bytes judged;
};

TEST(TypedKey, OnlyKeysThatTypeACharacterAreJudged) {
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Stroke strokes[] = {
        {Qt::Key_A, none, "a", "a"},
        {Qt::Key_A, Qt::ShiftModifier, "A", "A"},
        {Qt::Key_Space, none, " ", " "},
        {Qt::Key_Backspace, none, "\x08", "\x08"},
        {Qt::Key_Escape, none, "\x1B", "\x1B"},
        {Qt::Key_unknown, none, "\xB1", "\xB1"},  // a kana key the key map has no code for
        {Qt::Key_Delete, none, "\x7F", ""},       // as X11 reports it
        {Qt::Key_Insert, none, "", ""},
        {Qt::Key_Home, none, "", ""},
        {Qt::Key_PageUp, none, "", ""},
        {Qt::Key_Left, none, "", ""},
        {Qt::Key_F5, none, "", ""},
        {Qt::Key_Return, none, "\r", ""},
        {Qt::Key_Tab, none, "\t", ""},
        {Qt::Key_A, Qt::AltModifier, "a", ""},
        {Qt::Key_A, Qt::ControlModifier, "\x01", ""},
        {Qt::Key_A, Qt::MetaModifier, "a", ""},
        {Qt::Key_Backspace, Qt::ControlModifier, "\x08", ""},
    };
    for (const Stroke& s : strokes) {
        EXPECT_EQ(typedBytes(s.key, s.modifiers, s.text), s.judged)
            << std::hex << s.key << " modifiers " << s.modifiers.toInt();
    }
}

}  // namespace
}  // namespace kestrum
