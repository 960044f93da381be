#pragma once

#include "platform/message_presenter.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

namespace kestrum::testing {

// Records every message box instead of showing it, so that no window test blocks on one.
// Questions are answered from a queue; an empty queue answers Cancel, the boxes' default.
class RecordingMessagePresenter final : public MessagePresenter {
public:
    void show(const Message& message) override;
    bool confirm(const Message& message) override;

    void answerNextQuestions(std::initializer_list<bool> answers);

    const std::vector<Message>& shown() const { return shown_; }
    const std::vector<Message>& questions() const { return questions_; }
    // The texts shown so far, in order.
    std::vector<std::string> shownTexts() const;

private:
    std::vector<Message> shown_;
    std::vector<Message> questions_;
    std::deque<bool> answers_;
};

}  // namespace kestrum::testing
