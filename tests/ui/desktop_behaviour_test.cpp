// What a learner meets on a real desktop: the way back from a waiting drill by keyboard, graph
// labels that keep the scale lines and the picture whole, and the toolkit's buttons in Japanese.
#include "drill/drill_window.h"
#include "history/graph_window.h"
#include "history/score_file.h"
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

class DesktopBehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void goMenuIsOutOfTheKeyboardsReachDuringARun();
    void graphLabelsLeaveTheLinesAndThePictureWhole();
    void standardButtonsAreJapanese();
};

// Outside a run Tab reaches the way back (the end-to-end suite leaves a waiting drill so); once
// the run has begun, Tab, Enter and the space bar never do.
void DesktopBehaviourTest::goMenuIsOutOfTheKeyboardsReachDuringARun() {
    TestApplication test;
    QVERIFY(test.showMenu());
    DrillWindow& drill = test.app().drill();
    auto* goMenu = drill.findChild<QPushButton*>(QStringLiteral("Button_go_menu"));
    test.press("Panel_le1");
    QVERIFY(drill.focusWidget() != goMenu);
    for (const Qt::Key k : {Qt::Key_X, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Space})
        QTest::keyClick(drill.focusWidget(), k);
    QVERIFY(drill.focusWidget() != goMenu);
    QVERIFY(drill.isVisible());
    QCOMPARE(drill.engine().state().key_count, 1);  // the blank, judged
}

void DesktopBehaviourTest::graphLabelsLeaveTheLinesAndThePictureWhole() {
    ModalWatchdog watchdog;
    TestApplication test;
    for (int i = 0; i < 2; ++i) {
        ScoreKey key = scoreKeyFor(0, "lesson1");
        key.speed = 252;  // both dots at y 136, between the labels
        key.accuracy = 63;
        QCOMPARE(test.app().context().scores.AppendScore(key).result, 1);
    }
    QVERIFY(test.showMenu());
    QImage picture;
    QImage panel;
    ModalDriver driver([&](QWidget* modal) {
        picture = test.app().graph().picture();
        panel = modal->findChild<BevelPanel*>()->grab().toImage();
        modal->close();
    });
    test.press("Panel_le1", Qt::RightButton);
    QVERIFY(driver.ran());

    // Beside every scale label both scale lines run unbroken, and the label is drawn whole in
    // its margin: left of the left line, or before the picture's edge.
    for (const int top : {15, 93, 171, 249, 327}) {
        bool drawn = false;
        for (int y = top; y < top + 12; ++y) {
            if (y >= 20 && y <= 335) {
                QCOMPARE(picture.pixelColor(20, y), QColor(Qt::black));
                QCOMPARE(picture.pixelColor(530, y), QColor(Qt::black));
            }
            QCOMPARE(picture.pixelColor(19, y), QColor(Qt::white));
            QCOMPARE(picture.pixelColor(549, y), QColor(Qt::white));
            for (int x = 533; x < 549; ++x)
                drawn = drawn || picture.pixelColor(x, y) != QColor(Qt::white);
        }
        QVERIFY2(drawn, qPrintable(QString::number(top)));
    }

    // Panel_graph: a raised bevel of 3, a flat border of 5, a lowered bevel of 3, the picture.
    const int y = 60;
    const QColor highlight(255, 255, 255), shadow(128, 128, 128);
    const QColor flat = panel.pixelColor(3, y);
    QVERIFY(flat != highlight && flat != shadow);
    for (int x = 0; x < 12; ++x)
        QCOMPARE(panel.pixelColor(x, y), x < 3    ? highlight
                                         : x < 8  ? flat
                                         : x < 11 ? shadow
                                                  : QColor(Qt::white));
    QVERIFY(!watchdog.fired());
}

void DesktopBehaviourTest::standardButtonsAreJapanese() {
    TestApplication test;
    QMessageBox box(QMessageBox::Information, {}, {}, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

QTEST_MAIN(DesktopBehaviourTest)
#include "desktop_behaviour_test.moc"
