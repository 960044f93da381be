#include "app/application.h"

#include "drill/drill_window.h"
#include "history/graph_window.h"
#include "history/result_window.h"
#include "kana/kana_course_window.h"
#include "kana/kana_heat_board_widget.h"
#include "kana/kana_lessons.h"
#include "keyboard/options_dialog.h"
#include "menu/menu_window.h"
#include "menu/version_dialog.h"
#include "problem_sets/problem_set_window.h"
#include "progress/attempt_record.h"
#include "progress/heat_board_widget.h"
#include "progress/heat_map_dialog.h"
#include "progress/progress_window.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_keys.h"
#include "widgets/focus_return.h"
#include "widgets/resource_picture.h"
#include "widgets/window_frame.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>

// Resources of a static library are registered by name, from the global namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace kestrum {

namespace {

// Runs `work` once, when the event loop next idles after the first paint of the window it
// watches; then removes itself.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget& window, std::function<void()> work)
        : QObject(&window), work_(std::move(work)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                work_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> work_;
};

// Every text of the program is Japanese, so the toolkit's own texts (the standard buttons of a
// message box, such as Cancel) are too, whatever the desktop's language. Once per process.
void loadToolkitTranslation() {
    if (!qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).isEmpty()) return;
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

}  // namespace

Application::Application(const ProgramDirResult& programDir, ServiceOverrides overrides)
    : random_(seedFromCalendarTime()),
      scores_(files_, programDir.dir),
      attempts_(AttemptStore::fileIn(programDir.dir)),
      context_{programDir.dir,
               files_,
               overrides.clock != nullptr ? *overrides.clock : clock_,
               overrides.random != nullptr ? *overrides.random : random_,
               screen_,
               keyboardState_,
               sound_,
               overrides.messages != nullptr ? *overrides.messages : messages_,
               {},
               {}} {
    registerResources();
    loadToolkitTranslation();
    QApplication::setApplicationName(QStringLiteral("ケストラムLite"));
    QApplication::setWindowIcon(programIcon());
    // The menu is hidden, not closed, while a lesson runs; only its close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (programDir.message) context_.messages.show(*programDir.message);

    menu_ = std::make_unique<MenuWindow>(context_);
    focusReturn_ = new FocusReturn(menu_.get());
    new DialogPlacement(menu_.get(), context_.screen);
    connectMenu();
}

Application::~Application() = default;

DrillWindow& Application::drill() {
    createOtherWindows();
    return *drill_;
}

OptionsDialog& Application::options() {
    createOtherWindows();
    return *options_;
}

ResultWindow& Application::result() {
    createOtherWindows();
    return *result_;
}

GraphWindow& Application::graph() {
    createOtherWindows();
    return *graph_;
}

VersionDialog& Application::version() {
    createOtherWindows();
    return *version_;
}

ProblemSetWindow& Application::problemSets() {
    if (!problemSets_) {
        problemSets_ = std::make_unique<ProblemSetWindow>(context_, scores_, attempts_);
        QObject::connect(problemSets_.get(), &ProblemSetWindow::currentSetChanged, menu_.get(),
                         &MenuWindow::problemSetChanged);
    }
    return *problemSets_;
}

KanaCourseWindow& Application::kanaCourse() {
    if (!kanaCourse_) {
        kanaCourse_ = std::make_unique<KanaCourseWindow>(context_, scores_, keyPositions_);
        KanaCourseWindow* course = kanaCourse_.get();
        QObject::connect(course, &KanaCourseWindow::menuRequested, menu_.get(),
                         [this] { showMenu(); });
        QObject::connect(course, &KanaCourseWindow::graphRequested, course,
                         [this](const ScoreKey& key) { showGraph(key); });
        QObject::connect(course, &KanaCourseWindow::lessonFinished, course,
                         [this](const LessonResult& result) { showKanaResult(result); });
        QObject::connect(course, &KanaCourseWindow::closeRequested, menu_.get(), &QWidget::close);
    }
    return *kanaCourse_;
}

void Application::createOtherWindows() {
    // Once, even when a message shown as the drill window is created runs an event loop.
    if (othersCreated_) return;
    othersCreated_ = true;
    drill_ = std::make_unique<DrillWindow>(context_, scores_);
    options_ = std::make_unique<OptionsDialog>(context_);
    result_ = std::make_unique<ResultWindow>(context_, scores_);
    graph_ = std::make_unique<GraphWindow>(context_, scores_);
    version_ = std::make_unique<VersionDialog>(context_.screen, context_.dataDir);
    connectOtherWindows();
    // The sound server takes long to connect to, and it and the attempt store hold memory once
    // open: not while the menu is all the user sees, and not at the learner's first key either,
    // but as the first drill window appears.
    new AfterFirstPaint(*drill_, [this] {
        sound_.prepare();
        attempts_.open();
    });
}

// The menu's requests go through the accessors, so that a learner who acts the instant the menu
// appears finds every window there.
void Application::connectMenu() {
    MenuWindow* menu = menu_.get();
    QObject::connect(menu, &MenuWindow::lessonRequested, menu,
                     [this](int lessonNo) { startLesson(lessonNo); });
    QObject::connect(menu, &MenuWindow::graphRequested, menu,
                     [this](const ScoreKey& key) { showGraph(key); });
    QObject::connect(menu, &MenuWindow::optionsRequested, menu, [this] { options().exec(); });
    QObject::connect(menu, &MenuWindow::versionRequested, menu, [this] { version().exec(); });
    QObject::connect(menu, &MenuWindow::problemSetsRequested, menu,
                     [this] { problemSets().exec(); });
    QObject::connect(menu, &MenuWindow::weakKeyDrillRequested, menu,
                     [this] { startWeakKeyDrill(); });
    QObject::connect(menu, &MenuWindow::progressRequested, menu, [this] { showProgress(); });
    QObject::connect(menu, &MenuWindow::kanaCourseRequested, menu, [this] {
        kanaCourse().showCourse();
        menu_->hide();
    });
    QObject::connect(menu, &MenuWindow::closed, qApp, &QCoreApplication::quit);
}

void Application::connectOtherWindows() {
    DrillWindow* drill = drill_.get();
    QObject::connect(drill, &DrillWindow::menuRequested, menu_.get(), [this] { showMenu(); });
    QObject::connect(drill, &DrillWindow::lessonFinished, drill,
                     [this](const LessonResult& result) { showResult(result); });
    QObject::connect(drill, &DrillWindow::closeRequested, menu_.get(), &QWidget::close);
    QObject::connect(drill, &DrillWindow::programMustEnd, qApp,
                     [] { QCoreApplication::exit(EXIT_FAILURE); });

    QObject::connect(result_.get(), &ResultWindow::graphRequested, result_.get(),
                     [this](const ScoreKey& key) { showGraph(key); });
    QObject::connect(result_.get(), &ResultWindow::weakKeysRequested, result_.get(),
                     [this] { showWeakKeys(); });
}

int Application::run() {
    showMenu();
    return QApplication::exec();
}

void Application::showMenu() {
    menu_->show();
    menu_->activateWindow();
}

void Application::bringToFront() {
    QWidget* window = focusReturn_->returnTarget();
    if (window == nullptr) window = menu_.get();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void Application::startLesson(int lessonNo) {
    drill().StartLesson(lessonNo);
    menu_->hide();
}

void Application::showResult(const LessonResult& result) {
    if (showAndRecord(result) == ResultWindow::kRetry) {
        drill_->retry();
        return;
    }
    drill_->returnedToMenu();
    drill_->hide();
    showMenu();
}

int Application::showAndRecord(const LessonResult& finished) {
    // After score.dat, and never in the result's way: the attempt is kept at once and written once
    // the result is on the screen; a store that fails has its say once and is skipped.
    lastResult_ = finished;
    attempts_.keep(attemptFromResult(finished));
    const auto write = [this] {
        attempts_.flush();
        context_.messages.showAll(attempts_.pendingMessages());
    };
    QPointer<AfterFirstPaint> writeOnceShown = new AfterFirstPaint(result(), write);
    const int choice = result().showResult(finished);
    // A window closed before its first paint leaves the writing to be done here.
    if (writeOnceShown) {
        delete writeOnceShown;
        write();
    }
    return choice;
}

void Application::showKanaResult(const LessonResult& finished) {
    if (showAndRecord(finished) == ResultWindow::kRetry) {
        kanaCourse_->retry();
    } else {
        kanaCourse_->returnedFromResult();
    }
}

void Application::showGraph(const ScoreKey& key) {
    graph().showFor(key);
}

void Application::showWeakKeys() {
    const LessonId lesson{lastResult_.key.kind, cp932ToUtf8(lastResult_.key.name)};
    std::optional<std::vector<KeyTally>> lessonTotals = attempts_.lessonTotals(lesson);
    if (attempts_.health() == StoreHealth::CannotRead) lessonTotals.reset();
    context_.messages.showAll(attempts_.pendingMessages());
    const ScreenMetrics screen = context_.screen.metrics();
    std::unique_ptr<HeatBoard> board;
    if (isKanaLesson(lastResult_.key)) {
        board = std::make_unique<KanaHeatBoard>(screen);
    } else {
        board = std::make_unique<RomajiHeatBoard>(screen);
    }
    HeatMapDialog dialog(QString::fromStdString(lesson.lesson),
                         keyTallies(lastResult_.hit_counts, lastResult_.miss_counts), lessonTotals,
                         screen, std::move(board), result_.get());
    dialog.exec();
}

void Application::startWeakKeyDrill() {
    const std::vector<KeyTally> recent = attempts_.recentTotals(kWeakKeyRecentAttempts);
    WeakKeyDrill built = buildWeakKeyDrill(recent, attempts_.health());
    context_.messages.showAll(attempts_.pendingMessages());
    context_.messages.showAll(built.messages);
    if (!built.record) return;
    // The drill takes the menu's one slot for a lesson made at run time.
    context_.problemSetLesson = std::move(*built.record);
    startLesson(kProblemSetLessonNo);
}

void Application::showProgress() {
    ProgressWindow window(attempts_, context_.messages, context_.dataDir, context_.screen.metrics(),
                          lessonListTitle, menu_.get());
    window.exec();
}

}  // namespace kestrum
