// What the end-to-end suite cannot read off the screen: the problem-set window's reason beside a
// refused item, and the version dialog naming the folder where the sets and the history live.
#include "menu/menu_window.h"
#include "menu/version_dialog.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

class ProblemSetWindowTest : public QObject {
    Q_OBJECT

private slots:
    void refusalShownBesideTheCellAndTheDataFolderNamed();
};

void ProblemSetWindowTest::refusalShownBesideTheCellAndTheDataFolderNamed() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    QStringList reasons;
    ModalDriver editor([&](QWidget* window) {
        window->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("mine"));
        TestApplication::click(window, "newButton");
        TestApplication::click(window, "addRowButton");
        auto* items = window->findChild<QTableWidget*>(QStringLiteral("itemTable"));
        for (const QString& text : {QStringLiteral("fj fj!"), QStringLiteral("fj fj")}) {
            items->item(0, 0)->setText(text);
            reasons << items->item(0, 2)->text();
        }
        TestApplication::click(window, "saveButton");
        TestApplication::click(window, "closeButton");
    });
    TestApplication::click(&test.app().menu(), "Button_establish");
    QVERIFY(editor.ran());
    QCOMPARE(reasons.size(), 2);
    QVERIFY(!reasons[0].isEmpty());
    QVERIFY(reasons[1].isEmpty());
    QVERIFY(test.messages().shown().empty());
    QCOMPARE(test.app().version().dataDirText(),
             QStringLiteral("データの保存先: ") + QDir(test.path({})).path());
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(ProblemSetWindowTest)
#include "problem_set_window_test.moc"
