#pragma once

#include <string>

namespace kestrum {

class KeyboardModel;

// What the marks on the keyboard say, in words for a screen reader (UTF-8): the keys to type
// next with the fingers marked for them, then a key greyed as wrongly struck, for example
// "次のキー: F、左手の人差し指。間違えたキー: J。". Empty when nothing is marked.
std::string keyMarksText(const KeyboardModel& model);

}  // namespace kestrum
