#include "keyboard/options_dialog.h"
#include "drill/drill_window.h"
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

QAbstractButton* titled(QWidget* dialog, const char* text) {
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == QString::fromUtf8(text)) return button;
    }
    qFatal("no button %s", text);
}

// Opens the options dialog from the menu and lets `act` change and leave it.
void withOptions(TestApplication& test, const std::function<void(QWidget*)>& act) {
    ModalDriver driver(act);
    TestApplication::click(&test.app().menu(), "Button_option");
    QVERIFY(driver.ran());
    QVERIFY(!test.app().options().isVisible());
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showingFillsTheControlsAndFitsTheScreen();
    void cancelledThenChangedOptionsRuleTheNextLesson();
};

// The offscreen screen is 800 pixels wide: only the small and medium keyboards fit.
void OptionsDialogTest::showingFillsTheControlsAndFitsTheScreen() {
    ModalWatchdog watchdog;
    TestApplication test("0,2,1,1,2,5,2\r\n");
    QVERIFY(test.showMenu());
    withOptions(test, [](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("オプション"));
        // The layout's size, widened only as much as the installed fonts need so that no
        // caption or access key is cut off.
        QCOMPARE(dialog->height(), 331);
        QVERIFY(dialog->width() >= 377);
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (qobject_cast<QPushButton*>(button) != nullptr) continue;
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
            const QRect inDialog(button->mapTo(dialog, QPoint(0, 0)), button->size());
            QVERIFY2(dialog->rect().contains(inDialog), qPrintable(button->text()));
        }
        struct Shown {
            const char* text;
            bool checked, enabled;
        };
        for (const Shown s :
             {Shown{"大文字と小文字を区別する(&G)", false, true},
              Shown{"左右のシフトを区別する(&R)", true, true},
              Shown{"間違えたときだけ表示(&E)", true, true}, Shown{"なし(&X)", true, true},
              Shown{"すべて大文字で表示(&C)", true, true}, Shown{"小(&S)", false, true},
              Shown{"中    (800*600以上)(&M)", true, true},
              Shown{"大    (1024*768以上)(&L)", false, false},
              Shown{"特大 (1280*1024以上)(&K)", false, false}}) {
            QCOMPARE(titled(dialog, s.text)->isChecked(), s.checked);
            QCOMPARE(titled(dialog, s.text)->isEnabled(), s.enabled);
        }
        QCOMPARE(dialog->focusWidget(), titled(dialog, "キャンセル"));
        TestApplication::click(dialog, "BitBtn2");
    });
    QVERIFY(!watchdog.fired());
}

// Cancel and the close box write nothing; OK writes every control, the next lesson obeys it and
// the file follows when the menu closes.
void OptionsDialogTest::cancelledThenChangedOptionsRuleTheNextLesson() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    auto change = [](QWidget* dialog) {
        for (const char* text : {"表示しない(&N)", "エラー音のみ(&O)", "すべて大文字で表示(&C)",
                                 "中    (800*600以上)(&M)"})
            titled(dialog, text)->setChecked(true);
        titled(dialog, "大文字と小文字を区別する(&G)")->setChecked(false);
        titled(dialog, "左右のシフトを区別する(&R)")->setChecked(false);
    };
    const Settings before = test.app().context().settings;
    withOptions(test, [&](QWidget* dialog) {
        change(dialog);
        TestApplication::click(dialog, "BitBtn2");
    });
    withOptions(test, [&](QWidget* dialog) {
        change(dialog);
        dialog->close();
    });
    QCOMPARE(test.app().context().settings, before);
    withOptions(test, [&](QWidget* dialog) {
        change(dialog);
        TestApplication::click(dialog, "BitBtn1");
    });

    test.press("Panel_le1");
    DrillWindow& drill = test.app().drill();
    QVERIFY(QTest::qWaitForWindowActive(&drill));
    QCOMPARE(drill.frameGeometry().size(), QSize(715, 505));
    // Capitals shown; the next key is judged without regard to case.
    QTest::keyClick(drill.focusWidget(), ' ');
    QCOMPARE(drill.engine().state().target, std::string("FFJJ FFJJ FJFJ FJFJ"));
    QTest::keyClick(drill.focusWidget(), 'f');
    QCOMPARE(drill.engine().state().position, 2);
    TestApplication::click(&drill, "Button_go_menu");
    QTRY_VERIFY(test.app().menu().isVisible());

    QVERIFY(!test.exists("kestruml.ini"));
    test.app().menu().close();
    QCOMPARE(test.readFile("kestruml.ini"), QByteArray("0,3,1,0,1,5,3\r\n"));
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
