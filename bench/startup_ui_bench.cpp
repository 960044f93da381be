// Start-up and memory of the real program beside two bare Qt programs linked the same way: one
// QWidget holding one ASCII label, and one painting the menu's Japanese text in the menu's face
// and sizes (what the program cannot do without). This very executable is started again in turn
// as each side.
//
// A child reports the time from the moment the parent started it to the end of its main window's
// first paint, its resident and proportional set sizes once idle, and the processor ticks it used
// while idle (on the menu, and for the program also in a drill waiting for a key). The parent
// runs the sides in rotating order and prints medians, spreads and ratios.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app/application.h"
#include "drill/drill_window.h"
#include "menu/menu_window.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
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
const char* const kJapaneseMode = "--child=japanese";

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

// A field of smaps_rollup ("Rss:", "Pss:") in KiB.
long rollupKib(const QByteArray& field) {
    QFile file(QStringLiteral("/proc/self/smaps_rollup"));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(field.size()).trimmed().split(' ').first().toLong();
        }
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
    long rss = -1;
    long pss = -1;
    long idleMenu = -1;
    long idleDrill = -1;
    double lessonMs = -1.0;  // from a lesson's request to the end of the drill's first paint
};

void print(const ChildReport& report) {
    std::printf(
        "first_paint_ms=%.3f rss_kib=%ld pss_kib=%ld idle_menu_ticks=%ld idle_drill_ticks=%ld "
        "lesson_ms=%.3f\n",
        report.firstPaintMs, report.rss, report.pss, report.idleMenu, report.idleDrill,
        report.lessonMs);
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
    std::optional<FirstPaintProbe> lessonProbe;
    auto idleInDrill = [&] {
        const std::int64_t requestedAt = monotonicNanos();
        emit app.menu().lessonRequested(1);
        lessonProbe.emplace(app.drill(), requestedAt, [&](double ms) { report.lessonMs = ms; });
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
            report.rss = rollupKib("Rss:");
            report.pss = rollupKib("Pss:");
            if (!idle) return finish();
            idleFor(kIdleMs, &context, [&](long ticks) {
                report.idleMenu = ticks;
                idleInDrill();
            });
        });
    });
    return app.run();
}

// The menu's Japanese text in its face, sizes and styles: pixel size, bold, italic, text.
struct Line {
    int pixels;
    bool bold;
    bool italic;
    const char* text;
};
constexpr Line kMenuText[] = {
    {29, false, false, "ケストラムLite"},
    {21, true, false, "左クリックでレッスン開始、右クリックでグラフ表示"},
    {21, true, true, "LESSON 0"},
    {19, true, false, "ホームポジションってなあに？"},
    {19, true, false, "ホームポジションの練習"},
    {19, true, false, "ホームポジション＋上段の練習"},
    {19, true, false, "ホームポジション＋下段の練習"},
    {19, true, false, "ホームポジション＋上段＋下段の練習"},
    {19, true, false, "ローマ字の練習（単語）"},
    {19, true, false, "ローマ字の練習（文章）"},
    {21, true, false, "オリジナル問題集"},
    {21, true, false, "問題集設定(D)"},
    {13, false, false, "ﾊﾞｰｼﾞｮﾝ情報(V) オプション(O)"},
    {12, false, false, "閉じる(C)"},
};

// The least a Qt program shows: labels in one window, either one ASCII line or the menu's text.
int runBare(QApplication& qtApp, std::int64_t startedAt, bool idle, bool japanese) {
    QWidget window;
    std::vector<std::unique_ptr<QLabel>> labels;
    if (japanese) {
        int top = 0;
        for (const Line& line : kMenuText) {
            QFont font(QStringLiteral("IPAPGothic"));
            font.setPixelSize(line.pixels);
            font.setBold(line.bold);
            font.setItalic(line.italic);
            auto& label = labels.emplace_back(
                std::make_unique<QLabel>(QString::fromUtf8(line.text), &window));
            label->setFont(font);
            label->move(8, top);
            top += line.pixels + 8;
        }
        window.resize(555, 420);
    } else {
        labels.push_back(std::make_unique<QLabel>(QStringLiteral("Kestrum Lite"), &window));
        window.resize(400, 300);
    }
    ChildReport report;
    FirstPaintProbe probe(window, startedAt, [&](double ms) {
        report.firstPaintMs = ms;
        QTimer::singleShot(kSettleMs, &window, [&] {
            report.rss = rollupKib("Rss:");
            report.pss = rollupKib("Pss:");
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
    if (values.size() != 6) return std::nullopt;
    return ChildReport{values["first_paint_ms"],
                       static_cast<long>(values["rss_kib"]),
                       static_cast<long>(values["pss_kib"]),
                       static_cast<long>(values["idle_menu_ticks"]),
                       static_cast<long>(values["idle_drill_ticks"]),
                       values["lesson_ms"]};
}

struct Side {
    const char* name;
    const char* mode;
    std::vector<ChildReport> runs;
};
std::array<Side, 3> sides{{{"program", kRealMode, {}},
                           {"bare Qt, Japanese", kJapaneseMode, {}},
                           {"bare Qt, ASCII", kBareMode, {}}}};

void BM_StartUp_ProgramVsBareQt(benchmark::State& state) {
    std::size_t run = 0;
    for (auto _ : state) {
        const bool idle = run < kIdleRuns;
        // The order rotates, so that no side always finds the caches warm or cold.
        for (std::size_t i = 0; i < sides.size(); ++i) {
            Side& side = sides[(run + i) % sides.size()];
            const std::optional<ChildReport> report = runChild(side.mode, idle);
            if (!report) {
                state.SkipWithError("a child run failed");
                return;
            }
            side.runs.push_back(*report);
        }
        state.SetIterationTime(sides[0].runs.back().firstPaintMs / 1e3);
        ++run;
    }
}
BENCHMARK(BM_StartUp_ProgramVsBareQt)
    ->Iterations(kRuns)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Median, lowest and highest of one figure over the runs that measured it.
struct Spread {
    double median = -1.0;
    double low = -1.0;
    double high = -1.0;
};

template <typename Field>
Spread spread(const std::vector<ChildReport>& runs, Field field) {
    std::vector<double> values;
    for (const ChildReport& run : runs) {
        const double value = static_cast<double>(run.*field);
        if (value >= 0) values.push_back(value);
    }
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[(values.size() - 1) / 2], values.front(), values.back()};
}

template <typename Field>
void printFigure(const char* title, const char* unit, Field field) {
    std::printf("  %s (median, low-high; ratio of medians to the Japanese bare window)\n", title);
    const double base = spread(sides[1].runs, field).median;
    for (const Side& side : sides) {
        const Spread s = spread(side.runs, field);
        std::printf("    %-18s %8.1f %s  %8.1f-%-8.1f  ratio %.2f\n", side.name, s.median, unit,
                    s.low, s.high, s.median / base);
    }
}

void summarise() {
    if (sides[0].runs.empty()) return;
    std::printf("start-up on %s, %zu runs of each side, in rotating order\n",
                qgetenv("QT_QPA_PLATFORM").constData(), sides[0].runs.size());
    printFigure("start to first paint", "ms ", &ChildReport::firstPaintMs);
    printFigure("RSS once idle", "KiB", &ChildReport::rss);
    printFigure("PSS once idle", "KiB", &ChildReport::pss);
    std::printf(
        "  CPU ticks over %d ms idle (highest in %d runs): program menu %.0f, drill %.0f; "
        "bare Qt Japanese %.0f, ASCII %.0f\n",
        kIdleMs, kIdleRuns, spread(sides[0].runs, &ChildReport::idleMenu).high,
        spread(sides[0].runs, &ChildReport::idleDrill).high,
        spread(sides[1].runs, &ChildReport::idleMenu).high,
        spread(sides[2].runs, &ChildReport::idleMenu).high);
    const Spread lesson = spread(sides[0].runs, &ChildReport::lessonMs);
    std::printf("  lesson 1 requested to the drill's first paint: median %.1f ms, %.1f-%.1f\n",
                lesson.median, lesson.low, lesson.high);
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
        return runBare(qtApp, *started, idle, hasArgument(argc, argv, kJapaneseMode));
    }
    // The parent needs an application object only for its own path.
    QCoreApplication parent(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    summarise();
    return 0;
}
