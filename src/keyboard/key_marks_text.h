#pragma once

#include "keyboard/keyboard_model.h"

#include <string>

namespace kestrum {

// A finger as hints and the screen reader name it: "左手の人差し指".
std::string spokenFinger(Finger finger);

// What the marks on the keyboard say, in words for a screen reader (UTF-8): the keys to type
// next with the fingers marked for them, then a key greyed as wrongly struck, for example
// "次のキー: F、左手の人差し指。間違えたキー: J。". Empty when nothing is marked.
std::string keyMarksText(const KeyboardModel& model);

}  // namespace kestrum
