#include "ui/support/recording_message_presenter.h"

namespace kestrum::testing {

void RecordingMessagePresenter::show(const Message& message) {
    shown_.push_back(message);
}

bool RecordingMessagePresenter::confirm(const Message& message) {
    questions_.push_back(message);
    if (answers_.empty()) return false;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingMessagePresenter::answerNextQuestions(std::initializer_list<bool> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

std::vector<std::string> RecordingMessagePresenter::shownTexts() const {
    std::vector<std::string> texts;
    for (const Message& message : shown_)
        texts.push_back(message.text);
    return texts;
}

}  // namespace kestrum::testing
