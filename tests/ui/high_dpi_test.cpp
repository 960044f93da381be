// On a scaled display the toolkit scales every window as a whole: the program sees the screen
// in logical pixels at 96 dots per inch, so a screen of 1280 pixels at twice the scale is one of
// 640, where only the small keyboard fits.
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QApplication>
#include <QRadioButton>
#include <QTemporaryFile>
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

int main(int argc, char* argv[]) {
    QTemporaryFile screens;
    if (!screens.open()) return 1;
    screens.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1280,
                      "height": 1024, "logicalDpi": 96}]})");
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toUtf8());
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "high_dpi_test.moc"
