#include "kana/kana_drill_window.h"

#include "drill/drill_engine.h"
#include "drill/drill_window.h"
#include "kana/kana_keyboard_widget.h"
#include "keyboard/keyboard_widget.h"
#include "platform/key_positions.h"
#include "widgets/after_engine.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/ui_fonts.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

namespace kestrum {

namespace {

// The longest item of the course, in kana: the row's font is chosen so that it fits.
constexpr int kRowKana = 20;

// `font`, made smaller where `text` would not fit in `width` pixels.
QFont fitted(QFont font, const QString& text, int width) {
    font.setPixelSize(QFontInfo(font).pixelSize());
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QString rowHtml(const std::vector<KanaCell>& cells) {
    QString html;
    for (const KanaCell& cell : cells) {
        // A blank shows as a full-width space, typed as a low line, as the romaji row shows it.
        QString kana = QString::fromStdString(cell.kana);
        if (kana == QStringLiteral(" "))
            kana = cell.typed ? QStringLiteral("＿") : QStringLiteral("　");
        html +=
            cell.typed ? QStringLiteral("<span style=\"color:#ff0000\">%1</span>").arg(kana) : kana;
    }
    return html;
}

}  // namespace

KanaDrillWindow::KanaDrillWindow(AppContext& context, ScoreFile& scores,
                                 const KeyPositions& keyboard, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(context),
      keyboard_(keyboard),
      drill_(context.settings, context.clock, context.random, context.sound, scores, *this) {
    createControls();
}

KanaDrillWindow::~KanaDrillWindow() = default;

void KanaDrillWindow::createControls() {
    setObjectName(QStringLiteral("KanaDrillWindow"));
    setFont(pixelFont(FontFace::PGothic, 12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, DrillWindow::kWindowColour);
    setPalette(palette);
    setAutoFillBackground(true);
    // Kana are typed with the input method off: the window reads the keys themselves.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setFocusPolicy(Qt::StrongFocus);

    Panel_message = new BevelPanel(this);
    Panel_message->setBevelOuter(BevelPanel::Bevel::Lowered);
    Panel_message->setBevelWidth(DrillWindow::kPanelMessageBevel);
    Panel_message->setColor(DrillWindow::kPanelColour);
    lbl_message = new QLabel(Panel_message);
    lbl_message->setObjectName(QStringLiteral("lbl_message"));

    pnl_output = new BevelPanel(this);
    pnl_output->setBevelWidth(DrillWindow::kOutputBevel);
    pnl_output->setColor(DrillWindow::kPanelColour);
    lbl_sample = new QLabel(pnl_output);
    lbl_sample->setObjectName(QStringLiteral("lbl_sample"));
    lbl_kana = new QLabel(pnl_output);
    lbl_kana->setObjectName(QStringLiteral("lbl_kana"));
    lbl_kana->setTextFormat(Qt::RichText);
    lbl_kana->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    pnl_key = new KanaKeyboardWidget(this);
    pnl_key->setObjectName(QStringLiteral("pnl_key"));

    Label_counter = new QLabel(this);
    Label_counter->setObjectName(QStringLiteral("Label_counter"));
    Label_counter->setFont(pixelFont(FontFace::PGothic, 21, FontStyle::Bold));
    Button_go_menu = new QPushButton(QStringLiteral("メニューに戻る"), this);
    Button_go_menu->setObjectName(QStringLiteral("Button_go_menu"));
    Button_go_menu->setFont(pixelFont(FontFace::PGothic, 16, FontStyle::Bold));
    connect(Button_go_menu, &QPushButton::clicked, this, [this] {
        drill_.goMenu();
        render();
    });

    for (std::size_t i = 0; i < timers_.size(); ++i) {
        const auto timer = static_cast<DrillTimer>(i);
        connect(&timers_[i], &QTimer::timeout, this, [this, timer] {
            drill_.timerFired(timer);
            render();
        });
    }
}

void KanaDrillWindow::startLesson(const KanaLesson& lesson) {
    drill_.start(lesson, keyboard_);
    setWindowTitle(QStringLiteral("ケストラムLite   かな入力 ") +
                   QString::fromStdString(lesson.title));
    arrange();
    // The window may still show a run left midway: everything is drawn afresh.
    shown_.reset();
    show();
    windowHandle()->installEventFilter(this);
    activateWindow();
    setFocus();
    render();
}

void KanaDrillWindow::retry() {
    drill_.resultChosen(kModalRetry);
    activateWindow();
    render();
}

void KanaDrillWindow::returnedToMenu() {
    drill_.resultChosen(kModalMenu);
    render();
}

void KanaDrillWindow::arrange() {
    const ScreenMetrics screen = context_.screen.metrics();
    const int size = context_.settings.keyboard_size;
    layout_ = KeyboardLayout::compute(size, screen.logicalDpi, false,
                                      DrillFontMeasure(pnl_key->model(), QChar(u'あ')));
    Panel_message->setGeometry(toQRect(layout_.Panel_message));
    lbl_message->setFont(DrillWindow::messageFont(layout_.fonts.message));
    pnl_output->setGeometry(toQRect(layout_.pnl_output));
    const QFont output = DrillWindow::outputFont(layout_.fonts.output);
    lbl_sample->setFont(output);
    QFont row = output;
    const int rowWidth = layout_.pnl_output.width - 2 * DrillWindow::kSampleLeft;
    row.setPixelSize(std::min(QFontInfo(output).pixelSize(), rowWidth / kRowKana));
    lbl_kana->setFont(row);
    lbl_kana->setGeometry(DrillWindow::kSampleLeft, 0, rowWidth, layout_.pnl_output.height);
    pnl_key->arrange(layout_);
    Button_go_menu->setGeometry(toQRect(layout_.Button_go_menu));
    Label_counter->move(layout_.Label_counter_left, layout_.Label_counter_top);
    frame_.update(*this);
    setFixedSize(QSize(layout_.windowWidth, layout_.windowHeight) - frame_.extra());
    if (const auto origin =
            placement_.place(size, screen, layout_.windowWidth, layout_.windowHeight)) {
        move(origin->left, origin->top);
    }
}

void KanaDrillWindow::render() {
    const KanaDrillView& view = drill_.view();
    const auto changed = [&](auto member) { return !shown_ || view.*member != (*shown_).*member; };
    if (changed(&KanaDrillView::message)) {
        const QString text = QString::fromStdString(view.message);
        lbl_message->setFont(fitted(DrillWindow::messageFont(layout_.fonts.message), text,
                                    layout_.Panel_message.width - 2 * DrillWindow::kMessageLeft));
        lbl_message->setText(text);
        lbl_message->adjustSize();
        lbl_message->move(DrillWindow::kMessageLeft,
                          (layout_.Panel_message.height - lbl_message->height()) / 2);
    }
    if (changed(&KanaDrillView::sample)) {
        lbl_sample->setText(QString::fromStdString(view.sample));
        lbl_sample->adjustSize();
        lbl_sample->move(DrillWindow::kSampleLeft, layout_.lbl_sample_top);
    }
    if (changed(&KanaDrillView::sampleVisible)) lbl_sample->setVisible(view.sampleVisible);
    if (changed(&KanaDrillView::cells)) {
        lbl_kana->setText(rowHtml(view.cells));
        lbl_kana->setVisible(!view.cells.empty());
    }
    if (changed(&KanaDrillView::counter)) {
        Label_counter->setText(QString::fromStdString(view.counter));
        Label_counter->adjustSize();
    }
    shown_ = view;
    pnl_key->showMarks(drill_.marks());
    // Before a run Tab reaches "メニューに戻る", and Enter or the space bar presses it; during a
    // run every key belongs to the drill and the button takes clicks only.
    const bool waiting = !drill_.running();
    Button_go_menu->setFocusPolicy(waiting ? Qt::StrongFocus : Qt::NoFocus);
    if (!waiting && focusWidget() == Button_go_menu) setFocus();
}

void KanaDrillWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == Button_go_menu) {
        Button_go_menu->click();
        return;
    }
    const std::optional<KeyPosition> position = keyboard_.positionOf(event->nativeScanCode());
    if (!position) return;
    drill_.keyDown(*position, (event->modifiers() & Qt::ShiftModifier) != 0);
    render();
}

bool KanaDrillWindow::eventFilter(QObject* watched, QEvent* event) {
    // The frame comes with the window manager's reparenting, which moves the window.
    const bool frameMayChange = event->type() == QEvent::Expose || event->type() == QEvent::Move;
    if (watched == windowHandle() && frameMayChange && frame_.update(*this))
        setFixedSize(QSize(layout_.windowWidth, layout_.windowHeight) - frame_.extra());
    return QWidget::eventFilter(watched, event);
}

void KanaDrillWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closeRequested();
}

void KanaDrillWindow::startTimer(DrillTimer timer, int intervalMs) {
    timers_.at(static_cast<std::size_t>(timer)).start(intervalMs);
}

void KanaDrillWindow::stopTimer(DrillTimer timer) {
    timers_.at(static_cast<std::size_t>(timer)).stop();
}

void KanaDrillWindow::runEnded(const LessonResult& result) {
    deliverResultAfterEngine(*this, context_.messages, result,
                             [this](const LessonResult& shown) { emit lessonFinished(shown); });
}

void KanaDrillWindow::returnToMenu(const Messages& messages) {
    leaveAfterEngine(*this, context_.messages, messages, [this] {
        emit menuRequested();
        hide();
    });
}

void KanaDrillWindow::endProgram(const Messages& messages) {
    context_.messages.showAll(messages);
}

}  // namespace kestrum
