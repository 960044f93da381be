#pragma once

#include "keyboard/keyboard_model.h"

#include <string>
#include <vector>

namespace kestrum {

// A finger as hints and the screen reader name it: "左手の人差し指".
std::string spokenFinger(Finger finger);

// The words for marks already named: "次のキー: F、左手の人差し指。間違えたキー: J。", each part
// left out when it names nothing.
std::string marksSentence(const std::vector<std::string>& next,
                          const std::vector<std::string>& wrong);

// What the marks on the keyboard say, in words for a screen reader (UTF-8): the keys to type
// next with the fingers marked for them, then a key greyed as wrongly struck, for example
// "次のキー: F、左手の人差し指。間違えたキー: J。". Empty when nothing is marked.
std::string keyMarksText(const KeyboardModel& model);

}  // namespace kestrum
