#pragma once

#include "platform/message.h"
#include "platform/message_presenter.h"
#include "records/lesson_result.h"

#include <functional>

class QWidget;

namespace kestrum {

// A drill asks its window for these from inside its own handlers; each is carried out once the
// drill has returned, since the result window runs its own event loop and a window cannot hide
// from inside its show handler.

// Shows the run's messages, then hands the result on without them.
void deliverResultAfterEngine(QWidget& window, MessagePresenter& messages,
                              const LessonResult& result,
                              std::function<void(const LessonResult&)> deliver);

// Shows `messages` now; then `leave` runs if the window is still shown.
void leaveAfterEngine(QWidget& window, MessagePresenter& messages, const Messages& shown,
                      std::function<void()> leave);

}  // namespace kestrum
