#include "problem_sets/problem_set_window.h"
#include "drill/drill_window.h"
#include "menu/menu_window.h"
#include "menu/version_dialog.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

class ProblemSetWindowTest : public QObject {
    Q_OBJECT

private slots:
    void madeChosenAndPractisedFromTheMenu();
};

// 問題集設定 on the menu: a new set of two items, a refused text shown beside its cell and
// mended, the set chosen; then the menu starts it, and the run lands in score.dat under its name.
void ProblemSetWindowTest::madeChosenAndPractisedFromTheMenu() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    QString refusal, current;
    ModalDriver editor([&](QWidget* window) {
        window->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("mine"));
        TestApplication::click(window, "newButton");
        window->findChild<QLineEdit*>(QStringLiteral("titleEdit"))->setText(QStringLiteral("私の"));
        auto* items = window->findChild<QTableWidget*>(QStringLiteral("itemTable"));
        TestApplication::click(window, "addRowButton");
        TestApplication::click(window, "addRowButton");
        items->item(0, 0)->setText(QStringLiteral("fj fj!"));
        items->item(0, 1)->setText(QStringLiteral("人差し指"));
        refusal = items->item(0, 2)->text();
        items->item(0, 0)->setText(QStringLiteral("fj fj"));
        items->item(1, 0)->setText(QStringLiteral("dk"));
        TestApplication::click(window, "saveButton");
        TestApplication::click(window, "chooseButton");
        current = window->findChild<QLabel*>(QStringLiteral("currentLabel"))->text();
        TestApplication::click(window, "closeButton");
    });
    TestApplication::click(&test.app().menu(), "Button_establish");
    QVERIFY(editor.ran());
    QVERIFY(!refusal.isEmpty());
    QCOMPARE(current, QStringLiteral("練習する問題集: mine"));
    QVERIFY(test.messages().shown().empty());
    QCOMPARE(test.readFile("kestruml.ini"), QByteArray("1,0,0,1,0,5,0\r\nmine\r\n"));
    auto* panel = test.app().menu().findChild<BevelPanel*>(QStringLiteral("Panel_tdc_file"));
    QCOMPARE(panel->caption(), QStringLiteral("mine (&U)"));

    QVERIFY(test.showMenu());
    test.press("Panel_tdc_file");
    QVERIFY(test.app().drill().isVisible());
    ModalDriver result([&](QWidget* modal) { TestApplication::click(modal, "Button_go_menu"); });
    const RunFigures run = test.typeRun(200, 0, [&] { return result.ran(); });
    QVERIFY(result.ran());
    QVERIFY(test.app().menu().isVisible());
    // kind 1, the name's length and bytes, one attempt of speed (2 bytes) and accuracy.
    const QByteArray history = test.readFile("score.dat");
    QCOMPARE(history.left(7), QByteArray("\x01\x04mine\x01", 7));
    QCOMPARE(history.size(), 10);
    QCOMPARE((static_cast<quint8>(history[7]) << 8) | static_cast<quint8>(history[8]), run.speed());
    QCOMPARE(test.messages().shown().size(), size_t{0});

    QCOMPARE(test.app().version().dataDirText(),
             QStringLiteral("データの保存先: ") + QDir(test.path({})).path());
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(ProblemSetWindowTest)
#include "problem_set_window_test.moc"
