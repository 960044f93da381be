#include "drill/drill_window.h"
#include "keyboard/rgb.h"
#include "ui/support/drill_services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using namespace kestrum;
using testing::DrillRig;

namespace {

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

// The colour inside a key, clear of its bevel and caption.
QColor keyFill(const DrillRig& rig, char ch) {
    const QRect key = rig.keyboard()->keyRect(rig.window->engine().keyboard().keyOf(ch));
    const int inset = rig.window->currentLayout().bevel + 1;
    return rig.keyboard()->grab().toImage().pixelColor(key.left() + inset, key.top() + inset);
}

QColor rgb(Rgb c) {
    return {c.r, c.g, c.b};
}

void sendKey(const DrillRig& rig, Qt::Key key, Qt::KeyboardModifiers modifiers,
             const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(rig.keyTarget(), &event);
}

}  // namespace

class DrillWindowTest : public QObject {
    Q_OBJECT

private slots:
    void outerSizeAndPlaceFollowTheKeyboardSize();
    void keysDriveTheItemAndTheGuide();
    void keysWithoutACharacterAreNotJudged();
    void anInvalidLessonEndsTheProgram();
};

// The frame is none here (offscreen), so the outer size is the client size. The window is
// centred at its first showing and again only when the size changes.
void DrillWindowTest::outerSizeAndPlaceFollowTheKeyboardSize() {
    DrillRig rig(0);
    rig.window->StartLesson(1);
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    struct Row {
        int code, width, height;
    };
    for (const Row r : {Row{1, 1126, 750}, Row{0, 573, 422}}) {
        rig.window->move(10, 20);
        rig.window->retry();
        QCOMPARE(rig.window->pos(), QPoint(10, 20));  // same size: left where the user put it
        rig.context.settings.keyboard_size = r.code;
        rig.window->retry();
        QCOMPARE(rig.window->frameGeometry().size(), QSize(r.width, r.height));
        QCOMPARE(rig.window->pos(), QPoint((1280 - r.width) / 2, (1024 - r.height) / 2));
        QCOMPARE(rig.keyboard()->width(), r.width - 20);
        const auto* goMenu = rig.child<QPushButton>("Button_go_menu");
        QVERIFY(rig.window->rect().contains(goMenu->geometry()));
    }
}

void DrillWindowTest::keysDriveTheItemAndTheGuide() {
    DrillRig rig;
    rig.window->StartLesson(1);
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    // The focus rests on the action-less button, which takes no input-method composition.
    QCOMPARE(rig.window->focusWidget(), rig.child("Button_dummy"));
    QVERIFY(!rig.window->focusWidget()->testAttribute(Qt::WA_InputMethodEnabled));

    rig.type('x');  // the start key is not judged
    QString item;
    for (int i = 0; i < 25; ++i) {
        const auto* cell = rig.child<QLabel>(qPrintable(QStringLiteral("char_cell_%1").arg(i)));
        if (cell->isVisible()) item += cell->text();
    }
    QCOMPARE(item, QStringLiteral("ffjj ffjj fjfj fjfj"));
    QVERIFY(!rig.child("lbl_sample")->isVisible());
    QCOMPARE(rig.child<QLabel>("Label_counter")->text(), QStringLiteral("あと 17回"));
    QCOMPARE(keyFill(rig, 'f'), rgb(colours::kWhite));

    rig.type('f');
    QCOMPARE(textColour(rig.child<QLabel>("char_cell_0")), QColor(255, 0, 0));
    QCOMPARE(textColour(rig.child<QLabel>("char_cell_1")), QColor(0, 0, 0));
    rig.type('s');  // a miss: the struck key greys a moment, the guide stays
    QCOMPARE(rig.sound.played, (std::vector<std::string>{"PUSH", "ERROR"}));
    QCOMPARE(keyFill(rig, 's'), rgb(colours::kGrey));
    QTRY_COMPARE_WITH_TIMEOUT(keyFill(rig, 's'), rgb(colours::kLightGreen), 3000);
    QCOMPARE(keyFill(rig, 'f'), rgb(colours::kWhite));

    for (const char ch : {'f', 'j', 'j', ' '})
        rig.type(ch);
    QCOMPARE(rig.child<QLabel>("char_cell_4")->text(), QStringLiteral("_"));  // a typed blank
    // A half-width katakana from the keyboard's kana mode arrives as its single byte: a miss.
    sendKey(rig, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ｱ"));
    QCOMPARE(rig.state().miss_counts[static_cast<unsigned char>('f')], 2);
}

void DrillWindowTest::keysWithoutACharacterAreNotJudged() {
    DrillRig rig;
    QSignalSpy menu(rig.window.get(), &DrillWindow::menuRequested);
    rig.window->StartLesson(1);
    // Alt or Meta with a letter is a command, not a character: it neither starts nor is judged.
    for (int started = 0; started < 2; ++started) {
        sendKey(rig, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
        sendKey(rig, Qt::Key_F, Qt::MetaModifier, QStringLiteral("f"));
        for (Qt::Key key :
             {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Shift, Qt::Key_Left, Qt::Key_F1})
            QTest::keyClick(rig.keyTarget(), key);
        QCOMPARE(rig.child("lbl_sample")->isVisible(), started == 0);
        if (started == 0) rig.type('a');
    }
    QCOMPARE(rig.state().key_count, 0);
    QVERIFY(rig.sound.played.empty());
    QCOMPARE(rig.window->focusWidget(), rig.child("Button_dummy"));

    // Backspace and Escape are characters like any other, and wrong here.
    QTest::keyClick(rig.keyTarget(), Qt::Key_Backspace);
    QTest::keyClick(rig.keyTarget(), Qt::Key_Escape);
    QCOMPARE(rig.sound.played, (std::vector<std::string>{"ERROR", "ERROR"}));
    QCoreApplication::processEvents();
    QCOMPARE(menu.count(), 0);
}

void DrillWindowTest::anInvalidLessonEndsTheProgram() {
    DrillRig rig;
    QSignalSpy ended(rig.window.get(), &DrillWindow::programMustEnd);
    rig.window->StartLesson(7);
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(rig.messages.shownTexts(), std::vector<std::string>{"レッスン番号が不正です。"});
}

QTEST_MAIN(DrillWindowTest)
#include "drill_window_test.moc"
