#include "keyboard/options_dialog.h"
#include "drill/drill_window.h"
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

template <typename Button>
Button* buttonTitled(QWidget* dialog, const char* text) {
    for (Button* button : dialog->findChildren<Button*>()) {
        if (button->text() == QString::fromUtf8(text)) return button;
    }
    qWarning("no button %s", text);
    return nullptr;
}

QRadioButton* radio(QWidget* dialog, const char* text) {
    return buttonTitled<QRadioButton>(dialog, text);
}

QCheckBox* check(QWidget* dialog, const char* text) {
    return buttonTitled<QCheckBox>(dialog, text);
}

// Opens the options dialog from the menu, lets `edit` change it, then leaves by `button`.
void editOptions(TestApplication& test, const std::function<void(QWidget*)>& edit,
                 const char* button) {
    ModalDriver driver([&](QWidget* modal) {
        edit(modal);
        TestApplication::click(modal, button);
    });
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
    TestApplication test("0,2,1,0,2,5,2\r\n");
    QVERIFY(test.showMenu());
    editOptions(
        test,
        [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("オプション"));
            // The layout's size, widened only as much as the installed fonts need so that no
            // caption or access key is cut off.
            QCOMPARE(dialog->height(), 331);
            QVERIFY(dialog->width() >= 377);
            QList<QAbstractButton*> items;
            for (QRadioButton* button : dialog->findChildren<QRadioButton*>())
                items.append(button);
            for (QCheckBox* button : dialog->findChildren<QCheckBox*>())
                items.append(button);
            for (QAbstractButton* button : items) {
                QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
                const QRect inDialog(button->mapTo(dialog, QPoint(0, 0)), button->size());
                QVERIFY2(dialog->rect().contains(inDialog), qPrintable(button->text()));
            }
            QVERIFY(!check(dialog, "大文字と小文字を区別する(&G)")->isChecked());
            QVERIFY(!check(dialog, "左右のシフトを区別する(&R)")->isChecked());
            QVERIFY(radio(dialog, "間違えたときだけ表示(&E)")->isChecked());
            QVERIFY(radio(dialog, "なし(&X)")->isChecked());
            QVERIFY(radio(dialog, "すべて大文字で表示(&C)")->isChecked());
            QRadioButton* medium = radio(dialog, "中    (800*600以上)(&M)");
            QVERIFY(medium->isChecked());
            QVERIFY(medium->isEnabled());
            QVERIFY(radio(dialog, "小(&S)")->isEnabled());
            QVERIFY(!radio(dialog, "大    (1024*768以上)(&L)")->isEnabled());
            QVERIFY(!radio(dialog, "特大 (1280*1024以上)(&K)")->isEnabled());
            QCOMPARE(dialog->focusWidget(), buttonTitled<QPushButton>(dialog, "キャンセル"));
        },
        "BitBtn2");
    QVERIFY(!watchdog.fired());
}

// Cancel and the close box write nothing; OK writes every control, the next lesson obeys it and
// the file follows when the menu closes.
void OptionsDialogTest::cancelledThenChangedOptionsRuleTheNextLesson() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    auto change = [](QWidget* dialog) {
        radio(dialog, "表示しない(&N)")->setChecked(true);
        radio(dialog, "エラー音のみ(&O)")->setChecked(true);
        radio(dialog, "すべて大文字で表示(&C)")->setChecked(true);
        check(dialog, "大文字と小文字を区別する(&G)")->setChecked(false);
        check(dialog, "左右のシフトを区別する(&R)")->setChecked(false);
        radio(dialog, "中    (800*600以上)(&M)")->setChecked(true);
    };
    const Settings before = test.app().context().settings;
    editOptions(test, change, "BitBtn2");
    QCOMPARE(test.app().context().settings, before);
    ModalDriver closeBox([&](QWidget* dialog) {
        change(dialog);
        dialog->close();
    });
    TestApplication::click(&test.app().menu(), "Button_option");
    QVERIFY(closeBox.ran());
    QCOMPARE(test.app().context().settings, before);

    editOptions(test, change, "BitBtn1");
    Settings expected = before;
    expected.distinct = 0;
    expected.guide = 3;
    expected.letter_type = 1;
    expected.distinct_shift = 0;
    expected.sound = 1;
    expected.keyboard_size = 3;
    QCOMPARE(test.app().context().settings, expected);

    test.press("Panel_le1");
    QVERIFY(QTest::qWaitForWindowActive(&test.app().drill()));
    QCOMPARE(test.app().drill().frameGeometry().size(), QSize(715, 505));
    // Capitals shown; the next key is judged without regard to case.
    QTest::keyClick(test.app().drill().focusWidget(), ' ');
    QCOMPARE(test.app().drill().engine().state().target, std::string("FFJJ FFJJ FJFJ FJFJ"));
    QTest::keyClick(test.app().drill().focusWidget(), 'f');
    QCOMPARE(test.app().drill().engine().state().position, 2);
    TestApplication::click(&test.app().drill(), "Button_go_menu");
    QTRY_VERIFY(test.app().menu().isVisible());

    QVERIFY(!test.exists("kestruml.ini"));
    test.app().menu().close();
    QCOMPARE(test.readFile("kestruml.ini"), QByteArray("0,3,1,0,1,5,3\r\n"));
    QVERIFY(!watchdog.fired());
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
