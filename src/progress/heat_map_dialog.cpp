#include "progress/heat_map_dialog.h"

#include "progress/heat_board_widget.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrum {

namespace {

constexpr std::size_t kListedKeys = 6;

QLabel* swatch(const Rgb& colour, const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(56);
    label->setStyleSheet(QStringLiteral("background: rgb(%1,%2,%3); border: 1px solid gray; "
                                        "padding: 2px;")
                             .arg(colour.r)
                             .arg(colour.g)
                             .arg(colour.b));
    return label;
}

QString worstText(const HeatKeys& keys, const std::vector<KeyHeat>& heats) {
    const std::vector<KeyHeat> worst = worstKeys(heats, kListedKeys);
    if (worst.empty()) return QStringLiteral("間違えたキーはありません。");
    QString text = QStringLiteral("ミスの多いキー\n");
    for (const KeyHeat& heat : worst) {
        text += QStringLiteral("\n%1   %2")
                    .arg(QString::fromStdString(keys.caption(heat.key)),
                         QString::fromStdString(heatFigures(heat)));
    }
    return text;
}

}  // namespace

HeatMapDialog::HeatMapDialog(const QString& lessonName, const std::vector<KeyTally>& attempt,
                             const std::optional<std::vector<KeyTally>>& lesson,
                             const ScreenMetrics& screen, std::unique_ptr<HeatBoard> board,
                             QWidget* parent)
    : QDialog(parent),
      board_(board.release()),
      attemptHeats_(keyHeats(board_->keys(), attempt)),
      lessonHeats_(keyHeats(board_->keys(), lesson.value_or(std::vector<KeyTally>{}))) {
    setWindowTitle(QStringLiteral("苦手キー   %1").arg(lessonName));
    setFont(pixelFont(FontFace::PGothic, 14));

    thisAttempt_ = new QRadioButton(QStringLiteral("今回(&T)"));
    wholeLesson_ = new QRadioButton(QStringLiteral("このレッスンの全回(&A)"));
    thisAttempt_->setObjectName(QStringLiteral("thisAttempt"));
    wholeLesson_->setObjectName(QStringLiteral("wholeLesson"));
    auto* group = new QButtonGroup(this);
    group->addButton(thisAttempt_);
    group->addButton(wholeLesson_);
    auto* choice = new QHBoxLayout;
    choice->addWidget(thisAttempt_);
    choice->addWidget(wholeLesson_);
    if (!lesson) {
        wholeLesson_->setEnabled(false);
        auto* unread =
            new QLabel(QStringLiteral("（成績の記録ファイルを読めないため、表示できません）"));
        unread->setObjectName(QStringLiteral("lessonUnread"));
        choice->addWidget(unread);
    }
    choice->addStretch();

    worst_ = new QLabel;
    worst_->setObjectName(QStringLiteral("worstKeys"));
    worst_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    worst_->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(
                                QStringLiteral("W   打鍵 999回・ミス 99回（100.0%）")) +
                            8);
    // The keyboard keeps its size: on a screen too narrow for it, it scrolls sideways beside the
    // list of keys.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("heatScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(board_);
    scroll->setMinimumSize(120,
                           board_->height() + scroll->horizontalScrollBar()->sizeHint().height());
    auto* middle = new QHBoxLayout;
    middle->addWidget(scroll, 1);
    middle->addSpacing(12);
    middle->addWidget(worst_);

    auto* legend = new QHBoxLayout;
    legend->addWidget(new QLabel(QStringLiteral("ミスの割合:")));
    for (const HeatSample& sample : heatLegend())
        legend->addWidget(swatch(sample.colour, QString::fromStdString(sample.text)));
    legend->addStretch();
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"));
    close->setObjectName(QStringLiteral("Button_close"));
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(middle, 1);
    auto* hint = new QLabel(QStringLiteral("キーにマウスを重ねると、打鍵とミスの数が出ます。"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addLayout(legend);
    layout->addLayout(closeRow);

    connect(thisAttempt_, &QRadioButton::toggled, this, [this](bool on) { showHeats(!on); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    thisAttempt_->setChecked(true);
    // Opens with the whole keyboard in sight where the screen holds it.
    const int unscrolled = std::max(0, board_->width() - scroll->sizeHint().width());
    fitAndCentre(*this, sizeHint() + QSize(unscrolled, 0), screen);
}

HeatMapDialog::~HeatMapDialog() = default;

void HeatMapDialog::showHeats(bool wholeLesson) {
    const std::vector<KeyHeat>& shown = wholeLesson ? lessonHeats_ : attemptHeats_;
    board_->showHeats(shown);
    worst_->setText(worstText(board_->keys(), shown));
}

}  // namespace kestrum
