#include "drill/drill_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <map>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

// Rows of a query on the program's attempt store, each as its columns joined by "|".
QStringList rows(const TestApplication& test, const QString& sql) {
    QStringList result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(test.path(QStringLiteral("kestrum.sqlite3")));
        QSqlQuery query(db);
        for (bool ok = db.open() && query.exec(sql); ok && query.next();) {
            QStringList columns;
            for (int i = 0; i < query.record().count(); ++i)
                columns << query.value(i).toString();
            result << columns.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}

// Runs the lesson waiting in the drill window and leaves its result for the menu; `hits` counts
// the keys typed right.
RunFigures runToMenu(TestApplication& test, int wrongKeys, std::map<char, int>& hits) {
    ModalDriver result([](QWidget* modal) { TestApplication::click(modal, "Button_go_menu"); });
    return test.typeRun(
        250, wrongKeys, [&] { return result.ran(); },
        [&hits](char expected) { return ++hits[expected], expected; });
}

}  // namespace

class AttemptHistoryTest : public QObject {
    Q_OBJECT

private slots:
    void lessonLeavesOneAttemptWithItsKeys();
    void unusableStoreLeavesLessonAndScoreFileAlone();
};

void AttemptHistoryTest::lessonLeavesOneAttemptWithItsKeys() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    test.press("Panel_le1");
    std::map<char, int> hits;
    const RunFigures run = runToMenu(test, 2, hits);

    QCOMPARE(rows(test,
                  "SELECT kind, lesson, speed, accuracy, duration_ms, keys, misses, "
                  "started_at LIKE '____-__-__T__:__:__Z' FROM attempts"),
             QStringList{QString::asprintf("0|lesson1|%d|%d|%u|%d|2|1", run.speed(), run.accuracy(),
                                           run.elapsed, run.keys)});
    // The wrong keys fell on the first key of lesson 1's first two items: "ffjj..", "ddkk..".
    QStringList expected;
    for (const auto& [ch, count] : hits)
        expected << QString::asprintf("%c|%d|%d", ch, count, ch == 'f' || ch == 'd' ? 1 : 0);
    QCOMPARE(rows(test, "SELECT ch, hits, misses FROM key_stats ORDER BY ch"), expected);
    QVERIFY(test.messages().shown().empty());
    QVERIFY(!watchdog.fired());
}

void AttemptHistoryTest::unusableStoreLeavesLessonAndScoreFileAlone() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(QDir(test.path({})).mkdir(QStringLiteral("kestrum.sqlite3")));
    QVERIFY(test.showMenu());
    std::map<char, int> hits;
    for (const int wrongKeys : {1, 0}) {
        test.press("Panel_le3");
        runToMenu(test, wrongKeys, hits);
    }
    QCOMPARE(test.readFile("score.dat").left(10), QByteArray("\x00\x07lesson3\x02", 10));
    QCOMPARE(test.messages().shown().size(), std::size_t{1});  // said once, in Japanese
    QVERIFY(test.messages().shownTexts()[0].find("kestrum.sqlite3") != std::string::npos);
    QVERIFY(QFileInfo(test.path(QStringLiteral("kestrum.sqlite3"))).isDir());
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(AttemptHistoryTest)
#include "attempt_history_test.moc"
