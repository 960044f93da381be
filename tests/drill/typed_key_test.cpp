#include "drill/typed_key.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// A key, its modifiers and what the toolkit reports it to type.
using Stroke = std::tuple<int, Qt::KeyboardModifiers, Bytes>;

TEST(TypedKey, OnlyKeysThatTypeACharacterAreJudged) {
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    // Judged as the byte they type; Key_unknown stands for a kana key the key map has no code for.
    const Stroke judged[] = {{Qt::Key_A, none, "a"},         {Qt::Key_A, Qt::ShiftModifier, "A"},
                             {Qt::Key_Space, none, " "},     {Qt::Key_Backspace, none, "\x08"},
                             {Qt::Key_Escape, none, "\x1B"}, {Qt::Key_unknown, none, "\xB1"}};
    for (const auto& [key, modifiers, text] : judged)
        EXPECT_EQ(typedBytes(key, modifiers, text), text) << std::hex << key;
    // Not judged, whatever the toolkit says they type (X11 gives Delete the byte 0x7F).
    const Stroke ignored[] = {
        {Qt::Key_Delete, none, "\x7F"},     {Qt::Key_Insert, none, ""},
        {Qt::Key_Home, none, ""},           {Qt::Key_PageUp, none, ""},
        {Qt::Key_Left, none, ""},           {Qt::Key_F5, none, ""},
        {Qt::Key_Return, none, "\r"},       {Qt::Key_Tab, none, "\t"},
        {Qt::Key_A, Qt::AltModifier, "a"},  {Qt::Key_A, Qt::ControlModifier, "\x01"},
        {Qt::Key_A, Qt::MetaModifier, "a"}, {Qt::Key_Backspace, Qt::ControlModifier, "\x08"}};
    for (const auto& [key, modifiers, text] : ignored)
        EXPECT_EQ(typedBytes(key, modifiers, text), "") << std::hex << key << " " << text;
}

}  // namespace
}  // namespace kestrum
