#include "platform/desktop_keyboard_state.h"
#include "drill/drill_window.h"
#include "ui/support/test_application.h"

#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

// Without an X display (the offscreen platform) Caps Lock is known only from its key events.
class DesktopKeyboardStateTest : public QObject {
    Q_OBJECT

private slots:
    void tracksCapsLockFromKeyEvents();
    void theDrillWindowReportsCapsLock();
};

void DesktopKeyboardStateTest::tracksCapsLockFromKeyEvents() {
    const DesktopKeyboardState state;
    QCOMPARE(state.capsLockState(), std::uint16_t{0});
    state.trackCapsLockKey(true);
    QCOMPARE(state.capsLockState(), std::uint16_t(KeyboardState::kToggled | KeyboardState::kHeld));
    state.trackCapsLockKey(true);  // auto-repeat while held changes nothing
    QCOMPARE(state.capsLockState(), std::uint16_t(KeyboardState::kToggled | KeyboardState::kHeld));
    state.trackCapsLockKey(false);
    QCOMPARE(state.capsLockState(), KeyboardState::kToggled);
    state.trackCapsLockKey(true);
    state.trackCapsLockKey(false);
    QCOMPARE(state.capsLockState(), std::uint16_t{0});
}

void DesktopKeyboardStateTest::theDrillWindowReportsCapsLock() {
    TestApplication test;
    QVERIFY(test.showMenu());
    test.press("Panel_le1");
    DrillWindow& drill = test.app().drill();
    QTest::keyPress(drill.focusWidget(), Qt::Key_CapsLock);
    QCOMPARE(test.app().context().keyboardState.capsLockState(),
             std::uint16_t(KeyboardState::kToggled | KeyboardState::kHeld));
    QTest::keyRelease(drill.focusWidget(), Qt::Key_CapsLock);
    QCOMPARE(test.app().context().keyboardState.capsLockState(), KeyboardState::kToggled);
}

QTEST_MAIN(DesktopKeyboardStateTest)
#include "desktop_keyboard_state_test.moc"
