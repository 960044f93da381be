// On a scaled display the toolkit scales every window as a whole: the program sees the screen
// in logical pixels at 96 dots per inch, so a screen of 1280 pixels at twice the scale (as ctest
// runs this test) is one of 640, where only the small keyboard fits.
#include "menu/menu_window.h"
#include "ui/support/modal_driver.h"
#include "ui/support/test_application.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

class HighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheSmallKeyboardIsOffered();
    void everyWindowOfTheMenuFitsTheScreen();
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

// The menu and every window it opens lie whole on the screen of 640 x 512 pixels, centred, with
// every button inside the client area.
void HighDpiTest::everyWindowOfTheMenuFitsTheScreen() {
    TestApplication test("1,0,0,1,0,5,2\r\n");
    QVERIFY(test.showMenu());
    const QRect screen(0, 0, 640, 512);
    const auto centred = [&](const QRect& frame) {
        return std::abs(frame.left() - (640 - frame.width()) / 2) <= 1 &&
               std::abs(frame.top() - (512 - frame.height()) / 2) <= 1;
    };
    QVERIFY(screen.contains(test.app().menu().frameGeometry()));
    QVERIFY(centred(test.app().menu().frameGeometry()));
    for (const char* opener :
         {"Button_establish", "Button_progress", "Button_option", "Button_version"}) {
        QRect frame;
        QStringList outside;
        ModalDriver driver([&](QWidget* dialog) {
            // Placed again once the window system reports the frame, as it is exposed.
            if (QTest::qWaitForWindowExposed(dialog)) QCoreApplication::processEvents();
            frame = dialog->frameGeometry();
            for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
                const QRect place(button->mapTo(dialog, QPoint(0, 0)), button->size());
                if (button->isVisibleTo(dialog) && !dialog->rect().contains(place))
                    outside << button->text();
            }
            dialog->close();
        });
        TestApplication::click(&test.app().menu(), opener);
        QVERIFY2(driver.ran(), opener);
        QVERIFY2(screen.contains(frame) && centred(frame),
                 qPrintable(QStringLiteral("%1 %2,%3 %4x%5")
                                .arg(QString::fromLatin1(opener))
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())));
        QCOMPARE(outside, QStringList{});
    }
}

QTEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
