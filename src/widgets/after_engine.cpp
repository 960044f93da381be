#include "widgets/after_engine.h"

#include <QTimer>
#include <QWidget>

#include <utility>

namespace kestrum {

void deliverResultAfterEngine(QWidget& window, MessagePresenter& messages,
                              const LessonResult& result,
                              std::function<void(const LessonResult&)> deliver) {
    QTimer::singleShot(0, &window, [&messages, result, deliver = std::move(deliver)] {
        messages.showAll(result.messages);
        LessonResult shown = result;
        shown.messages.clear();
        deliver(shown);
    });
}

void leaveAfterEngine(QWidget& window, MessagePresenter& messages, const Messages& shown,
                      std::function<void()> leave) {
    messages.showAll(shown);
    QTimer::singleShot(0, &window, [&window, leave = std::move(leave)] {
        if (window.isVisible()) leave();
    });
}

}  // namespace kestrum
