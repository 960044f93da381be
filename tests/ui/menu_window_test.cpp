#include "menu/menu_window.h"
#include "drill/drill_window.h"
#include "menu/version_dialog.h"
#include "platform/text.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"
#include "widgets/bevel_panel_widget.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

BevelPanel* panel(TestApplication& test, const char* name) {
    return test.app().menu().findChild<BevelPanel*>(QString::fromLatin1(name));
}

// A problem set of two items in tdcs/<name>.tdc.
void writeProblemSet(TestApplication& test, const QString& name) {
    QDir(test.path({})).mkdir(QStringLiteral("tdcs"));
    test.writeFile(QStringLiteral("tdcs/") + name + QStringLiteral(".tdc"),
                   "Amount=2\r\nText[1]=asdf\r\nText[2]=jkl;\r\nComment[2]=" +
                       QByteArray::fromStdString(utf8ToCp932("ホーム")) + "\r\n");
}

}  // namespace

class MenuWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutColoursAndPlace();
    void problemSetCaptionOnActivation();
    void problemSetStartsFromTheMenu();
    void problemSetThatCannotBeRead();
    void versionDialog();
    void everyClosePathSavesTheSettings();
};

void MenuWindowTest::layoutColoursAndPlace() {
    TestApplication test;
    MenuWindow& menu = test.app().menu();
    QCOMPARE(menu.windowTitle(), QStringLiteral("ケストラムLite"));
    // Outer height 452, centred on the screen.
    QCOMPARE(menu.size(), QSize(555, 427));
    QCOMPARE(menu.minimumSize(), menu.maximumSize());
    const ScreenMetrics screen = test.app().context().screen.metrics();
    QCOMPARE(menu.pos(), QPoint((screen.width - 561) / 2, (screen.height - 452) / 2));
    QCOMPARE(panel(test, "Panel_title")->caption(), QStringLiteral("ケストラムLite"));

    QCOMPARE(panel(test, "Panel_le0")->color(), QColor(Qt::white));
    QCOMPARE(panel(test, "Panel_le1")->color(), QColor(241, 255, 241));
    QCOMPARE(panel(test, "Panel_le2")->color(), QColor(238, 255, 238));
    QCOMPARE(panel(test, "Panel_le5")->color(), QColor(196, 255, 196));
    QCOMPARE(panel(test, "Panel_le6")->color(), QColor(182, 255, 182));
    QCOMPARE(panel(test, "Panel_le3")->geometry(), QRect(24, 184, 169, 33));
    QCOMPARE(panel(test, "Panel_le3")->caption(), QStringLiteral("LESSON &3"));

    // The accelerator buttons are enabled but out of sight below the client area.
    for (const char* name : {"Button1", "Button_3", "Button_u"}) {
        auto* button = menu.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(button != nullptr);
        QVERIFY(button->isEnabled());
        QVERIFY(button->y() >= menu.height());
    }
    QVERIFY(menu.findChild<QPushButton*>(QStringLiteral("BitBtn_close"))->geometry().bottom() <
            menu.height());
}

// The caption is cut to fit only when the menu is activated; byte 11 would be the second half of
// ド, so 9 bytes are kept.
void MenuWindowTest::problemSetCaptionOnActivation() {
    const QByteArray name = "abcdefghi" + QByteArray::fromStdString(utf8ToCp932("ドリル"));
    TestApplication test("1,0,0,1,0,5,0\r\n" + name + "\r\n");
    QCOMPARE(panel(test, "Panel_tdc_file")->caption(), QStringLiteral("abcdefghiドリル"));
    QVERIFY(test.showMenu());
    QCOMPARE(panel(test, "Panel_tdc_file")->caption(), QStringLiteral("abcdefghi... (&U)"));
}

void MenuWindowTest::problemSetStartsFromTheMenu() {
    ModalWatchdog watchdog;
    TestApplication test("1,0,0,1,0,5,0\r\nsample\r\n");
    writeProblemSet(test, QStringLiteral("sample"));
    QVERIFY(test.showMenu());
    DrillWindow& drill = test.app().drill();

    // Alt+U works like a left click on the problem-set panel.
    QTest::keyClick(&test.app().menu(), Qt::Key_U, Qt::AltModifier);
    QTRY_VERIFY(drill.isVisible());
    QCOMPARE(drill.lesson_no(), 42);
    QCOMPARE(drill.windowTitle(), QStringLiteral("ケストラムLite   sample"));
    QCOMPARE(test.app().context().problemSetLesson.words, (std::vector<Bytes>{"asdf", "jkl;"}));

    QTest::keyClick(drill.focusWidget(), 'x');
    const std::string target = drill.engine().state().target;
    QVERIFY2(target == "asdf" || target == "jkl;", target.c_str());
    QCOMPARE(drill.engine().view().Label_counter, std::string("あと 5回"));
    QVERIFY(!watchdog.fired());
}

void MenuWindowTest::problemSetThatCannotBeRead() {
    TestApplication test("1,0,0,1,0,5,0\r\nmissing\r\n");
    QVERIFY(test.showMenu());
    test.press("Panel_tdc_file");
    const std::vector<std::string> texts = test.messages().shownTexts();
    QCOMPARE(texts.size(), std::size_t{2});
    QCOMPARE(texts[0], std::string("ファイルが存在しません"));
    QVERIFY(QString::fromStdString(texts[1]).endsWith(QStringLiteral("tdcs/missing.tdc")));
    QVERIFY(!test.app().drill().isVisible());
    QVERIFY(test.app().menu().isVisible());
}

void MenuWindowTest::versionDialog() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    for (int showing = 0; showing < 2; ++showing) {
        QString label;
        bool hasIcon = false;
        ModalDriver driver([&](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("バージョン情報"));
            QCOMPARE(modal->size(), QSize(302, 151));
            label = test.app().version().versionText();
            for (QLabel* image : modal->findChildren<QLabel*>()) {
                if (!image->pixmap().isNull()) hasIcon = image->pixmap().size() == QSize(32, 32);
            }
            if (showing == 0) {
                TestApplication::click(modal, "BitBtn1");
            } else {
                modal->close();
            }
        });
        TestApplication::click(&test.app().menu(), "Button_version");
        QVERIFY(driver.ran());
        QCOMPARE(label, QStringLiteral("ケストラムLite Ver 2.01"));
        QVERIFY(hasIcon);
    }
    QVERIFY(!watchdog.fired());
}

void MenuWindowTest::everyClosePathSavesTheSettings() {
    const QByteArray ini = "0,1,2,0,1,50,0\r\nsample\r\n";
    {
        TestApplication test(ini);
        QVERIFY(test.showMenu());
        TestApplication::click(&test.app().menu(), "BitBtn_close");
        QCOMPARE(test.readFile("kestruml.ini"), ini);
    }
    {
        TestApplication test(ini);
        QVERIFY(test.showMenu());
        test.app().menu().close();  // the close box
        QCOMPARE(test.readFile("kestruml.ini"), ini);
    }
    {
        TestApplication test(ini);
        QVERIFY(test.showMenu());
        test.press("Panel_le2");
        DrillWindow& drill = test.app().drill();
        QTest::keyClick(drill.focusWidget(), ' ');
        QTest::keyClick(drill.focusWidget(), drill.engine().state().target.at(0));
        drill.close();  // the drill's close box closes the hidden menu too, recording nothing
        QVERIFY(!test.app().menu().isVisible());
        QCOMPARE(test.readFile("kestruml.ini"), ini);
        QVERIFY(test.readFile("score.dat").isEmpty());
    }
}

QTEST_MAIN(MenuWindowTest)
#include "menu_window_test.moc"
