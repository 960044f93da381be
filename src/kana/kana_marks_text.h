#pragma once

#include "kana/kana_drill.h"

#include <string>

namespace kestrum {

// What the kana keyboard's marks say to a screen reader (UTF-8): the kana to type next (the
// shifted one when Shift is lit), the Shift key, the finger, then a key greyed as wrongly struck,
// for example "次のキー: ゃ、左Shift、右手の人差し指。間違えたキー: ち。". Empty when nothing is
// marked.
std::string kanaMarksText(const KanaGuideMarks& marks);

}  // namespace kestrum
