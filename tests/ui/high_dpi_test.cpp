// On a scaled display the toolkit scales every window as a whole: the program sees the screen
// in logical pixels at 96 dots per inch, so a screen of 1280 pixels at twice the scale (as ctest
// runs this test) is one of 640, where only the small keyboard fits.
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QRadioButton>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

class HighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheSmallKeyboardIsOffered();
};

void HighDpiTest::onlyTheSmallKeyboardIsOffered() {
    TestApplication test("1,0,0,1,0,5,2\r\n");
    QVERIFY(test.showMenu());
    QStringList offered;
    ModalDriver driver([&](QWidget* dialog) {
        const auto* sizes = dialog->findChild<QWidget*>(QStringLiteral("GroupBox1"));
        for (const QRadioButton* size : sizes->findChildren<QRadioButton*>()) {
            if (size->isEnabled()) offered << size->text();
        }
        dialog->close();
    });
    TestApplication::click(&test.app().menu(), "Button_option");
    QVERIFY(driver.ran());
    QCOMPARE(offered, QStringList{QStringLiteral("小(&S)")});
}

QTEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
