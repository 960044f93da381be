#include "drill/drill_window.h"
#include "keyboard/keyboard_widget.h"
#include "keyboard/rgb.h"
#include "support/fake_services.h"
#include "ui/support/drill_services.h"
#include "widgets/app_context.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

using namespace kestrum;

namespace {

// Real elapsed time, so that the drill's pause after an item passes as it does on screen.
class RunningClock final : public Clock {
public:
    RunningClock() { elapsed_.start(); }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(elapsed_.elapsed()); }

private:
    QElapsedTimer elapsed_;
};

class CountingRandom final : public RandomSource {
public:
    std::int32_t next() override { return next_++; }

private:
    std::int32_t next_ = 0;
};

// A drill window over fake services, in its own temporary data directory.
struct Harness : testing::DrillServices<RunningClock, CountingRandom> {
    explicit Harness(int keyboardSize = 0, double dpi = 96.0) : DrillServices({1280, 1024, dpi}) {
        context.settings.keyboard_size = keyboardSize;
        window = std::make_unique<DrillWindow>(context);
    }

    template <typename T>
    T* child(const QString& name) const {
        return window->findChild<T*>(name);
    }
    QLabel* cell(int i) const { return child<QLabel>(QStringLiteral("char_cell_%1").arg(i)); }
    QString label(const char* name) const { return child<QLabel>(QLatin1String(name))->text(); }
    KeyboardWidget* keyboard() const { return child<KeyboardWidget>(QStringLiteral("pnl_key")); }

    QWidget* keyTarget() const {
        QWidget* focus = window->focusWidget();
        return focus != nullptr ? focus : window.get();
    }
    void type(char ch) const { QTest::keyClick(keyTarget(), ch); }
    void sendKey(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers,
                 const QString& text) const {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(keyTarget(), &event);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(keyTarget(), key, modifiers);
    }
    // The cells of the item on screen, as the learner reads them.
    std::string shownItem() const {
        std::string item;
        for (int i = 0; i < 25; ++i) {
            if (cell(i)->isVisible()) item += cell(i)->text().toStdString();
        }
        return item;
    }

    std::unique_ptr<DrillWindow> window;
};

QColor textColour(const QLabel& label) {
    return label.palette().color(QPalette::WindowText);
}

// The colour inside a key, clear of its bevel and caption.
QColor keyFill(const Harness& h, KeyCell cell) {
    const QImage image = h.keyboard()->grab().toImage();
    const QRect key = h.keyboard()->keyRect(cell);
    const int inset = h.window->currentLayout().bevel + 1;
    return image.pixelColor(key.left() + inset, key.top() + inset);
}

QColor rgb(Rgb c) {
    return {c.r, c.g, c.b};
}

}  // namespace

class DrillWindowTest : public QObject {
    Q_OBJECT

private slots:
    void outerSizeFollowsTheKeyboardSize_data();
    void outerSizeFollowsTheKeyboardSize();
    void recentresOnlyWhenTheSizeChanges();
    void keysDriveTheItemAndTheGuide();
    void keysWithoutACharacterAreNotJudged();
    void tutorialPagesWithTheSpaceBar();
    void goMenuAbandonsTheRunAndStartsAfresh();
    void anInvalidLessonEndsTheProgram();
};

void DrillWindowTest::outerSizeFollowsTheKeyboardSize_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("S") << 0 << 573 << 422;
    QTest::newRow("LL") << 1 << 1126 << 750;
}

void DrillWindowTest::outerSizeFollowsTheKeyboardSize() {
    QFETCH(int, code);
    QFETCH(int, width);
    QFETCH(int, height);
    Harness h(code);
    h.window->StartLesson(1);
    // Laid out again once the window system has told its frame (none here).
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    QCOMPARE(h.window->frameGeometry().size(), QSize(width, height));
    QCOMPARE(h.window->pos(), QPoint((1280 - width) / 2, (1024 - height) / 2));
    QCOMPARE(h.keyboard()->width(), width - 20);
    if (code == 0) {
        QCOMPARE(h.keyboard()->keyRect(KeyboardModel::kLeftShift).width(), 79);
        QCOMPARE(h.keyboard()->keyRect(KeyboardModel::kRightShift).width(), 61);
    }
    // The controls below the keyboard stay inside the window.
    const auto* goMenu = h.child<QPushButton>(QStringLiteral("Button_go_menu"));
    QVERIFY(h.window->rect().contains(goMenu->geometry()));
    QCOMPARE(goMenu->geometry().right(), h.keyboard()->geometry().right());
}

void DrillWindowTest::recentresOnlyWhenTheSizeChanges() {
    Harness h(0);
    h.window->StartLesson(1);
    h.window->move(10, 20);
    h.window->retry();
    QCOMPARE(h.window->pos(), QPoint(10, 20));

    h.context.settings.keyboard_size = 1;
    h.window->retry();
    QCOMPARE(h.window->pos(), QPoint((1280 - 1126) / 2, (1024 - 750) / 2));
    h.context.settings.keyboard_size = 0;
    h.window->retry();
    QCOMPARE(h.window->pos(), QPoint((1280 - 573) / 2, (1024 - 422) / 2));
}

void DrillWindowTest::keysDriveTheItemAndTheGuide() {
    Harness h;
    h.window->StartLesson(1);
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    // The focus rests on the action-less button, which takes no input-method composition.
    QCOMPARE(h.window->focusWidget(), h.child<QWidget>(QStringLiteral("Button_dummy")));
    QVERIFY(!h.window->focusWidget()->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(h.label("lbl_message"), QStringLiteral("何かキーを押すと始まります。"));

    h.type('x');  // the start key is not judged
    QVERIFY(!h.child<QLabel>(QStringLiteral("lbl_sample"))->isVisible());
    QCOMPARE(h.shownItem(), std::string("ffjj ffjj fjfj fjfj"));
    QCOMPARE(h.label("Label_counter"), QStringLiteral("あと 17回"));
    QCOMPARE(h.label("lbl_message"),
             QStringLiteral("「f」は左手の人差し指、「j」は右手の人差し指"));
    QCOMPARE(keyFill(h, h.window->engine().keyboard().keyOf('f')), rgb(colours::kWhite));

    h.type('f');
    QCOMPARE(textColour(*h.cell(0)), QColor(255, 0, 0));
    QCOMPARE(textColour(*h.cell(1)), QColor(0, 0, 0));
    QCOMPARE(h.sound.played, std::vector<std::string>{"PUSH"});

    h.type('s');  // a miss: the struck key greys, the position stays
    QCOMPARE(h.sound.played.back(), std::string("ERROR"));
    QCOMPARE(textColour(*h.cell(1)), QColor(0, 0, 0));
    const KeyboardModel& model = h.window->engine().keyboard();
    QCOMPARE(keyFill(h, model.keyOf('s')), rgb(colours::kGrey));
    QCOMPARE(keyFill(h, model.keyOf('f')), rgb(colours::kWhite));
    // The grey mark goes by itself a moment later; the guide stays.
    QTRY_COMPARE_WITH_TIMEOUT(keyFill(h, model.keyOf('s')), rgb(colours::kLightGreen), 3000);
    QCOMPARE(keyFill(h, model.keyOf('f')), rgb(colours::kWhite));

    h.type('f');
    h.type('j');
    h.type('j');
    h.type(' ');  // a typed blank stays visible
    QCOMPARE(h.cell(4)->text(), QStringLiteral("_"));
    QCOMPARE(textColour(*h.cell(4)), QColor(255, 0, 0));

    // A half-width katakana from the keyboard's kana mode arrives as its single byte.
    const int before = h.window->engine().state().key_count;
    h.sendKey(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ｱ"));
    QCOMPARE(h.window->engine().state().key_count, before + 1);
    QCOMPARE(h.window->engine().state().miss_counts[static_cast<unsigned char>('f')], 2);
}

void DrillWindowTest::keysWithoutACharacterAreNotJudged() {
    Harness h;
    QSignalSpy menu(h.window.get(), &DrillWindow::menuRequested);
    h.window->StartLesson(1);
    h.press(Qt::Key_Return);  // no start key, and the focused button is not pressed either
    // Alt or Meta with a letter is a command, not a character: neither starts nor is judged.
    h.sendKey(QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
    h.sendKey(QEvent::KeyPress, Qt::Key_F, Qt::MetaModifier, QStringLiteral("f"));
    QVERIFY(h.child<QLabel>(QStringLiteral("lbl_sample"))->isVisible());
    h.type('a');
    h.sendKey(QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
    for (Qt::Key key :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Shift, Qt::Key_Left, Qt::Key_F1}) {
        h.press(key);
    }
    QCOMPARE(h.window->engine().state().key_count, 0);
    QVERIFY(h.sound.played.empty());
    QCOMPARE(h.window->focusWidget(), h.child<QWidget>(QStringLiteral("Button_dummy")));

    // Backspace and Escape are characters like any other, and wrong here.
    h.press(Qt::Key_Backspace);
    h.press(Qt::Key_Escape);
    QCOMPARE(h.window->engine().state().key_count, 2);
    QCOMPARE(h.sound.played, (std::vector<std::string>{"ERROR", "ERROR"}));
    QCoreApplication::processEvents();
    QCOMPARE(menu.count(), 0);
    QVERIFY(h.window->isVisible());
}

void DrillWindowTest::tutorialPagesWithTheSpaceBar() {
    Harness h;
    h.window->StartLesson(0);
    QVERIFY(!h.child<QWidget>(QStringLiteral("pnl_output"))->isVisible());
    QVERIFY(h.child<QLabel>(QStringLiteral("lbl_message4"))->isVisible());
    QCOMPARE(h.label("lbl_message"), QStringLiteral("このLESSONでは、"));
    // The four lines share the panel, evenly spaced.
    const QList<int> tops = {h.child<QLabel>(QStringLiteral("lbl_message"))->y(),
                             h.child<QLabel>(QStringLiteral("lbl_message2"))->y(),
                             h.child<QLabel>(QStringLiteral("lbl_message3"))->y(),
                             h.child<QLabel>(QStringLiteral("lbl_message4"))->y()};
    QVERIFY(tops[0] < tops[1] && tops[1] < tops[2] && tops[2] < tops[3]);

    h.type('a');
    h.press(Qt::Key_Return);
    QCOMPARE(h.label("lbl_message"), QStringLiteral("このLESSONでは、"));
    h.type(' ');
    QCOMPARE(h.label("lbl_message"), QStringLiteral("キーボードを見ないで打つには、指を常に"));
    QVERIFY(h.sound.played.empty());
    QCOMPARE(h.window->engine().state().key_count, 0);

    // The home keys blink on the keyboard.
    const KeyCell f = h.window->engine().keyboard().keyOf('f');
    QTRY_COMPARE_WITH_TIMEOUT(keyFill(h, f), rgb(colours::kWhite), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(keyFill(h, f), rgb(colours::kLightPink), 3000);
}

void DrillWindowTest::goMenuAbandonsTheRunAndStartsAfresh() {
    Harness h;
    QSignalSpy menu(h.window.get(), &DrillWindow::menuRequested);
    QSignalSpy finished(h.window.get(), &DrillWindow::lessonFinished);
    h.window->StartLesson(1);
    h.type('x');
    h.type('f');
    QTest::mouseClick(h.child<QPushButton>(QStringLiteral("Button_go_menu")), Qt::LeftButton);
    QTRY_COMPARE(menu.count(), 1);
    QVERIFY(!h.window->isVisible());
    QCOMPARE(finished.count(), 0);

    h.window->StartLesson(1);
    QCOMPARE(h.label("lbl_sample"), QStringLiteral("Press any key to start!!"));
    QVERIFY(h.child<QLabel>(QStringLiteral("lbl_sample"))->isVisible());
    QVERIFY(!h.cell(0)->isVisible());
    QCOMPARE(h.label("Label_counter"), QString());
}

void DrillWindowTest::anInvalidLessonEndsTheProgram() {
    Harness h;
    QSignalSpy ended(h.window.get(), &DrillWindow::programMustEnd);
    QSignalSpy closed(h.window.get(), &DrillWindow::closeRequested);
    h.window->StartLesson(7);
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(closed.count(), 0);
    QCOMPARE(h.messages.shown().size(), std::size_t{1});
    QCOMPARE(h.messages.shown()[0].text, std::string("レッスン番号が不正です。"));
    QCOMPARE(h.messages.shown()[0].icon, Message::Icon::Stop);
}

QTEST_MAIN(DrillWindowTest)
#include "drill_window_test.moc"
