// Start-up and memory of the real program beside a bare Qt program (one QWidget holding one
// QLabel) linked the same way: this very executable, started again in turn as either side.
//
// A child reports the time from the moment the parent started it to the end of its main window's
// first paint, its proportional set size once idle, and the processor ticks it used while idle
// (on the menu, and for the program also in a drill waiting for a key). The parent runs the two
// sides alternately and prints medians and ratios.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app/application.h"
#include "menu/menu_window.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace kestrum;

namespace {

constexpr int kRuns = 20;
constexpr int kIdleRuns = 3;    // the idle figures take seconds, so only a few runs measure them
constexpr int kSettleMs = 500;  // after the first paint, before memory is read
constexpr int kIdleMs = 3000;
constexpr int kChildTimeoutMs = 60000;

const char* const kRealMode = "--child=program";
const char* const kBareMode = "--child=bare";

std::int64_t monotonicNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// utime + stime of this process, in clock ticks.
long cpuTicks() {
    QFile file(QStringLiteral("/proc/self/stat"));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray stat = file.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    constexpr int kUtime = 11;  // field 14 of the whole line
    if (fields.size() <= kUtime + 1) return -1;
    return fields[kUtime].toLong() + fields[kUtime + 1].toLong();
}

long pssKib() {
    QFile file(QStringLiteral("/proc/self/smaps_rollup"));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("Pss:")) return line.mid(4).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Notes the end of the first paint of `window`: the paint and the flush are done when the event
// loop next gets control.
class FirstPaintProbe final : public QObject {
public:
    FirstPaintProbe(QWidget& window, std::int64_t startedAt, std::function<void(double)> done)
        : startedAt_(startedAt), done_(std::move(done)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                done_(static_cast<double>(monotonicNanos() - startedAt_) / 1e6);
            });
        }
        return false;
    }

private:
    std::int64_t startedAt_;
    std::function<void(double)> done_;
    bool seen_ = false;
};

// Runs `after` once the event loop has idled for `ms`, with the ticks used meanwhile.
void idleFor(int ms, QObject* context, std::function<void(long)> after) {
    const long before = cpuTicks();
    QTimer::singleShot(ms, context,
                       [before, after = std::move(after)] { after(cpuTicks() - before); });
}

struct ChildReport {
    double firstPaintMs = 0.0;
    long pss = -1;
    long idleMenu = -1;
    long idleDrill = -1;
};

void print(const ChildReport& report) {
    std::printf("first_paint_ms=%.3f pss_kib=%ld idle_menu_ticks=%ld idle_drill_ticks=%ld\n",
                report.firstPaintMs, report.pss, report.idleMenu, report.idleDrill);
    std::fflush(stdout);
}

// The program as main starts it, in a fresh program directory.
int runProgram(std::int64_t startedAt, bool idle) {
    QTemporaryDir dir;
    Application app(ProgramDirResult{dir.path().toStdString(), std::nullopt});
    ChildReport report;
    QObject context;
    auto finish = [&] {
        print(report);
        QCoreApplication::quit();
    };
    auto idleInDrill = [&] {
        emit app.menu().lessonRequested(1);
        QTimer::singleShot(kSettleMs, &context, [&] {
            idleFor(kIdleMs, &context, [&](long ticks) {
                report.idleDrill = ticks;
                finish();
            });
        });
    };
    FirstPaintProbe probe(app.menu(), startedAt, [&](double ms) {
        report.firstPaintMs = ms;
        QTimer::singleShot(kSettleMs, &context, [&] {
            report.pss = pssKib();
            if (!idle) return finish();
            idleFor(kIdleMs, &context, [&](long ticks) {
                report.idleMenu = ticks;
                idleInDrill();
            });
        });
    });
    return app.run();
}

// The least a Qt program shows: one label in one window.
int runBare(QApplication& qtApp, std::int64_t startedAt, bool idle) {
    QWidget window;
    QLabel label(QStringLiteral("ケストラムLite"), &window);
    window.resize(400, 300);
    ChildReport report;
    FirstPaintProbe probe(window, startedAt, [&](double ms) {
        report.firstPaintMs = ms;
        QTimer::singleShot(kSettleMs, &window, [&] {
            report.pss = pssKib();
            if (!idle) {
                print(report);
                return QCoreApplication::quit();
            }
            idleFor(kIdleMs, &window, [&](long ticks) {
                report.idleMenu = ticks;
                print(report);
                QCoreApplication::quit();
            });
        });
    });
    window.show();
    return qtApp.exec();
}

std::optional<ChildReport> runChild(const char* mode, bool idle) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{QString::fromLatin1(mode)};
    if (idle) arguments << QStringLiteral("--idle");
    const std::int64_t startedAt = monotonicNanos();
    arguments << QStringLiteral("--started=%1").arg(startedAt);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(kChildTimeoutMs) || child.exitCode() != 0) return std::nullopt;
    std::map<std::string, double> values;
    for (const QByteArray& pair : child.readAllStandardOutput().trimmed().split(' ')) {
        const QList<QByteArray> parts = pair.split('=');
        if (parts.size() == 2) values[parts[0].toStdString()] = parts[1].toDouble();
    }
    if (values.size() != 4) return std::nullopt;
    return ChildReport{values["first_paint_ms"], static_cast<long>(values["pss_kib"]),
                       static_cast<long>(values["idle_menu_ticks"]),
                       static_cast<long>(values["idle_drill_ticks"])};
}

std::vector<ChildReport> programRuns;
std::vector<ChildReport> bareRuns;

void BM_StartUp_ProgramVsBareQt(benchmark::State& state) {
    int run = 0;
    for (auto _ : state) {
        const bool idle = run < kIdleRuns;
        // Which side starts first alternates, so that neither always finds the caches warm.
        const bool programFirst = run % 2 == 0;
        std::optional<ChildReport> program;
        std::optional<ChildReport> bare;
        if (!programFirst) bare = runChild(kBareMode, idle);
        program = runChild(kRealMode, idle);
        if (programFirst) bare = runChild(kBareMode, idle);
        if (!program || !bare) {
            state.SkipWithError("a child run failed");
            return;
        }
        programRuns.push_back(*program);
        bareRuns.push_back(*bare);
        state.SetIterationTime(program->firstPaintMs / 1e3);
        ++run;
    }
}
BENCHMARK(BM_StartUp_ProgramVsBareQt)
    ->Iterations(kRuns)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

template <typename Field>
double median(const std::vector<ChildReport>& runs, Field field) {
    std::vector<double> values;
    for (const ChildReport& run : runs) {
        const double value = static_cast<double>(run.*field);
        if (value >= 0) values.push_back(value);
    }
    if (values.empty()) return -1.0;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

template <typename Field>
long maximum(const std::vector<ChildReport>& runs, Field field) {
    long most = -1;
    for (const ChildReport& run : runs)
        most = std::max(most, static_cast<long>(run.*field));
    return most;
}

void summarise() {
    if (programRuns.empty()) return;
    const double programPaint = median(programRuns, &ChildReport::firstPaintMs);
    const double barePaint = median(bareRuns, &ChildReport::firstPaintMs);
    const double programPss = median(programRuns, &ChildReport::pss);
    const double barePss = median(bareRuns, &ChildReport::pss);
    std::printf("start-up on %s, %zu runs of each side, in turn (medians)\n",
                qgetenv("QT_QPA_PLATFORM").constData(), programRuns.size());
    std::printf("  start to first paint: program %.1f ms, bare Qt %.1f ms, ratio %.2f\n",
                programPaint, barePaint, programPaint / barePaint);
    std::printf("  PSS once idle:        program %.0f KiB, bare Qt %.0f KiB, ratio %.2f\n",
                programPss, barePss, programPss / barePss);
    std::printf(
        "  CPU ticks over %d ms idle (most in %d runs): program menu %ld, drill %ld; "
        "bare Qt %ld\n",
        kIdleMs, kIdleRuns, maximum(programRuns, &ChildReport::idleMenu),
        maximum(programRuns, &ChildReport::idleDrill), maximum(bareRuns, &ChildReport::idleMenu));
}

std::optional<std::int64_t> startedAt(int argc, char** argv) {
    const std::string prefix = "--started=";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with(prefix)) return std::stoll(argument.substr(prefix.size()));
    }
    return std::nullopt;
}

bool hasArgument(int argc, char** argv, const std::string& wanted) {
    return std::any_of(argv + 1, argv + argc, [&](const char* a) { return wanted == a; });
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (const auto started = startedAt(argc, argv)) {
        QApplication qtApp(argc, argv);
        const bool idle = hasArgument(argc, argv, "--idle");
        if (hasArgument(argc, argv, kRealMode)) return runProgram(*started, idle);
        return runBare(qtApp, *started, idle);
    }
    // The parent needs an application object only for its own path.
    QCoreApplication parent(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    summarise();
    return 0;
}
