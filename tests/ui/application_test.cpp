#include "drill/drill_window.h"
#include "history/graph_window.h"
#include "history/result_window.h"
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdint>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

QString captionOf(QWidget* window, const char* panel) {
    auto* found = window->findChild<BevelPanel*>(QString::fromLatin1(panel));
    return found != nullptr ? found->caption() : QStringLiteral("<missing>");
}

QImage arrowOf(QWidget* window, const char* image) {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(image));
    return label != nullptr ? label->pixmap().toImage() : QImage();
}

QImage picture(Trend trend) {
    return ResultWindow::arrowPicture(trend).toImage();
}

Trend trendOf(int now, int before) {
    return now > before ? Trend::Up : now < before ? Trend::Down : Trend::Even;
}

// One history entry as the file keeps it: kind, name length, name, count, then per attempt the
// speed as two bytes, high first, and the accuracy as one.
QByteArray historyEntry(std::uint8_t kind, const QByteArray& name,
                        const std::vector<RunFigures>& runs) {
    QByteArray bytes;
    bytes.append(static_cast<char>(kind));
    bytes.append(static_cast<char>(name.size()));
    bytes.append(name);
    bytes.append(static_cast<char>(runs.size()));
    for (const RunFigures& run : runs) {
        bytes.append(static_cast<char>(run.speed() >> 8));
        bytes.append(static_cast<char>(run.speed() & 0xFF));
        bytes.append(static_cast<char>(run.accuracy()));
    }
    return bytes;
}

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void lessonRunsRetriesAndReturnsToMenu();
    void acceleratorsStartLessons();
    void unwritableSettingsDoNotStopTheClose();
};

void ApplicationTest::lessonRunsRetriesAndReturnsToMenu() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    MenuWindow& menu = test.app().menu();
    DrillWindow& drill = test.app().drill();

    // The program's pictures as shipped: the window's icon, the close button's, the trend arrows.
    QCOMPARE(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    QCOMPARE(menu.findChild<QPushButton*>("BitBtn_close")->icon().availableSizes(),
             QList<QSize>{QSize(16, 16)});
    for (const Trend trend : {Trend::Up, Trend::Down, Trend::Even}) {
        QCOMPARE(picture(trend).size(), QSize(32, 32));
    }

    test.press("Panel_le1");
    QVERIFY(drill.isVisible());
    QVERIFY(!menu.isVisible());
    QCOMPARE(drill.windowTitle(), QStringLiteral("ケストラムLite   lesson1"));

    // First run, with two wrong keys: nothing to compare with yet.
    QString shownSpeed, shownAccuracy, previousSpeed, previousAccuracy;
    QImage speedArrow, accuracyArrow;
    ModalDriver firstResult([&](QWidget* modal) {
        shownSpeed = captionOf(modal, "Panel_speed");
        shownAccuracy = captionOf(modal, "Panel_accuracy");
        previousSpeed = captionOf(modal, "Panel_pre_speed");
        previousAccuracy = captionOf(modal, "Panel_pre_accuracy");
        speedArrow = arrowOf(modal, "Image_speed");
        accuracyArrow = arrowOf(modal, "Image_accuracy");
        TestApplication::click(modal, "Button_retry");
    });
    const RunFigures first = test.typeRun(300, 2, [&] { return firstResult.ran(); });
    QVERIFY(firstResult.ran());
    QCOMPARE(shownSpeed, QStringLiteral("%1字/分").arg(first.speed()));
    QCOMPARE(shownAccuracy, QStringLiteral("%1%").arg(first.accuracy()));
    QCOMPARE(previousSpeed, QStringLiteral("(-----)"));
    QCOMPARE(previousAccuracy, QStringLiteral("(-----)"));
    QVERIFY(speedArrow.isNull());
    QVERIFY(accuracyArrow.isNull());
    QCOMPARE(test.readFile("score.dat"), historyEntry(0, "lesson1", {first}));

    // Retry: the same lesson waits for its start key again.
    QVERIFY(drill.isVisible());
    QCOMPARE(drill.engine().view().lbl_sample, std::string("Press any key to start!!"));
    QVERIFY(test.messages().shown().empty());

    // Second run, faster and clean; its result opens the graph, then goes back to the menu.
    QImage graph;
    QString graphTitle;
    ModalDriver secondResult([&](QWidget* modal) {
        shownSpeed = captionOf(modal, "Panel_speed");
        previousSpeed = captionOf(modal, "Panel_pre_speed");
        previousAccuracy = captionOf(modal, "Panel_pre_accuracy");
        speedArrow = arrowOf(modal, "Image_speed");
        accuracyArrow = arrowOf(modal, "Image_accuracy");
        ModalDriver graphDriver(
            [&](QWidget* graphModal) {
                graphTitle = graphModal->windowTitle();
                graph = test.app().graph().picture();
                TestApplication::click(graphModal, "BitBtn_ok");
            },
            modal);
        QVERIFY(modal->focusWidget() != nullptr);
        QCOMPARE(modal->focusWidget()->objectName(), QStringLiteral("Button_show_graph"));
        QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
        QVERIFY(graphDriver.ran());
        QVERIFY(modal->isVisible());
        TestApplication::click(modal, "Button_go_menu");
    });
    const RunFigures second = test.typeRun(200, 0, [&] { return secondResult.ran(); });
    QVERIFY(secondResult.ran());
    QCOMPARE(second.accuracy(), 100);
    QCOMPARE(shownSpeed, QStringLiteral("%1字/分").arg(second.speed()));
    QCOMPARE(previousSpeed, QStringLiteral("%1字/分").arg(first.speed()));
    QCOMPARE(previousAccuracy, QStringLiteral("%1%").arg(first.accuracy()));
    QCOMPARE(speedArrow, picture(trendOf(second.speed(), first.speed())));
    QCOMPARE(accuracyArrow, picture(Trend::Up));
    QCOMPARE(graphTitle, QStringLiteral("グラフ   lesson1"));
    // The newest of two attempts stands at the right scale; its accuracy of 100 at y = 19.
    QCOMPARE(graph.pixelColor(529, 19), QColor(Qt::blue));

    QVERIFY(menu.isVisible());
    QVERIFY(!drill.isVisible());
    QCOMPARE(test.readFile("score.dat"), historyEntry(0, "lesson1", {first, second}));

    QSignalSpy closed(&menu, &MenuWindow::closed);
    menu.close();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(test.readFile("kestruml.ini"), QByteArray("1,0,0,1,0,5,0\r\n"));
    QVERIFY(!watchdog.fired());
}

void ApplicationTest::acceleratorsStartLessons() {
    TestApplication test;
    DrillWindow& drill = test.app().drill();
    for (const int lessonNo : {3, 0, 6}) {
        QVERIFY(test.showMenu());
        QTest::keyClick(&test.app().menu(), static_cast<Qt::Key>(Qt::Key_0 + lessonNo),
                        Qt::AltModifier);
        QTRY_VERIFY(drill.isVisible());
        QCOMPARE(drill.lesson_no(), lessonNo);
        QVERIFY(!test.app().menu().isVisible());
        drill.hide();
    }
    QCOMPARE(test.app().drill().engine().windowCaption(), std::string("ケストラムLite   lesson6"));
}

void ApplicationTest::unwritableSettingsDoNotStopTheClose() {
    TestApplication test;
    QVERIFY(QDir(test.path({})).mkdir(QStringLiteral("kestruml.ini")));
    QVERIFY(test.showMenu());
    QSignalSpy closed(&test.app().menu(), &MenuWindow::closed);
    TestApplication::click(&test.app().menu(), "BitBtn_close");
    QCOMPARE(closed.count(), 1);
    QVERIFY(!test.app().menu().isVisible());
    QVERIFY(test.messages().shown().empty());
}

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
