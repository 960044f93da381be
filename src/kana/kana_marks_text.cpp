#include "kana/kana_marks_text.h"

#include "kana/kana_layout.h"
#include "keyboard/key_marks_text.h"

namespace kestrum {

namespace {

std::string spokenKey(KeyPosition position, bool shifted) {
    if (position == kSpacePosition) return "スペース";
    const KanaKey* key = kanaKeyAt(position);
    if (key == nullptr) return {};
    return std::string(shifted && !key->shifted.empty() ? key->shifted : key->kana);
}

}  // namespace

std::string kanaMarksText(const KanaGuideMarks& marks) {
    std::vector<std::string> next;
    std::vector<std::string> wrong;
    if (marks.target) next.push_back(spokenKey(*marks.target, marks.shift.has_value()));
    if (marks.shift) next.push_back(*marks.shift == kLeftShiftPosition ? "左Shift" : "右Shift");
    if (marks.finger) next.push_back(spokenFinger(*marks.finger));
    if (marks.missed) wrong.push_back(spokenKey(*marks.missed, false));
    return marksSentence(next, wrong);
}

}  // namespace kestrum
