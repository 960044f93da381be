#pragma once

#include "drill/drill_host.h"
#include "records/lesson_result.h"

#include <map>
#include <vector>

namespace kestrum::testing {

// A drill's host that records what the drill asked of its window.
class RecordingHost final : public DrillHost {
public:
    void startTimer(DrillTimer timer, int intervalMs) override { running[timer] = intervalMs; }
    void stopTimer(DrillTimer timer) override { running.erase(timer); }
    void runEnded(const LessonResult& result) override { results.push_back(result); }
    void returnToMenu(const Messages& messages) override { menuCalls.push_back(messages); }
    void endProgram(const Messages& messages) override { endCalls.push_back(messages); }
    bool isRunning(DrillTimer timer) const { return running.count(timer) != 0; }

    std::map<DrillTimer, int> running;
    std::vector<LessonResult> results;
    std::vector<Messages> menuCalls;
    std::vector<Messages> endCalls;
};

}  // namespace kestrum::testing
