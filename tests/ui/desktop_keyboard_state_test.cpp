#include "platform/desktop_keyboard_state.h"
#include "drill/drill_window.h"
#include "ui/support/test_application.h"

#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

// Without an X display (the offscreen platform) Caps Lock is known only from its key events,
// which reach it through the drill window.
class DesktopKeyboardStateTest : public QObject {
    Q_OBJECT

private slots:
    void tracksCapsLockFromTheDrillWindowsKeys();
};

void DesktopKeyboardStateTest::tracksCapsLockFromTheDrillWindowsKeys() {
    TestApplication test;
    QVERIFY(test.showMenu());
    test.press("Panel_le1");
    QWidget* drill = test.app().drill().focusWidget();
    const KeyboardState& state = test.app().context().keyboardState;
    constexpr auto kOnAndHeld = std::uint16_t(KeyboardState::kToggled | KeyboardState::kHeld);
    QCOMPARE(state.capsLockState(), std::uint16_t{0});
    QTest::keyPress(drill, Qt::Key_CapsLock);
    QCOMPARE(state.capsLockState(), kOnAndHeld);
    QTest::keyPress(drill, Qt::Key_CapsLock);  // auto-repeat while held changes nothing
    QCOMPARE(state.capsLockState(), kOnAndHeld);
    QTest::keyRelease(drill, Qt::Key_CapsLock);
    QCOMPARE(state.capsLockState(), KeyboardState::kToggled);
    QTest::keyClick(drill, Qt::Key_CapsLock);
    QCOMPARE(state.capsLockState(), std::uint16_t{0});
}

QTEST_MAIN(DesktopKeyboardStateTest)
#include "desktop_keyboard_state_test.moc"
