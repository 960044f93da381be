// The drill window over fake services: its sizes, keys and colours, Caps Lock as the offscreen
// desktop knows it, and the kept pictures its cells, keys and finger labels are drawn from,
// which must show exactly what a fresh drawing shows, whatever looks and sizes came before.
#include "drill/drill_window.h"
#include "drill/char_cell_widget.h"
#include "history/score_file.h"
#include "keyboard/keyboard_widget.h"
#include "platform/desktop_keyboard_state.h"
#include "platform/file_system.h"
#include "support/fake_services.h"
#include "ui/support/recording_message_presenter.h"
#include "widgets/app_context.h"
#include "widgets/picture_cache.h"
#include "widgets/ui_fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace kestrum;
using namespace kestrum::testing;

namespace {

// A drill window in its own temporary data directory, on a real clock so that the pause after
// an item passes as it does on screen.
struct DrillRig {
    explicit DrillRig(int keyboardSize = 0, ScreenMetrics metrics = {1280, 1024, 96.0})
        : screen(metrics) {
        context.settings.keyboard_size = keyboardSize;
        window = std::make_unique<DrillWindow>(context, scores);
    }

    template <typename T = QWidget>
    T* child(const QString& name) const {
        return window->findChild<T*>(name);
    }
    KeyboardWidget* keyboard() const { return child<KeyboardWidget>("pnl_key"); }
    QWidget* keyTarget() const {
        QWidget* focus = window->focusWidget();
        return focus != nullptr ? focus : window.get();
    }
    void type(char ch) const { QTest::keyClick(keyTarget(), ch); }
    const DrillState& state() const { return window->engine().state(); }
    char expected() const {
        return state().target.at(static_cast<std::size_t>(state().position - 1));
    }

    QTemporaryDir dir;
    const std::string path = dir.path().toStdString();
    DiskFileSystem files;
    SteadyClock clock;
    SeededRandom random{3};
    FixedScreen screen;
    DesktopKeyboardState capsLock;
    RecordingSound sound;
    RecordingMessagePresenter messages;
    ScoreFile scores{files, path};
    AppContext context{path, files, clock, random, screen, capsLock, sound, messages, {}, {}};
    std::unique_ptr<DrillWindow> window;
};

// The colour inside a key, clear of its bevel and caption.
QColor keyFill(const DrillRig& rig, char ch) {
    const QRect key = rig.keyboard()->keyRect(rig.window->engine().keyboard().keyOf(ch));
    const int inset = rig.window->currentLayout().bevel + 1;
    return rig.keyboard()->grab().toImage().pixelColor(key.left() + inset, key.top() + inset);
}

QImage asShown(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// The area of the window as the screen holds it.
QImage onScreen(const DrillRig& rig, const QRect& area) {
    QCoreApplication::processEvents();  // the pending repaint reaches the window's buffer
    return asShown(rig.window->screen()->grabWindow(rig.window->winId(), area.x(), area.y(),
                                                    area.width(), area.height()));
}

// The keyboard as the screen holds it, repainted piece by piece since the window was shown,
// against a new one drawn whole, with no pictures kept, over the same state.
bool keyboardAsFresh(const DrillRig& rig) {
    KeyboardWidget fresh(rig.window->engine().keyboard());
    fresh.arrange(rig.window->currentLayout());
    return onScreen(rig, rig.keyboard()->geometry()) == asShown(fresh.grab());
}

}  // namespace

class DrillWindowTest : public QObject {
    Q_OBJECT

private slots:
    void outerSizeAndPlaceFollowTheKeyboardSize();
    void keysDriveTheItemAndTheGuide();
    void aLongerSpellingScrollsTheRow();
    void anInvalidLessonEndsTheProgram();
    void cellsLookLikeLabels();
    void keysFollowTheirLooksAndSizes();
    void fontsTakeTheFirstInstalledFamily();
};

// The frame is none here (offscreen), so the outer size is the client size. The window is left
// where the user put it, and centred again when its size changes.
void DrillWindowTest::outerSizeAndPlaceFollowTheKeyboardSize() {
    DrillRig rig(0);
    rig.window->StartLesson(1);
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    rig.window->move(10, 20);
    rig.window->retry();
    QCOMPARE(rig.window->pos(), QPoint(10, 20));
    rig.context.settings.keyboard_size = 1;
    rig.window->retry();
    QCOMPARE(rig.window->frameGeometry(), QRect((1280 - 1126) / 2, (1024 - 750) / 2, 1126, 750));
    QCOMPARE(rig.keyboard()->width(), 1126 - 20);
    QVERIFY(rig.window->rect().contains(rig.child("Button_go_menu")->geometry()));
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
        const auto* cell = rig.child<QLabel>(QStringLiteral("char_cell_%1").arg(i));
        if (cell->isVisible()) item += cell->text();
    }
    QCOMPARE(item, QStringLiteral("ffjj ffjj fjfj fjfj"));
    QVERIFY(!rig.child("lbl_sample")->isVisible());
    QCOMPARE(rig.child<QLabel>("Label_counter")->text(), QStringLiteral("あと 17回"));
    QCOMPARE(keyFill(rig, 'f'), QColor(255, 255, 255));

    rig.type('f');
    for (const int i : {0, 1}) {  // typed red, the rest black
        const QPalette cell = rig.child(QStringLiteral("char_cell_%1").arg(i))->palette();
        QCOMPARE(cell.color(QPalette::WindowText), i == 0 ? QColor(Qt::red) : QColor(Qt::black));
    }
    rig.type('s');  // a miss: the struck key greys a moment, then shows its finger's light green
    QCOMPARE(rig.sound.played, (std::vector<std::string>{"PUSH", "ERROR"}));
    QCOMPARE(keyFill(rig, 's'), QColor(128, 128, 128));
    QTRY_COMPARE_WITH_TIMEOUT(keyFill(rig, 's'), QColor(128, 255, 128), 3000);
    QCOMPARE(keyFill(rig, 'f'), QColor(255, 255, 255));

    for (const char ch : {'f', 'j', 'j', ' '})
        rig.type(ch);
    QCOMPARE(rig.child<QLabel>("char_cell_4")->text(), QStringLiteral("_"));  // a typed blank
    // A half-width katakana from the keyboard's kana mode arrives as its single byte: a miss.
    QKeyEvent kana(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ｱ"));
    QApplication::sendEvent(rig.keyTarget(), &kana);
    QCOMPARE(rig.state().miss_counts[static_cast<unsigned char>('f')], 2);

    // Without an X display Caps Lock is known only from the key events the window passes on.
    constexpr auto kOnAndHeld = std::uint16_t(KeyboardState::kToggled | KeyboardState::kHeld);
    QCOMPARE(rig.capsLock.capsLockState(), std::uint16_t{0});
    QTest::keyPress(rig.keyTarget(), Qt::Key_CapsLock);
    QCOMPARE(rig.capsLock.capsLockState(), kOnAndHeld);
    QTest::keyPress(rig.keyTarget(), Qt::Key_CapsLock);  // auto-repeat while held changes nothing
    QCOMPARE(rig.capsLock.capsLockState(), kOnAndHeld);
    QTest::keyRelease(rig.keyTarget(), Qt::Key_CapsLock);
    QCOMPARE(rig.capsLock.capsLockState(), KeyboardState::kToggled);
    QTest::keyClick(rig.keyTarget(), Qt::Key_CapsLock);
    QCOMPARE(rig.capsLock.capsLockState(), std::uint16_t{0});
}

// A 25-letter item typed in a 27-letter spelling: at every step the 25 cells hold the row from
// where the next key stays on screen and everything after it fits, typed red on the left; the
// item ends on the last key, not when the cells are all red.
void DrillWindowTest::aLongerSpellingScrollsTheRow() {
    DrillRig rig;
    rig.context.settings.romaji_spellings = 1;
    rig.context.problemSetLesson = {
        "long", {"asitahaennsoku,tanosimida"}, {""}, 1, {0}, {0}, 1, 1, 1, 1};
    QSignalSpy finished(rig.window.get(), &DrillWindow::lessonFinished);
    rig.window->StartLesson(kProblemSetLessonNo);
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    rig.type('x');
    const std::string keys = "ashitahaennsoku,tanoshimida";
    // The row from the key that redraws it on, and the cells it is scrolled left by.
    const std::map<std::size_t, std::string> rows = {{0, "asitahaennsoku,tanosimida"},
                                                     {3, "ashitahaensoku,tanosimida"},
                                                     {11, "ashitahaennsoku,tanosimida"},
                                                     {22, keys}};
    for (std::size_t typed = 0; typed <= keys.size(); ++typed) {
        const std::string& row = std::prev(rows.upper_bound(typed))->second;
        const std::size_t scroll = std::min(typed, row.size() - 25);
        for (std::size_t i = 0; i < 25; ++i) {
            const auto* cell = rig.child<QLabel>(QStringLiteral("char_cell_%1").arg(i));
            QCOMPARE(cell->text(), QString::fromStdString(row.substr(scroll + i, 1)));
            QCOMPARE(cell->palette().color(QPalette::WindowText),
                     scroll + i < typed ? QColor(Qt::red) : QColor(Qt::black));
        }
        QCOMPARE(finished.count(), 0);
        if (typed < keys.size()) rig.type(keys[typed]);
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 3000);
    QCOMPARE(rig.state().key_count, 27);
}

void DrillWindowTest::anInvalidLessonEndsTheProgram() {
    DrillRig rig;
    QSignalSpy ended(rig.window.get(), &DrillWindow::programMustEnd);
    rig.window->StartLesson(7);
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(rig.messages.shownTexts(), std::vector<std::string>{"レッスン番号が不正です。"});
}

// Two cells sharing one cache beside plain labels, at a size small enough for the glyph cache
// and at the item row's largest face: a colour or character seen before must not bring back
// another's picture.
void DrillWindowTest::cellsLookLikeLabels() {
    for (const int points : {14, 58}) {
        const QFont font = pointFont(FontFace::Mincho, points, FontStyle::Bold);
        const QSize size(QFontMetrics(font).horizontalAdvance(QLatin1Char('a')),
                         QFontMetrics(font).height());
        PictureCache pictures;
        QWidget parent;
        CharCellWidget first(pictures, &parent), second(pictures, &parent);
        QLabel label(&parent);
        const std::tuple<CharCellWidget*, QString, QColor> steps[] = {{&first, "W", Qt::black},
                                                                      {&first, "W", Qt::red},
                                                                      {&second, "W", Qt::black},
                                                                      {&first, "_", Qt::red},
                                                                      {&second, "", Qt::black}};
        for (const auto& [cell, text, colour] : steps) {
            for (QLabel* l : {static_cast<QLabel*>(cell), &label}) {
                l->setFont(font);
                l->setAlignment(Qt::AlignCenter);
                l->resize(size);
                l->setText(text);
                QPalette palette = l->palette();
                palette.setColor(QPalette::WindowText, colour);
                l->setPalette(palette);
            }
            QVERIFY2(cell->grab().toImage() == label.grab().toImage(),
                     qPrintable(QStringLiteral("%1 %2").arg(points).arg(text)));
        }
    }
}

// Through expected and wrong keys at every size, in an order that returns to a size seen before.
void DrillWindowTest::keysFollowTheirLooksAndSizes() {
    DrillRig rig(0, {1920, 1080, 96.0});
    for (const int size : {1, 0, 2, 1}) {
        rig.context.settings.keyboard_size = size;
        rig.window->StartLesson(1);
        QVERIFY(keyboardAsFresh(rig));
        rig.type('x');  // the start key
        QTRY_COMPARE(rig.state().accept_key, 1);
        for (int step = 0; step < 3; ++step) {  // "ffj": the lit finger moves
            rig.type(rig.expected());
            QVERIFY(keyboardAsFresh(rig));
        }
        rig.type(rig.expected() == 'q' ? 'p' : 'q');  // a miss greys the struck key
        QVERIFY(keyboardAsFresh(rig));
        rig.window->hide();
    }
}

void DrillWindowTest::fontsTakeTheFirstInstalledFamily() {
    for (FontFace face : {FontFace::PGothic, FontFace::Gothic, FontFace::Mincho}) {
        const QStringList families = fontFamilies(face);
        const auto first = std::find_if(families.begin(), families.end(), QFontDatabase::hasFamily);
        if (first == families.end()) continue;  // the system's fallback decides, as for any font
        for (int pixels : {12, 77}) {  // named alone, so that no fallback list is looked up
            const QFont font = pixelFont(face, pixels, FontStyle::Bold);
            QCOMPARE(QFontInfo(font).family(), *first);
            QCOMPARE(font.families(), QStringList{*first});
        }
    }
}

QTEST_MAIN(DrillWindowTest)
#include "drill_window_test.moc"
