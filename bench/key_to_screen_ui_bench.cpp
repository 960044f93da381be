// From a key event to the end of the repaint it causes, in the real drill window at keyboard
// size LL on the offscreen platform, beside a bare Qt widget that repaints one label per key.
#include "app/app_context.h"
#include "drill/drill_window.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/random_source.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kestrum;

namespace {

constexpr int kKeys = 1000;

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

std::vector<double> drillMicros;
std::vector<double> baselineMicros;

// One key down and up, then whatever repaint it caused, timed.
double timedKey(QWidget& target, char ch) {
    const QString text(QLatin1Char{ch});
    const auto key = static_cast<int>(QChar(ch).toUpper().unicode());
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &release);
    QCoreApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0;
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
                   scores_,
                   {},
                   {}} {
        context_.settings.keyboard_size = 1;  // LL
        window_ = std::make_unique<DrillWindow>(context_);
        QObject::connect(window_.get(), &DrillWindow::lessonFinished, window_.get(),
                         [this](const LessonResult&) { finished_ = true; });
        window_->StartLesson(1);
        settle();
    }

    QWidget& target() {
        QWidget* focus = window_->focusWidget();
        return focus != nullptr ? *focus : *window_;
    }

    char nextKey() {
        const DrillState& state = window_->engine().state();
        const char expected = state.target.at(static_cast<std::size_t>(state.position - 1));
        const bool wrong = (count_++ % 2) == 1;
        if (!wrong) return expected;
        return expected == 'q' ? 'p' : 'q';
    }

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
                timedKey(target(), 'x');  // the start key
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
    bool finished_ = false;
    int count_ = 0;
};

// The least a Qt program can do per key: one label takes the character and repaints.
class BareWidget final : public QWidget {
public:
    BareWidget() : label_(this) {
        resize(1126, 750);
        label_.setGeometry(10, 10, 200, 60);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { label_.setText(event->text()); }

private:
    QLabel label_;
};

void BM_DrillWindowKeyToScreen(benchmark::State& state) {
    DrillRig rig;
    for (auto _ : state) {
        const char key = rig.nextKey();
        const double micros = timedKey(rig.target(), key);
        state.SetIterationTime(micros / 1e6);
        drillMicros.push_back(micros);
        rig.settle();
    }
}
BENCHMARK(BM_DrillWindowKeyToScreen)
    ->Iterations(kKeys)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void BM_BareQtKeyToScreen(benchmark::State& state) {
    BareWidget widget;
    widget.show();
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        const double micros = timedKey(widget, static_cast<char>('a' + (i++ % 26)));
        state.SetIterationTime(micros / 1e6);
        baselineMicros.push_back(micros);
    }
}
BENCHMARK(BM_BareQtKeyToScreen)->Iterations(kKeys)->UseManualTime()->Unit(benchmark::kMicrosecond);

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double drillMedian = percentile(drillMicros, 0.5);
    const double baseMedian = percentile(baselineMicros, 0.5);
    std::printf("key to screen, %zu keys each (microseconds)\n", drillMicros.size());
    std::printf("  drill window LL: median %.1f  p95 %.1f\n", drillMedian,
                percentile(drillMicros, 0.95));
    std::printf("  bare Qt label:   median %.1f  p95 %.1f\n", baseMedian,
                percentile(baselineMicros, 0.95));
    if (baseMedian > 0.0) std::printf("  ratio of medians: %.2f\n", drillMedian / baseMedian);
    return 0;
}
