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
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

BevelPanel* panel(TestApplication& test, const char* name) {
    return test.app().menu().findChild<BevelPanel*>(QString::fromLatin1(name));
}

}  // namespace

class MenuWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutColoursAndPlace();
    void problemSetCaptionOnActivation();
    void problemSetFromTheMenu();
    void versionDialog();
    void closingFromTheDrillRecordsNothing();
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
    const QColor colours[] = {Qt::white,       {241, 255, 241}, {238, 255, 238}, {224, 255, 224},
                              {210, 255, 210}, {196, 255, 196}, {182, 255, 182}};
    for (int n = 0; n < 7; ++n) {
        const BevelPanel* lesson = panel(test, qPrintable(QStringLiteral("Panel_le%1").arg(n)));
        QCOMPARE(lesson->color(), colours[n]);
        QCOMPARE(lesson->geometry(), QRect(24, 64 + 40 * n, 169, 33));
        QCOMPARE(lesson->caption(), QStringLiteral("LESSON &%1").arg(n));
    }
    // The accelerator buttons are enabled but out of sight below the client area.
    for (const char* name : {"Button1", "Button_3", "Button_u"}) {
        auto* button = menu.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(button->isEnabled());
        QVERIFY(button->y() >= menu.height());
    }
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

// A set that cannot be read keeps the menu up with the file's path; once it is there, Alt+U
// works like a left click on the panel.
void MenuWindowTest::problemSetFromTheMenu() {
    ModalWatchdog watchdog;
    TestApplication test("1,0,0,1,0,5,0\r\nsample\r\n");
    QVERIFY(test.showMenu());
    test.press("Panel_tdc_file");
    const std::vector<std::string> texts = test.messages().shownTexts();
    QCOMPARE(texts.size(), std::size_t{2});
    QCOMPARE(texts[0], std::string("ファイルが存在しません"));
    QVERIFY(QString::fromStdString(texts[1]).endsWith(QStringLiteral("tdcs/sample.tdc")));
    QVERIFY(test.app().menu().isVisible());

    QDir(test.path({})).mkdir(QStringLiteral("tdcs"));
    test.writeFile(QStringLiteral("tdcs/sample.tdc"),
                   "Amount=2\r\nText[1]=asdf\r\nText[2]=jkl;\r\nComment[2]=" +
                       QByteArray::fromStdString(utf8ToCp932("ホーム")) + "\r\n");
    DrillWindow& drill = test.app().drill();
    QTest::keyClick(&test.app().menu(), Qt::Key_U, Qt::AltModifier);
    QTRY_VERIFY(drill.isVisible());
    QCOMPARE(drill.windowTitle(), QStringLiteral("ケストラムLite   sample"));
    QTest::keyClick(drill.focusWidget(), 'x');
    const std::string target = drill.engine().state().target;
    QVERIFY2(target == "asdf" || target == "jkl;", target.c_str());
    QCOMPARE(drill.engine().view().Label_counter, std::string("あと 5回"));
    QVERIFY(!watchdog.fired());
}

void MenuWindowTest::versionDialog() {
    ModalWatchdog watchdog;
    TestApplication test;
    QVERIFY(test.showMenu());
    bool hasIcon = false;
    ModalDriver driver([&](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(modal->size(), QSize(302, 151));
        for (QLabel* image : modal->findChildren<QLabel*>())
            hasIcon = hasIcon || image->pixmap().size() == QSize(32, 32);
        TestApplication::click(modal, "BitBtn1");
    });
    TestApplication::click(&test.app().menu(), "Button_version");
    QVERIFY(driver.ran());
    QCOMPARE(test.app().version().versionText(), QStringLiteral("ケストラムLite Ver 2.01"));
    QVERIFY(hasIcon);
    QVERIFY(!watchdog.fired());
}

// The drill's close box closes the hidden menu too, which saves the settings unchanged and
// records no run.
void MenuWindowTest::closingFromTheDrillRecordsNothing() {
    const QByteArray ini = "0,1,2,0,1,50,0\r\nsample\r\n";
    TestApplication test(ini);
    QVERIFY(test.showMenu());
    test.press("Panel_le2");
    DrillWindow& drill = test.app().drill();
    QTest::keyClick(drill.focusWidget(), ' ');
    QTest::keyClick(drill.focusWidget(), drill.engine().state().target.at(0));
    drill.close();
    QVERIFY(!test.app().menu().isVisible());
    QCOMPARE(test.readFile("kestruml.ini"), ini);
    QVERIFY(test.readFile("score.dat").isEmpty());
}

QTEST_MAIN(MenuWindowTest)
#include "menu_window_test.moc"
