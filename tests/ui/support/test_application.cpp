#include "ui/support/test_application.h"

#include "drill/drill_host.h"
#include "drill/drill_window.h"
#include "menu/menu_window.h"

#include <QAbstractButton>
#include <QFile>
#include <QKeyEvent>
#include <QTest>

namespace kestrum::testing {

TestApplication::TestApplication(const QByteArray& ini) {
    if (!ini.isNull()) writeFile(QStringLiteral("kestruml.ini"), ini);
    ProgramDirResult programDir{dir_.path().toStdString(), std::nullopt};
    app_ =
        std::make_unique<Application>(programDir, ServiceOverrides{&messages_, &clock_, &random_});
}

QByteArray TestApplication::readFile(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestApplication::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

bool TestApplication::showMenu() {
    app_->showMenu();
    return QTest::qWaitForWindowActive(&app_->menu());
}

void TestApplication::press(const char* objectName, Qt::MouseButton button) {
    auto* control = app_->menu().findChild<QWidget*>(QString::fromLatin1(objectName));
    QVERIFY2(control != nullptr, objectName);
    QTest::mouseClick(control, button, Qt::NoModifier, QPoint(10, 10));
}

void TestApplication::click(QWidget* window, const char* objectName) {
    auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(objectName));
    QVERIFY2(button != nullptr, objectName);
    button->click();
}

void TestApplication::pressKey(QWidget* window, KeyPosition key, bool shift) {
    QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, shift ? Qt::ShiftModifier : Qt::NoModifier,
                    XKeyPositions::scanCodeOf(key), 0, 0);
    QApplication::sendEvent(window, &event);
}

RunFigures TestApplication::typeRun(int stepMs, int wrongKeys,
                                    const std::function<bool()>& finished) {
    DrillWindow& drill = app_->drill();
    const DrillState& state = drill.engine().state();
    RunFigures figures;
    auto wait = [&](int ms) {
        clock_.advance(static_cast<std::uint32_t>(ms));
        figures.elapsed += static_cast<std::uint32_t>(ms);
    };
    auto judged = [&](char key) {
        if (figures.keys++ > 0) wait(stepMs);
        QTest::keyClick(drill.focusWidget(), key);
    };
    QTest::keyClick(drill.focusWidget(), ' ');  // the start key, not judged
    while (!finished()) {
        if (!QTest::qWaitFor([&] { return finished() || state.accept_key == 1; }, 60000)) {
            qWarning("the drill stopped accepting keys");
            return figures;
        }
        if (finished()) break;
        const char expected = state.target.at(static_cast<std::size_t>(state.position - 1));
        if (wrongKeys > 0 && state.position == 1) {
            --wrongKeys;
            judged(expected == 'q' || expected == 'Q' ? 'z' : 'q');
        }
        judged(expected);
        ++figures.correct;
        if (state.accept_key == 0) wait(kPauseMs);  // the item is done: its pause
    }
    return figures;
}

}  // namespace kestrum::testing
