#include "history/result_window.h"

#include "platform/text.h"
#include "widgets/app_context.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/glyph_icon.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kestrum {

namespace {

const QColor kBackground(219, 255, 219);
const QColor kPanelGrey(236, 236, 236);

BevelPanel* valuePanel(BevelPanel* parent, const QRect& geometry, const QColor& colour,
                       const QString& caption, const char* objectName) {
    auto* panel = new BevelPanel(parent);
    panel->setGeometry(geometry);
    panel->setBevelOuter(BevelPanel::Bevel::Lowered);
    panel->setBevelWidth(2);
    panel->setColor(colour);
    panel->setCaption(caption);
    panel->setObjectName(QString::fromLatin1(objectName));
    return panel;
}

QLabel* arrowImage(QWidget* parent, int left, int top, const char* objectName) {
    auto* image = new QLabel(parent);
    image->setGeometry(left, top, 32, 32);
    image->setObjectName(QString::fromLatin1(objectName));
    return image;
}

// What an arrow says to a screen reader.
QString trendWords(Trend trend) {
    switch (trend) {
        case Trend::Up:
            return QStringLiteral("前回より上がりました");
        case Trend::Down:
            return QStringLiteral("前回より下がりました");
        case Trend::Even:
            return QStringLiteral("前回と同じです");
        case Trend::None:
            break;
    }
    return QStringLiteral("前回の記録はありません");
}

QPushButton* button(QWidget* parent, int left, const QString& caption, const char* objectName) {
    auto* result = new QPushButton(caption, parent);
    result->setGeometry(left, 168, 105, 33);
    result->setFont(pixelFont(FontFace::PGothic, 12, FontStyle::Bold));
    result->setObjectName(QString::fromLatin1(objectName));
    return result;
}

}  // namespace

ResultWindow::ResultWindow(AppContext& context, ScoreFile& scores, QWidget* parent)
    : QDialog(parent),
      context_(context),
      scores_(scores),
      Panel1(new BevelPanel(this)),
      Panel_speed(valuePanel(Panel1, {136, 56, 145, 41}, Qt::white, {}, "Panel_speed")),
      Panel_accuracy(valuePanel(Panel1, {136, 104, 145, 41}, Qt::white, {}, "Panel_accuracy")),
      Panel_pre_speed(valuePanel(Panel1, {312, 56, 137, 41}, kPanelGrey, {}, "Panel_pre_speed")),
      Panel_pre_accuracy(
          valuePanel(Panel1, {312, 104, 137, 41}, kPanelGrey, {}, "Panel_pre_accuracy")),
      Image_speed(arrowImage(Panel1, 280, 60, "Image_speed")),
      Image_accuracy(arrowImage(Panel1, 280, 110, "Image_accuracy")),
      Button_show_graph(button(this, 136, QStringLiteral("グラフ表示(&G)"), "Button_show_graph")),
      Button_retry(button(this, 248, QStringLiteral("もう一度(&R)"), "Button_retry")),
      Button_go_menu(button(this, 360, QStringLiteral("メニューに戻る(&M)"), "Button_go_menu")),
      Button_weak_keys(button(this, 24, QStringLiteral("苦手キー(&K)"), "Button_weak_keys")),
      Memo1(new QPlainTextEdit(this)) {
    setWindowTitle(QString::fromStdString(resultCaption()));
    setFont(pixelFont(FontFace::PGothic, 12));
    QPalette background = palette();
    background.setColor(QPalette::Window, kBackground);
    setPalette(background);

    Panel1->setGeometry(8, 8, 457, 153);
    Panel1->setBevelWidth(2);
    Panel1->setColor(kPanelGrey);
    Panel1->setFont(pixelFont(FontFace::PGothic, 27, FontStyle::Bold));
    valuePanel(Panel1, {136, 8, 145, 41}, Qt::white, QStringLiteral("今回"), "Panel4");
    valuePanel(Panel1, {312, 8, 137, 41}, kPanelGrey, QStringLiteral("前回"), "Panel5");
    valuePanel(Panel1, {8, 56, 121, 41}, Qt::white, QStringLiteral("速度"), "Panel2");
    valuePanel(Panel1, {8, 104, 121, 41}, Qt::white, QStringLiteral("正解率"), "Panel3");
    // The arrows sit in the gap between the columns and overlap their edges by a pixel.
    Image_speed->raise();
    Image_accuracy->raise();
    Image_speed->setAccessibleName(QStringLiteral("速度の変化"));
    Image_accuracy->setAccessibleName(QStringLiteral("正解率の変化"));

    // Per-character statistics of the run: kept with the window but below its visible area.
    Memo1->setGeometry(64, 224, 329, 177);
    Memo1->setFont(pixelFont(FontFace::Gothic, 12));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setObjectName(QStringLiteral("Memo1"));

    setTabOrder(Button_show_graph, Button_retry);
    setTabOrder(Button_retry, Button_go_menu);
    setTabOrder(Button_go_menu, Button_weak_keys);
    connect(Button_show_graph, &QPushButton::clicked, this, [this] { emit graphRequested(key_); });
    connect(Button_retry, &QPushButton::clicked, this, [this] { done(kRetry); });
    connect(Button_go_menu, &QPushButton::clicked, this, [this] { done(kGoMenu); });
    connect(Button_weak_keys, &QPushButton::clicked, this, &ResultWindow::weakKeysRequested);
    // The default button is the one the keyboard was on last, and stays so while another
    // window (a message, the graph) has the focus: the toolkit's own rule would hand it meanwhile
    // to whichever button first had the focus.
    for (QPushButton* button :
         {Button_show_graph, Button_retry, Button_go_menu, Button_weak_keys}) {
        button->setAutoDefault(false);
        button->installEventFilter(this);
    }

    fixAndCentre(*this, 475, 207, context_.screen.metrics());
}

QPixmap ResultWindow::arrowPicture(Trend trend, qreal ratio) {
    Glyph glyph = Glyph::ArrowEven;
    switch (trend) {
        case Trend::Up:
            glyph = Glyph::ArrowUp;
            break;
        case Trend::Down:
            glyph = Glyph::ArrowDown;
            break;
        case Trend::Even:
            break;
        case Trend::None:
            return {};
    }
    return glyphIcon(glyph).pixmap(QSize(32, 32), ratio);
}

int ResultWindow::showResult(const LessonResult& result) {
    speed = result.speed;
    accuracy = result.accuracy;
    Memo1->clear();
    for (const Bytes& line : result.memo_lines)
        Memo1->appendPlainText(fromCp932(line));

    key_ = scoreKeyFor(result.key.kind, result.key.name);
    const ResultSummary summary = summarizeResult(scores_, key_, speed, accuracy);
    context_.messages.showAll(summary.messages);
    fill(summary);
    return exec();
}

void ResultWindow::fill(const ResultSummary& summary) {
    Panel_pre_speed->setCaption(QString::fromStdString(summary.previousSpeedText));
    Panel_pre_accuracy->setCaption(QString::fromStdString(summary.previousAccuracyText));
    // Drawn at the screen's own resolution, so that the arrows stay sharp on a scaled display.
    Image_speed->setPixmap(arrowPicture(summary.speedTrend, devicePixelRatioF()));
    Image_accuracy->setPixmap(arrowPicture(summary.accuracyTrend, devicePixelRatioF()));
    Image_speed->setAccessibleDescription(trendWords(summary.speedTrend));
    Image_accuracy->setAccessibleDescription(trendWords(summary.accuracyTrend));
    Panel_speed->setCaption(QString::fromStdString(summary.speedText));
    Panel_accuracy->setCaption(QString::fromStdString(summary.accuracyText));
}

// Enter opens the graph first: the focus starts on its button at every showing.
void ResultWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Button_show_graph->setFocus();
    Button_show_graph->setDefault(true);
}

bool ResultWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) static_cast<QPushButton*>(watched)->setDefault(true);
    return QDialog::eventFilter(watched, event);
}

// The close box and Escape leave for the menu, as the menu button does.
void ResultWindow::reject() {
    done(kGoMenu);
}

}  // namespace kestrum
