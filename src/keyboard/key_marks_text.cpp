#include "keyboard/key_marks_text.h"

namespace kestrum {

namespace {

constexpr int kTypedMark = 1;
constexpr int kTargetMark = 2;

std::string spokenCaption(const KeyboardModel& model, KeyCell cell) {
    if (cell == KeyboardModel::kLeftShift) return "左Shift";
    if (cell == KeyboardModel::kRightShift) return "右Shift";
    if (cell == KeyboardModel::kSpace) return "スペース";
    return model.caption(cell);
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "、") + part;
    return text;
}

}  // namespace

std::string spokenFinger(Finger finger) {
    static constexpr const char* kNames[] = {"人差し指", "中指", "薬指", "小指", "親指"};
    return std::string(finger.hand == KeyboardModel::kLeftHand ? "左手の" : "右手の") +
           kNames[finger.finger];
}

std::string keyMarksText(const KeyboardModel& model) {
    std::vector<std::string> next;
    std::vector<std::string> wrong;
    for (int row = 0; row < KeyboardModel::kRows; ++row) {
        for (int col = 0; col < KeyboardModel::kCols; ++col) {
            const KeyCell cell{row, col};
            if (model.isHidden(cell)) continue;
            if (model.key_state(cell) == kTargetMark) next.push_back(spokenCaption(model, cell));
            if (model.key_state(cell) == kTypedMark) wrong.push_back(spokenCaption(model, cell));
        }
    }
    for (int hand = 0; hand < KeyboardModel::kHands; ++hand) {
        for (int finger = 0; finger < KeyboardModel::kFingers; ++finger) {
            const Finger f{hand, finger};
            if (model.finger_state(f) != kTargetMark) continue;
            next.push_back(spokenFinger(f));
        }
    }
    return marksSentence(next, wrong);
}

std::string marksSentence(const std::vector<std::string>& next,
                          const std::vector<std::string>& wrong) {
    std::string text;
    if (!next.empty()) text += "次のキー: " + joined(next) + "。";
    if (!wrong.empty()) text += "間違えたキー: " + joined(wrong) + "。";
    return text;
}

}  // namespace kestrum
