// How the attempt store and the windows that read it grow with the learner's history: stores of
// 100, 10,000 and 100,000 attempts (30 keys each, spread over three years and eight lessons) are
// built in a temporary folder, and each operation the learner can cause is timed on each (median
// of several runs) beside its figure at 100 attempts, which is the baseline of the same run.
//
// Resident memory is read in a child process running the real program: once idle on the menu,
// then with the progress window open and painted over the largest store.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app/application.h"
#include "keyboard/keyboard_model.h"
#include "menu/menu_window.h"
#include "platform/message_presenter.h"
#include "progress/attempt_csv.h"
#include "progress/attempt_queries.h"
#include "progress/attempt_store.h"
#include "progress/heat_map.h"
#include "progress/progress_window.h"
#include "progress/store_schema.h"
#include "progress/weak_keys.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace kestrum;

namespace {

constexpr int kSizes[] = {100, 10000, 100000};
constexpr int kRuns = 5;
constexpr int kLessons = 8;
constexpr qint64 kSpanSeconds = 3LL * 365 * 24 * 3600;
constexpr int kSettleMs = 500;
const char kKeys[] = "abcdefghijklmnopqrstuvwxyz,./;";
const char* const kMemoryMode = "--child=memory";

class SilentMessages final : public MessagePresenter {
public:
    void show(const Message& /*message*/) override {}
    bool confirm(const Message& /*message*/) override { return false; }
};

Attempt sampleAttempt(std::mt19937& random, int lesson, qint64 utcSeconds) {
    Attempt attempt;
    attempt.started_at = QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC)
                             .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))
                             .toStdString();
    attempt.kind = lesson == kLessons - 1 ? 1 : 0;
    attempt.lesson = "lesson" + std::to_string(lesson);
    attempt.speed = 60 + static_cast<int>(random() % 240);
    attempt.accuracy = 70 + static_cast<int>(random() % 31);
    attempt.duration_ms = 60000;
    attempt.keys = 120;
    for (const char key : std::string(kKeys)) {
        const std::int64_t misses = random() % 3;
        attempt.key_stats.push_back({std::string(1, key), 1 + std::int64_t(random() % 9), misses});
        attempt.misses += static_cast<std::int32_t>(misses);
    }
    return attempt;
}

// The first attempt goes through the store, which makes the file and its schema; the rest are
// written in one transaction beside it, a multi-row insert per attempt, so that set-up is quick,
// and summed as an upgrade sums them.
void buildStore(const std::filesystem::path& file, int count) {
    std::mt19937 random(7);
    const qint64 start = QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const auto timeOf = [&](int i) { return start + kSpanSeconds * i / count; };
    AttemptStore(file).record(sampleAttempt(random, 0, timeOf(0)));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill");
        db.setDatabaseName(QString::fromStdString(file.string()));
        db.open();
        db.transaction();
        QSqlQuery attempts(db);
        attempts.prepare(QStringLiteral(
            "INSERT INTO attempts(started_at, kind, lesson, speed, accuracy, duration_ms, keys, "
            "misses) VALUES(?, ?, ?, ?, ?, ?, ?, ?)"));
        QString keySql =
            QStringLiteral("INSERT INTO key_stats(attempt_id, ch, hits, misses) VALUES");
        for (std::size_t k = 0; k < sizeof kKeys - 1; ++k)
            keySql += k == 0 ? QStringLiteral("(?,?,?,?)") : QStringLiteral(",(?,?,?,?)");
        QSqlQuery keys(db);
        keys.prepare(keySql);
        for (int i = 1; i < count; ++i) {
            const Attempt a = sampleAttempt(random, i % kLessons, timeOf(i));
            for (const QVariant& v :
                 {QVariant(QString::fromStdString(a.started_at)), QVariant(a.kind),
                  QVariant(QString::fromStdString(a.lesson)), QVariant(a.speed),
                  QVariant(a.accuracy), QVariant(qint64{a.duration_ms}), QVariant(a.keys),
                  QVariant(a.misses)})
                attempts.addBindValue(v);
            attempts.exec();
            const qint64 id = attempts.lastInsertId().toLongLong();
            for (const KeyTally& tally : a.key_stats) {
                keys.addBindValue(id);
                keys.addBindValue(QString::fromStdString(tally.ch));
                keys.addBindValue(qint64{tally.hits});
                keys.addBindValue(qint64{tally.misses});
            }
            keys.exec();
        }
        // The sums as an upgrade leaves them, to be made at their first read.
        QSqlQuery sums(db);
        sums.exec(QStringLiteral("DELETE FROM lesson_keys"));
        for (const std::string& fill : schemaSteps().back().fill)
            sums.exec(QString::fromStdString(fill));
        sums.exec(QStringLiteral("DELETE FROM days_zone"));
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

// A copy of `file` as the version before left it: without what version 3 added.
std::filesystem::path versionTwoCopy(const std::filesystem::path& file) {
    const std::filesystem::path copy = file.parent_path() / "version2.sqlite3";
    std::filesystem::copy_file(file, copy);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "downgrade");
        db.setDatabaseName(QString::fromStdString(copy.string()));
        db.open();
        QSqlQuery query(db);
        for (const SchemaObject& object : schemaSteps().back().objects)
            query.exec(QStringLiteral("DROP TABLE %1").arg(QString::fromStdString(object.name)));
        query.exec(QStringLiteral("PRAGMA user_version = 2"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("downgrade"));
    return copy;
}

// Resident set size of this process in KiB.
long rssKib() {
    QFile file(QStringLiteral("/proc/self/smaps_rollup"));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("Rss:")) return line.mid(4).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double medianMs(int runs, const std::function<void()>& operation) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        operation();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Operation {
    const char* name;
    std::function<void(AttemptStore&, const std::filesystem::path&)> run;
    std::vector<double> ms;
};

std::vector<Operation> operations() {
    static SilentMessages messages;
    return {
        {"open the store",
         [](AttemptStore&, const std::filesystem::path& file) { AttemptStore(file).open(); },
         {}},
        {"progress window, whole range",
         [](AttemptStore& store, const std::filesystem::path& file) {
             ProgressWindow window(store, messages, file.parent_path(), ScreenMetrics{});
             window.grab();
         },
         {}},
        {"heat map of one lesson",
         [](AttemptStore& store, const std::filesystem::path&) {
             const KeyboardModel model;
             const RomajiHeatKeys keys(model);
             benchmark::DoNotOptimize(keyHeats(keys, store.lessonTotals({0, "lesson3"})));
         },
         {}},
        {"weak-key choice",
         [](AttemptStore& store, const std::filesystem::path&) {
             benchmark::DoNotOptimize(chooseWeakKeys(store.recentTotals(kWeakKeyRecentAttempts)));
         },
         {}},
        {"CSV export",
         [](AttemptStore& store, const std::filesystem::path& file) {
             QFile out(QString::fromStdString(file.string() + ".csv"));
             out.open(QIODevice::WriteOnly);
             exportAttemptsCsv(store, out);
         },
         {}},
        {"record one attempt",
         [](AttemptStore& store, const std::filesystem::path&) {
             std::mt19937 random(1);
             store.record(sampleAttempt(random, 3, QDateTime::currentSecsSinceEpoch()));
         },
         {}},
    };
}

// The program on a copy of `store`: RSS idle on the menu, then with the progress window open.
int runMemoryChild(const QString& store) {
    QTemporaryDir dir;
    QFile::copy(store, dir.filePath(QStringLiteral("kestrum.sqlite3")));
    SilentMessages messages;
    Application app(ProgramDirResult{dir.path().toStdString(), std::nullopt}, {&messages});
    long idle = -1;
    long open = -1;
    QTimer::singleShot(kSettleMs, [&] {
        idle = rssKib();
        QTimer::singleShot(kSettleMs, [&] {
            QWidget* window = QApplication::activeModalWidget();
            open = rssKib();
            if (window != nullptr) window->close();
            QTimer::singleShot(0, [] { QCoreApplication::quit(); });
        });
        emit app.menu().progressRequested();
    });
    const int code = app.run();
    std::printf("%ld %ld\n", idle, open);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    if (argc == 3 && std::string(argv[1]) == kMemoryMode) return runMemoryChild(argv[2]);

    QTemporaryDir dir;
    std::vector<Operation> ops = operations();
    std::vector<std::pair<long, long>> memory;
    std::vector<double> upgrades;
    for (const int size : kSizes) {
        const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) /
                                           std::to_string(size) / "kestrum.sqlite3";
        std::filesystem::create_directories(file.parent_path());
        buildStore(file, size);
        AttemptStore store(file);
        store.open();
        for (Operation& op : ops)
            op.ms.push_back(medianMs(kRuns, [&] { op.run(store, file); }));
        const std::filesystem::path old = versionTwoCopy(file);
        upgrades.push_back(medianMs(1, [&] {
            AttemptStore upgraded(old);
            benchmark::DoNotOptimize(storedLessons(upgraded));  // which sums the days
            benchmark::DoNotOptimize(upgraded.lessonTotals({0, "lesson3"}));
        }));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(kMemoryMode), QString::fromStdString(file.string())});
        child.waitForFinished(120000);
        const QList<QByteArray> rss = child.readAllStandardOutput().trimmed().split(' ');
        memory.emplace_back(rss.value(0).toLong(), rss.value(1).toLong());
        std::fprintf(stderr, "%d attempts: %.1f MB\n", size,
                     static_cast<double>(std::filesystem::file_size(file)) / 1e6);
    }

    std::printf("%-32s %10s %10s %10s %12s\n", "median of 5 (ms)", "100", "10,000", "100,000",
                "100,000/100");
    for (const Operation& op : ops)
        std::printf("%-32s %10.2f %10.2f %10.2f %11.1fx\n", op.name, op.ms[0], op.ms[1], op.ms[2],
                    op.ms[2] / op.ms[0]);
    std::printf("%-32s %10.2f %10.2f %10.2f %11.1fx\n", "upgrade from 2, first reads", upgrades[0],
                upgrades[1], upgrades[2], upgrades[2] / upgrades[0]);
    std::printf("%-32s %10s %10s %10s\n", "program RSS (KiB)", "idle menu", "progress", "growth");
    for (std::size_t i = 0; i < memory.size(); ++i)
        std::printf("  %-30d %10ld %10ld %10ld\n", kSizes[i], memory[i].first, memory[i].second,
                    memory[i].second - memory[i].first);
    return 0;
}
