// From a key event to the end of the repaint it causes, in the real drill window at keyboard
// size LL, beside a bare Qt widget that repaints one label per key. Both windows live in the
// same process and take their keys in turn, so that a drift of the machine's speed falls on
// both alike. Runs on the offscreen platform unless told otherwise (`-platform xcb`).
#include "drill/drill_window.h"
#include "history/score_file.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/random_source.h"
#include "widgets/app_context.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// The entry through which a platform plugin hands a key to the GUI layer (exported by QtGui, and
// the one QTest drives windows with): the key then takes the same way as a user's, through the
// shortcut map, the window's focus widget and its event filters.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key,
                                    Qt::KeyboardModifiers modifiers,
                                    const QString& text = QString(), bool autorepeat = false,
                                    ushort count = 1);

using namespace kestrum;

namespace {

constexpr int kKeys = 1000;
constexpr int kWarmUpKeys = 100;
constexpr int kExposeTimeoutMs = 5000;

class CapsLockOff final : public KeyboardState {
public:
    std::uint16_t capsLockState() const override { return 0; }
};

class Silence final : public SoundPlayer {
public:
    void play(std::string_view) override {}
};

class NoMessages final : public MessagePresenter {
public:
    void show(const Message&) override {}
    bool confirm(const Message&) override { return false; }
};

// Counts the repaints of one top-level window: the backing store is painted and flushed while
// the window handles its UpdateRequest.
class RepaintCounter final : public QObject {
public:
    explicit RepaintCounter(QWidget& window) { window.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest) ++count;
        return false;
    }
};

bool waitExposed(QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        if (timer.elapsed() > kExposeTimeoutMs) return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    QGuiApplication::sync();
    return true;
}

struct Sample {
    double micros = 0.0;
    bool repainted = false;
};

// One key down and up through the window system's entry, then every event it caused: the
// repaint, and on a real display a round trip to the server so that the drawing has reached it.
Sample timedKey(QWidget& window, RepaintCounter& repaints, char ch) {
    const QString text(QLatin1Char{ch});
    const auto key = static_cast<int>(QChar(ch).toUpper().unicode());
    QWindow* handle = window.windowHandle();
    const int before = repaints.count;
    QElapsedTimer timer;
    timer.start();
    qt_handleKeyEvent(handle, QEvent::KeyPress, key, Qt::NoModifier, text);
    qt_handleKeyEvent(handle, QEvent::KeyRelease, key, Qt::NoModifier, text);
    QGuiApplication::sync();
    const auto nanos = timer.nsecsElapsed();
    return {static_cast<double>(nanos) / 1000.0, repaints.count > before};
}

// The drill window with a run of lesson 1 in progress, fed expected and wrong keys in turn.
class DrillRig {
public:
    DrillRig()
        : screen_({1920, 1080, 96.0}),
          scores_(files_, dir_.path().toStdString()),
          context_{dir_.path().toStdString(),
                   files_,
                   clock_,
                   random_,
                   screen_,
                   capsLock_,
                   sound_,
                   messages_,
                   {},
                   {}} {
        context_.settings.keyboard_size = 1;  // LL
        window_ = std::make_unique<DrillWindow>(context_, scores_);
        repaints_ = std::make_unique<RepaintCounter>(*window_);
        QObject::connect(window_.get(), &DrillWindow::lessonFinished, window_.get(),
                         [this](const LessonResult&) { finished_ = true; });
        window_->StartLesson(1);
        exposed_ = waitExposed(*window_);
        settle();
    }

    bool exposed() const { return exposed_; }

    // The next key, and whether it is the expected one.
    std::pair<char, bool> nextKey() {
        const DrillState& state = window_->engine().state();
        const char expected = state.target.at(static_cast<std::size_t>(state.position - 1));
        const bool wrong = (count_++ % 2) == 1;
        if (!wrong) return {expected, true};
        return {expected == 'q' ? 'p' : 'q', false};
    }

    Sample key(char ch) { return timedKey(*window_, *repaints_, ch); }

    // Outside the timing: waits out the pause after an item, and starts the lesson again when
    // it has ended, until a key would be judged.
    void settle() {
        for (;;) {
            QCoreApplication::processEvents();
            const DrillState& state = window_->engine().state();
            if (finished_) {
                finished_ = false;
                window_->retry();
            } else if (state.started == 1 && state.accept_key == 1) {
                return;
            } else if (state.started == 0 && state.accept_key == 1) {
                key('x');  // the start key
            } else {
                QThread::msleep(1);
            }
        }
    }

private:
    QTemporaryDir dir_;
    DiskFileSystem files_;
    SteadyClock clock_;
    SeededRandom random_{1};
    FixedScreen screen_;
    CapsLockOff capsLock_;
    Silence sound_;
    NoMessages messages_;
    ScoreFile scores_;
    AppContext context_;
    std::unique_ptr<DrillWindow> window_;
    std::unique_ptr<RepaintCounter> repaints_;
    bool finished_ = false;
    bool exposed_ = false;
    int count_ = 0;
};

// The least a Qt program can do per key: one label takes the character and repaints.
class BareWidget final : public QWidget {
public:
    BareWidget() : label_(this) {
        resize(1126, 750);
        label_.setGeometry(10, 10, 200, 60);
        setFocusPolicy(Qt::StrongFocus);
        // Shown beside the drill window without taking its activation (which would lay the
        // drill window out again).
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { label_.setText(event->text()); }

private:
    QLabel label_;
};

struct Series {
    std::vector<double> all;
    std::vector<double> expected;
    std::vector<double> wrong;
    int unpainted = 0;

    void add(const Sample& sample, bool isExpected) {
        all.push_back(sample.micros);
        (isExpected ? expected : wrong).push_back(sample.micros);
        if (!sample.repainted) ++unpainted;
    }
};

Series drillSeries;
Series bareSeries;

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

void BM_KeyToScreen_DrillVsBareQt(benchmark::State& state) {
    BareWidget bare;
    RepaintCounter bareRepaints(bare);
    bare.show();
    DrillRig rig;
    if (!waitExposed(bare) || !rig.exposed()) {
        state.SkipWithError("a window was never exposed");
        return;
    }
    int bareKeys = 0;
    auto bareKey = [&] {
        return timedKey(bare, bareRepaints, static_cast<char>('a' + (bareKeys++ % 26)));
    };
    auto drillKey = [&] {
        const auto [key, isExpected] = rig.nextKey();
        const Sample sample = rig.key(key);
        rig.settle();
        return std::pair{sample, isExpected};
    };
    for (int i = 0; i < kWarmUpKeys; ++i) {
        drillKey();
        bareKey();
    }

    bool drillFirst = true;
    for (auto _ : state) {
        // Which side goes first alternates, so that neither always finds the caches warm.
        Sample bareSample;
        if (!drillFirst) bareSample = bareKey();
        const auto [drillSample, isExpected] = drillKey();
        if (drillFirst) bareSample = bareKey();
        drillFirst = !drillFirst;
        drillSeries.add(drillSample, isExpected);
        bareSeries.add(bareSample, true);
        state.SetIterationTime(drillSample.micros / 1e6);
    }
    const double drillMedian = percentile(drillSeries.all, 0.5);
    const double bareMedian = percentile(bareSeries.all, 0.5);
    state.counters["drill_median_us"] = drillMedian;
    state.counters["bare_median_us"] = bareMedian;
    state.counters["ratio"] = bareMedian > 0.0 ? drillMedian / bareMedian : 0.0;
}
BENCHMARK(BM_KeyToScreen_DrillVsBareQt)
    ->Iterations(kKeys)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void report(const char* name, const Series& series) {
    std::printf("  %-22s median %7.1f  p95 %7.1f", name, percentile(series.all, 0.5),
                percentile(series.all, 0.95));
    if (!series.wrong.empty()) {
        std::printf("  (expected keys: median %.1f; wrong keys: median %.1f)",
                    percentile(series.expected, 0.5), percentile(series.wrong, 0.5));
    }
    std::printf("  keys without a repaint: %d\n", series.unpainted);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (drillSeries.all.empty()) return 0;
    std::printf("key to screen on %s, %zu keys each, in turn (microseconds)\n",
                qPrintable(QGuiApplication::platformName()), drillSeries.all.size());
    report("drill window LL:", drillSeries);
    report("bare Qt label:", bareSeries);
    const double bareMedian = percentile(bareSeries.all, 0.5);
    if (bareMedian > 0.0) {
        std::printf("  ratio of medians: %.2f\n", percentile(drillSeries.all, 0.5) / bareMedian);
    }
    return 0;
}
