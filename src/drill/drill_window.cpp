#include "drill/drill_window.h"

#include "drill/char_cell_widget.h"
#include "drill/typed_key.h"
#include "keyboard/keyboard_widget.h"
#include "platform/desktop_keyboard_state.h"
#include "platform/text.h"
#include "widgets/after_engine.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

namespace kestrum {

namespace {

const QColor kUntypedColour(0, 0, 0);
const QColor kTypedColour(255, 0, 0);

// Design places from the form, in pixels; the keyboard layout moves and sizes the rest.
constexpr int kDummyLeft = 8;

QPalette withTextColour(QPalette palette, const QColor& colour) {
    palette.setColor(QPalette::WindowText, colour);
    return palette;
}

}  // namespace

int DrillFontMeasure::messageLineHeight(int points) const {
    return QFontMetrics(DrillWindow::messageFont(points)).height();
}

int DrillFontMeasure::sampleHeight(int points) const {
    return QFontMetrics(DrillWindow::outputFont(points)).height();
}

TextSize DrillFontMeasure::charCellSize(int points) const {
    const QFontMetrics metrics(DrillWindow::outputFont(points));
    return {metrics.horizontalAdvance(cell_), metrics.height()};
}

TextSize DrillFontMeasure::fingerLabelSize(Finger finger, int points) const {
    return KeyboardWidget::fingerLabelSize(model_, finger, points);
}

QFont DrillWindow::messageFont(int points) {
    return pointFont(FontFace::PGothic, points, FontStyle::Bold);
}

QFont DrillWindow::outputFont(int points) {
    return pointFont(FontFace::Mincho, points, FontStyle::Bold);
}

DrillWindow::DrillWindow(AppContext& context, ScoreFile& scores, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(context),
      scores_(scores),
      engine_(context.settings, context.clock, context.random, context.keyboardState, context.sound,
              scores, *this) {
    FormCreate();
}

DrillWindow::~DrillWindow() = default;

void DrillWindow::FormCreate() {
    setWindowTitle(QString::fromStdString(engine_.windowCaption()));
    setFont(pixelFont(FontFace::PGothic, 12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kWindowColour);
    setPalette(palette);
    setAutoFillBackground(true);

    // A learner whose Japanese input method is on must still drill in plain letters: no
    // composition may take the keys before the drill sees them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferLatin);

    setAccessibleDescription(
        QStringLiteral("上の行の文字をタイプします。キーボードの図が次のキーと指を示します。"));
    createTextPanels();

    pnl_key = new KeyboardWidget(engine_.keyboard(), this);
    pnl_key->setObjectName(QStringLiteral("pnl_key"));

    Label_counter = new QLabel(this);
    Label_counter->setObjectName(QStringLiteral("Label_counter"));
    Label_counter->setFont(pixelFont(FontFace::PGothic, 21, FontStyle::Bold));

    Button_go_menu = new QPushButton(QStringLiteral("メニューに戻る"), this);
    Button_go_menu->setObjectName(QStringLiteral("Button_go_menu"));
    Button_go_menu->setFont(pixelFont(FontFace::PGothic, 16, FontStyle::Bold));
    connect(Button_go_menu, &QPushButton::clicked, this, [this] {
        engine_.Button_go_menuClick();
        render();
    });

    // Holds the keyboard focus so that no key can press anything; sized 0 x 0 so that it is
    // never seen, and it has no action.
    Button_dummy = new QPushButton(this);
    Button_dummy->setObjectName(QStringLiteral("Button_dummy"));
    Button_dummy->setFocusPolicy(Qt::NoFocus);
    Button_dummy->setAccessibleName(QStringLiteral("タイプの受け口"));

    for (QPushButton* control : {Button_go_menu, Button_dummy}) {
        control->setAttribute(Qt::WA_InputMethodEnabled, false);
        control->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferLatin);
        control->installEventFilter(this);
    }

    for (std::size_t i = 0; i < timers_.size(); ++i) {
        const auto timer = static_cast<DrillTimer>(i);
        connect(&timers_[i], &QTimer::timeout, this, [this, timer] {
            engine_.timerFired(timer);
            render();
        });
    }

    ArrangeKeyboard();
    if (!engine_.startupMessages().empty()) endProgram(engine_.startupMessages());
}

// The message panel and the item row; object names are the form's control names, so that tests
// and tools can find them.
void DrillWindow::createTextPanels() {
    Panel_message = new BevelPanel(this);
    Panel_message->setObjectName(QStringLiteral("Panel_message"));
    Panel_message->setBevelOuter(BevelPanel::Bevel::Lowered);
    Panel_message->setBevelWidth(kPanelMessageBevel);
    Panel_message->setColor(kPanelColour);
    Panel_message->setAccessibleName(QStringLiteral("メッセージ"));
    for (std::size_t i = 0; i < lbl_messages.size(); ++i) {
        QLabel*& label = lbl_messages[i];
        label = new QLabel(Panel_message);
        label->setObjectName(i == 0 ? QStringLiteral("lbl_message")
                                    : QStringLiteral("lbl_message%1").arg(i + 1));
        label->move(kMessageLeft, 0);
    }

    pnl_output = new BevelPanel(this);
    pnl_output->setObjectName(QStringLiteral("pnl_output"));
    pnl_output->setBevelWidth(kOutputBevel);
    pnl_output->setColor(kPanelColour);
    pnl_output->setAccessibleName(QStringLiteral("タイプする文字"));
    lbl_sample = new QLabel(pnl_output);
    lbl_sample->setObjectName(QStringLiteral("lbl_sample"));
    lbl_sample->move(kSampleLeft, 0);
    for (std::size_t i = 0; i < char_cells.size(); ++i) {
        CharCellWidget*& cell = char_cells[i];
        cell = new CharCellWidget(cellPictures_, pnl_output);
        if (i == 0) {
            cellPalettes_ = {withTextColour(cell->palette(), kUntypedColour),
                             withTextColour(cell->palette(), kTypedColour)};
        }
        cell->setObjectName(QStringLiteral("char_cell_%1").arg(i));
        cell->setAlignment(Qt::AlignCenter);
        cell->setPalette(cellPalettes_[0]);
        cell->hide();
    }
}

void DrillWindow::StartLesson(int lessonNo) {
    lesson_no_ = lessonNo;
    // Sized and placed before it is mapped: a window manager places a window as it maps it and
    // need not follow a move that comes right after.
    ArrangeKeyboard();
    show();
    windowHandle()->installEventFilter(this);
    activateWindow();
    // Not every platform activates a window as it is shown (a bare X server has no window
    // manager to do it), so the activation handler runs here as well.
    FormActivate();
}

void DrillWindow::retry() {
    awaitingResult_ = false;
    engine_.resultChosen(kModalRetry);
    FormActivate();
}

void DrillWindow::returnedToMenu() {
    awaitingResult_ = false;
    engine_.resultChosen(kModalMenu);
    render();
}

void DrillWindow::FormShow() {
    Button_dummy->setFocus();  // a lesson never starts with the way back focused
    engine_.FormShow(lesson_no_, context_.problemSetLesson);
    setWindowTitle(QString::fromStdString(engine_.windowCaption()));
    render();
}

void DrillWindow::FormActivate() {
    if (ending_) return;
    engine_.FormActivate();
    ArrangeKeyboard();
    render();
}

void DrillWindow::ArrangeKeyboard() {
    const ScreenMetrics screen = context_.screen.metrics();
    const int size = context_.settings.keyboard_size;
    layout_ = KeyboardLayout::compute(size, screen.logicalDpi, engine_.state().tutorial_mode == 1,
                                      DrillFontMeasure(engine_.keyboard(), QLatin1Char('a')));

    Panel_message->setGeometry(toQRect(layout_.Panel_message));
    const QFont lineFont = messageFont(layout_.fonts.message);
    for (std::size_t i = 0; i < lbl_messages.size(); ++i) {
        QLabel& label = *lbl_messages[i];
        label.setFont(lineFont);
        label.adjustSize();
        label.move(kMessageLeft, layout_.messageLineTops[i]);
        label.setVisible(i == 0 || layout_.tutorial);
    }

    pnl_output->setGeometry(toQRect(layout_.pnl_output));
    pnl_output->setVisible(!layout_.tutorial);
    const QFont textFont = outputFont(layout_.fonts.output);
    lbl_sample->setFont(textFont);
    lbl_sample->adjustSize();
    lbl_sample->move(kSampleLeft, layout_.lbl_sample_top);
    cellPictures_.clear();
    for (std::size_t i = 0; i < char_cells.size(); ++i) {
        char_cells[i]->setFont(textFont);
        char_cells[i]->setGeometry(toQRect(layout_.char_cells[i]));
    }

    pnl_key->arrange(layout_);
    Button_go_menu->setGeometry(toQRect(layout_.Button_go_menu));
    Label_counter->move(layout_.Label_counter_left, layout_.Label_counter_top);
    Button_dummy->setGeometry(kDummyLeft, layout_.Button_dummy_top, 0, 0);

    frame_.update(*this);
    fitOuterSize();
    if (const auto origin =
            placement_.place(size, screen, layout_.windowWidth, layout_.windowHeight)) {
        move(origin->left, origin->top);
    }
}

// The layout gives the outer size, frame included (centring places the frame's corner). The
// frame is known only once the window is on screen, so it is fitted again then.
void DrillWindow::fitOuterSize() {
    setFixedSize(QSize(layout_.windowWidth, layout_.windowHeight) - frame_.extra());
}

void DrillWindow::render() {
    const DrillView& view = engine_.view();
    for (std::size_t i = 0; i < char_cells.size(); ++i) {
        const CharCell& cell = view.cells[i];
        CharCell& shown = shown_.cells[i];
        QLabel& label = *char_cells[i];
        if (cell.text != shown.text) {
            label.setText(fromCp932(cell.text));
            // A blank says nothing to a screen reader unless it is named.
            label.setAccessibleName(cell.text == " " ? QStringLiteral("空白") : QString());
        }
        if (cell.typed != shown.typed) {
            label.setPalette(cellPalettes_[cell.typed ? 1 : 0]);
        }
        if (cell.visible != shown.visible) label.setVisible(cell.visible);
        shown = cell;
    }
    if (view.lbl_sample != shown_.lbl_sample) {
        lbl_sample->setText(QString::fromStdString(view.lbl_sample));
        lbl_sample->adjustSize();
    }
    if (view.lbl_sample_visible != shown_.lbl_sample_visible) {
        lbl_sample->setVisible(view.lbl_sample_visible);
    }
    for (std::size_t i = 0; i < lbl_messages.size(); ++i) {
        if (view.message_lines[i] == shown_.message_lines[i]) continue;
        lbl_messages[i]->setText(QString::fromStdString(view.message_lines[i]));
        lbl_messages[i]->adjustSize();
    }
    if (view.Label_counter != shown_.Label_counter) {
        Label_counter->setText(QString::fromStdString(view.Label_counter));
        Label_counter->adjustSize();
    }
    if (view.go_menu_tab_stop != shown_.go_menu_tab_stop) {
        // During a run only a mouse click may reach the button, and it does not take the focus.
        Button_go_menu->setFocusPolicy(view.go_menu_tab_stop ? Qt::StrongFocus : Qt::NoFocus);
    }
    shown_.lbl_sample = view.lbl_sample;
    shown_.lbl_sample_visible = view.lbl_sample_visible;
    shown_.message_lines = view.message_lines;
    shown_.Label_counter = view.Label_counter;
    shown_.go_menu_tab_stop = view.go_menu_tab_stop;

    pnl_key->refresh();
    // The focus rests on Button_dummy, or outside a run on the button it was tabbed to.
    const bool focusAllowed =
        focusWidget() == Button_dummy || (view.go_menu_tab_stop && focusWidget() == Button_go_menu);
    if (isVisible() && !focusAllowed) Button_dummy->setFocus();
}

bool DrillWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle()) {
        // The frame comes with the window manager's reparenting, which moves the window.
        const bool frameMayChange =
            event->type() == QEvent::Expose || event->type() == QEvent::Move;
        if (frameMayChange && frame_.update(*this)) fitOuterSize();
        return false;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (!goMenuKey(key)) handleKey(key);
        return true;  // the window decides what every key does; no control acts on one
    }
    return QWidget::eventFilter(watched, event);
}

// Outside a run the keyboard reaches "メニューに戻る" as a tab stop: Tab moves the focus to it,
// and Enter or the space bar presses it once it has the focus. True for a key used so.
bool DrillWindow::goMenuKey(const QKeyEvent& event) {
    if (!engine_.view().go_menu_tab_stop) return false;
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (event.type() == QEvent::KeyPress) Button_go_menu->setFocus(Qt::TabFocusReason);
        return true;
    }
    const bool pressKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (!pressKey || focusWidget() != Button_go_menu) return false;
    if (event.type() == QEvent::KeyPress && !event.isAutoRepeat()) Button_go_menu->click();
    return true;
}

void DrillWindow::keyPressEvent(QKeyEvent* event) {
    handleKey(*event);
}

void DrillWindow::keyReleaseEvent(QKeyEvent* event) {
    handleKey(*event);
}

void DrillWindow::handleKey(const QKeyEvent& event) {
    const bool pressed = event.type() == QEvent::KeyPress;
    const int key = event.key();
    // Only Caps Lock has a meaning of its own among the key-down codes.
    const int virtualKey = key == Qt::Key_CapsLock ? kVirtualKeyCapsLock : 0;
    // A Shift key's own event may report the modifier state from before it; its direction is
    // what counts.
    const bool shift =
        key == Qt::Key_Shift ? pressed : (event.modifiers() & Qt::ShiftModifier) != 0;
    if (key == Qt::Key_CapsLock) {
        if (const auto* desktop =
                dynamic_cast<const DesktopKeyboardState*>(&context_.keyboardState)) {
            desktop->trackCapsLockKey(pressed);
        }
    }
    if (!pressed) {
        engine_.FormKeyUp(virtualKey, shift);
        render();
        return;
    }
    engine_.FormKeyDown(virtualKey, shift);
    for (const char byte : typedBytes(key, event.modifiers(), toCp932(event.text())))
        engine_.FormKeyPress(static_cast<unsigned char>(byte));
    render();
}

void DrillWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void DrillWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous() && awaitingResult_) returnedToMenu();
}

void DrillWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void DrillWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closeRequested();
}

void DrillWindow::startTimer(DrillTimer timer, int intervalMs) {
    timerOf(timer).start(intervalMs);
}

void DrillWindow::stopTimer(DrillTimer timer) {
    timerOf(timer).stop();
}

QTimer& DrillWindow::timerOf(DrillTimer timer) {
    return timers_.at(static_cast<std::size_t>(timer));
}

void DrillWindow::runEnded(const LessonResult& result) {
    deliverResultAfterEngine(*this, context_.messages, result, [this](const LessonResult& shown) {
        awaitingResult_ = true;
        emit lessonFinished(shown);
    });
}

void DrillWindow::returnToMenu(const Messages& messages) {
    leaveAfterEngine(*this, context_.messages, messages, [this] {
        emit menuRequested();
        hide();
    });
}

void DrillWindow::endProgram(const Messages& messages) {
    ending_ = true;
    context_.messages.showAll(messages);
    QTimer::singleShot(0, this, [this] { emit programMustEnd(); });
}

}  // namespace kestrum
