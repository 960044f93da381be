#include "app/application.h"

#include "drill/drill_window.h"
#include "history/graph_window.h"
#include "history/result_window.h"
#include "keyboard/options_dialog.h"
#include "menu/menu_window.h"
#include "menu/version_dialog.h"
#include "problem_sets/problem_set_window.h"
#include "progress/attempt_record.h"
#include "progress/heat_map_dialog.h"
#include "progress/progress_window.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_keys.h"
#include "widgets/focus_return.h"
#include "widgets/resource_picture.h"

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
               scores_,
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
        problemSets_ = std::make_unique<ProblemSetWindow>(context_, attempts_);
        QObject::connect(problemSets_.get(), &ProblemSetWindow::currentSetChanged, menu_.get(),
                         &MenuWindow::problemSetChanged);
    }
    return *problemSets_;
}

void Application::createOtherWindows() {
    // Once, even when a message shown as the drill window is created runs an event loop.
    if (othersCreated_) return;
    othersCreated_ = true;
    drill_ = std::make_unique<DrillWindow>(context_);
    options_ = std::make_unique<OptionsDialog>(context_);
    result_ = std::make_unique<ResultWindow>(context_);
    graph_ = std::make_unique<GraphWindow>(context_);
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
    // After score.dat, and never in the result's way: the attempt is kept at once and written once
    // the result is on the screen; a store that fails has its say once and is skipped.
    lastResult_ = result;
    attempts_.keep(attemptFromResult(result));
    const auto write = [this] {
        attempts_.flush();
        context_.messages.showAll(attempts_.pendingMessages());
    };
    QPointer<AfterFirstPaint> writeOnceShown = new AfterFirstPaint(*result_, write);
    const int choice = result_->showResult(result);
    // A window closed before its first paint leaves the writing to be done here.
    if (writeOnceShown) {
        delete writeOnceShown;
        write();
    }
    if (choice == ResultWindow::kRetry) {
        drill_->retry();
        return;
    }
    drill_->returnedToMenu();
    drill_->hide();
    showMenu();
}

void Application::showGraph(const ScoreKey& key) {
    graph().showFor(key);
}

void Application::showWeakKeys() {
    const LessonId lesson{lastResult_.key.kind, cp932ToUtf8(lastResult_.key.name)};
    std::optional<std::vector<KeyTally>> lessonTotals = attempts_.lessonTotals(lesson);
    if (attempts_.health() == StoreHealth::CannotRead) lessonTotals.reset();
    context_.messages.showAll(attempts_.pendingMessages());
    HeatMapDialog dialog(QString::fromStdString(lesson.lesson),
                         keyTallies(lastResult_.hit_counts, lastResult_.miss_counts), lessonTotals,
                         context_.screen.metrics(), result_.get());
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
                          menu_.get());
    window.exec();
}

}  // namespace kestrum
