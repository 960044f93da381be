#pragma once

#include "platform/message.h"
#include "records/lesson_result.h"

#include <cstdint>
#include <string_view>

namespace kestrum {

// The drill's timers. The first three are the window's own; `pause` is the 150 ms wait after a
// finished item, kept as a timer so that the event loop runs (and drops keys) meanwhile.
enum class DrillTimer { timer_error, timer_target, timer_special, pause };

constexpr int kErrorIntervalMs = 800;
constexpr int kTargetIntervalMs = 1200;
constexpr int kSpecialIntervalMs = 500;
constexpr int kPauseMs = 150;

// What a drill shows while it waits for its first key, and once its last item is done.
constexpr std::string_view kStartPrompt = "Press any key to start!!";
constexpr std::string_view kStartMessage = "何かキーを押すと始まります。";
constexpr std::string_view kEndPrompt = "おわり～!!";

// What the drill engine asks of its window and cannot hold as state. The engine never calls back
// into itself through these; the host must not call the engine from inside them either.
class DrillHost {
public:
    virtual ~DrillHost() = default;

    // Starts the timer, or restarts it when it runs. It fires DrillEngine::timerFired every
    // intervalMs until stopTimer; the engine stops its one-shot timers itself.
    virtual void startTimer(DrillTimer timer, int intervalMs) = 0;
    // Stopping a timer that does not run is harmless.
    virtual void stopTimer(DrillTimer timer) = 0;

    // The last item is done and the attempt has been recorded. After this call has returned,
    // show result.messages, then the result window modally, then pass its modal result to
    // DrillEngine::resultChosen. Keys that reach the engine until then are dropped.
    virtual void runEnded(const LessonResult& result) = 0;

    // Show the messages (if any), then the menu, and hide the drill window.
    virtual void returnToMenu(const Messages& messages) = 0;

    // Show the messages, then end the program: the drill cannot run at all.
    virtual void endProgram(const Messages& messages) = 0;
};

// The pause timer has fired at `now`: true when the pause begun at `pauseStart` is over, the
// timer then stopped. A window timer may fire early, so the pause is measured on the tick
// counter, and a timer that came early is started again for the rest.
inline bool pauseEnded(DrillHost& host, std::uint32_t pauseStart, std::uint32_t now) {
    const std::uint32_t waited = now - pauseStart;
    if (waited < static_cast<std::uint32_t>(kPauseMs)) {
        host.startTimer(DrillTimer::pause, kPauseMs - static_cast<int>(waited));
        return false;
    }
    host.stopTimer(DrillTimer::pause);
    return true;
}

}  // namespace kestrum
