// What a learner meets on a real desktop: graph labels that keep the scale lines and the picture
// whole, and the toolkit's buttons in Japanese.
#include "history/graph_window.h"
#include "history/score_file.h"
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
    void graphLabelsLeaveTheLinesAndThePictureWhole();
    void standardButtonsAreJapanese();
};

void DesktopBehaviourTest::graphLabelsLeaveTheLinesAndThePictureWhole() {
    ModalWatchdog watchdog;
    TestApplication test;
    ScoreKey key = scoreKeyFor(0, "lesson1");
    key.speed = 252;  // both dots at y 136, between the labels
    key.accuracy = 63;
    for (int i = 0; i < 2; ++i)
        QCOMPARE(test.app().context().scores.AppendScore(key).result, 1);
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
            const bool onLines = y >= 20 && y <= 335;
            QVERIFY(!onLines || picture.pixelColor(20, y) == Qt::black);
            QVERIFY(!onLines || picture.pixelColor(530, y) == Qt::black);
            QCOMPARE(picture.pixelColor(19, y), QColor(Qt::white));
            QCOMPARE(picture.pixelColor(549, y), QColor(Qt::white));
            for (int x = 533; x < 549; ++x)
                drawn = drawn || picture.pixelColor(x, y) != Qt::white;
        }
        QVERIFY2(drawn, qPrintable(QString::number(top)));
    }
    // Panel_graph: a raised bevel of 3, a flat border of 5, a lowered bevel of 3, the picture.
    const QColor flat = panel.pixelColor(3, 60);
    QVERIFY(flat != QColor(255, 255, 255) && flat != QColor(128, 128, 128));
    for (int x = 0; x < 12; ++x)
        QCOMPARE(panel.pixelColor(x, 60), x < 3    ? QColor(255, 255, 255)
                                          : x < 8  ? flat
                                          : x < 11 ? QColor(128, 128, 128)
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
