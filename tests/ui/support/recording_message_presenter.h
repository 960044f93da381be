#pragma once

#include "platform/message_presenter.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kestrum::testing {

// Records every message box instead of showing it, so that no window test blocks on one.
// Questions are answered from `answers`; none left answers Cancel, the boxes' default.
class RecordingMessagePresenter final : public MessagePresenter {
public:
    void show(const Message& message) override {
        shown.push_back(message);
        if (onShow) onShow();
    }
    bool confirm(const Message& message) override {
        questions.push_back(message);
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const Message& message : shown)
            texts.push_back(message.text);
        return texts;
    }

    std::vector<Message> shown, questions;
    std::deque<bool> answers;
    std::function<void()> onShow;  // the learner's time in front of the box, say
};

}  // namespace kestrum::testing
