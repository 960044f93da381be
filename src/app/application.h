#pragma once

#include "history/score_file.h"
#include "platform/clock.h"
#include "platform/desktop_key_positions.h"
#include "platform/desktop_keyboard_state.h"
#include "platform/desktop_message_presenter.h"
#include "platform/desktop_screen.h"
#include "platform/desktop_sound.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "platform/random_source.h"
#include "progress/attempt_store.h"
#include "records/lesson_result.h"
#include "widgets/app_context.h"

#include <memory>

namespace kestrum {

class DrillWindow;
class FocusReturn;
class GraphWindow;
class KanaCourseWindow;
class MenuWindow;
class OptionsDialog;
class ProblemSetWindow;
class ResultWindow;
class VersionDialog;
struct ScoreKey;

// Stand-ins for the services that make a run unrepeatable or block: a test passes its own, the
// program none.
struct ServiceOverrides {
    MessagePresenter* messages = nullptr;
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
};

// The program: its services, its windows (created once, living until the end) and the flow
// between them. Needs a QApplication.
//
// Only the menu is created with the program. Five others (drill, options, result, graph,
// version, in that order) follow together when anything first needs one of them: until then
// neither their faces, nor the lesson catalogue and its code page 932 converter, take memory.
// The problem-set window and the kana course come on their own at their first use.
class Application {
public:
    // Sets the application title and creates the menu, which loads the settings. A program
    // directory that could not be found is reported here, and its stand-in "0" is used.
    explicit Application(const ProgramDirResult& programDir, ServiceOverrides overrides = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Shows the menu and runs until it closes; returns the exit code. Ends, with a failure code,
    // when a built-in lesson fails its check as the drill window is created (its message shown).
    int run();

    // Shows the menu without running the event loop (for a caller that runs its own).
    void showMenu();

    // Brings the window the learner works in (a dialog over it first) to the front, restored
    // if it was minimised: a second start on the same folder asks for it.
    void bringToFront();

    // The windows; asking for any but the menu creates the five others first if need be.
    AppContext& context() { return context_; }
    ScoreFile& scores() { return scores_; }
    MenuWindow& menu() { return *menu_; }
    DrillWindow& drill();
    OptionsDialog& options();
    ResultWindow& result();
    GraphWindow& graph();
    VersionDialog& version();
    // Created the first time the learner asks for it.
    ProblemSetWindow& problemSets();
    // The kana course, made the first time the learner asks for it.
    KanaCourseWindow& kanaCourse();

private:
    void createOtherWindows();
    void connectMenu();
    void connectOtherWindows();
    void startLesson(int lessonNo);
    void showResult(const LessonResult& result);
    void showGraph(const ScoreKey& key);
    void showWeakKeys();
    void startWeakKeyDrill();
    void showProgress();
    // Shows the result window and records the attempt; the learner's choice.
    int showAndRecord(const LessonResult& finished);
    void showKanaResult(const LessonResult& finished);

    DiskFileSystem files_;
    SteadyClock clock_;
    SeededRandom random_;
    DesktopScreen screen_;
    DesktopKeyboardState keyboardState_;
    DesktopKeyPositions keyPositions_;
    DesktopSoundPlayer sound_;
    DesktopMessagePresenter messages_;
    ScoreFile scores_;
    // Opened as the first drill window appears, so that the menu alone never loads the driver.
    AttemptStore attempts_;
    LessonResult lastResult_;
    AppContext context_;

    std::unique_ptr<MenuWindow> menu_;
    std::unique_ptr<DrillWindow> drill_;
    std::unique_ptr<OptionsDialog> options_;
    std::unique_ptr<ResultWindow> result_;
    std::unique_ptr<GraphWindow> graph_;
    std::unique_ptr<VersionDialog> version_;
    std::unique_ptr<ProblemSetWindow> problemSets_;
    std::unique_ptr<KanaCourseWindow> kanaCourse_;
    // Owned by the menu; knows the window the learner works in.
    FocusReturn* focusReturn_ = nullptr;
    bool othersCreated_ = false;
};

}  // namespace kestrum
