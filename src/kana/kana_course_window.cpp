#include "kana/kana_course_window.h"

#include "history/score_file.h"
#include "kana/kana_drill_window.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace kestrum {

namespace {

const QColor kBackground(245, 245, 220);
const QColor kLessonColour(255, 200, 120);
constexpr int kRowTop = 56;
constexpr int kRowPitch = 40;
constexpr int kClientWidth = 480;

QString figuresText(const ScoreReadOutcome& read) {
    if (read.result != 1 || read.count < 1) return QStringLiteral("まだ記録がありません");
    const auto last = static_cast<std::size_t>(read.count - 1);
    return QStringLiteral("前回 %1字/分  正解率 %2%")
        .arg(read.speeds[last])
        .arg(read.accuracies[last]);
}

}  // namespace

KanaCourseWindow::KanaCourseWindow(AppContext& context, ScoreFile& scores,
                                   const KeyPositions& keyboard, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      context_(context),
      scores_(scores),
      keyboard_(keyboard),
      lessons_(kanaCourse()) {
    setObjectName(QStringLiteral("KanaCourseWindow"));
    setWindowTitle(QStringLiteral("ケストラムLite   かな入力"));
    setFont(pixelFont(FontFace::PGothic, 12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);
    createRows();
    const int height = kRowTop + kRowPitch * static_cast<int>(lessons_.size()) + 48;
    fixAndCentre(*this, kClientWidth, height, context_.screen.metrics());
}

KanaCourseWindow::~KanaCourseWindow() = default;

void KanaCourseWindow::createRows() {
    auto* hint =
        new QLabel(QStringLiteral("左クリックでレッスン開始、右クリックでグラフ表示"), this);
    hint->setFont(pixelFont(FontFace::PGothic, 16, FontStyle::Bold));
    hint->move(24, 16);
    const QFont panelFont = pixelFont(FontFace::PGothic, 18, FontStyle::BoldItalic);
    const QFont titleFont = pixelFont(FontFace::PGothic, 17, FontStyle::Bold);
    for (std::size_t i = 0; i < lessons_.size(); ++i) {
        const int top = kRowTop + kRowPitch * static_cast<int>(i);
        auto* panel = new BevelPanel(this);
        panel->setObjectName(QStringLiteral("Panel_kana%1").arg(i + 1));
        panel->setGeometry(24, top, 120, 31);
        panel->setColor(kLessonColour);
        panel->setFont(panelFont);
        panel->setCaption(QStringLiteral("かな &%1").arg(i + 1));
        connect(panel, &BevelPanel::pressed, this, [this, i](Qt::MouseButton button) {
            if (button == Qt::LeftButton) startLesson(i);
            if (button == Qt::RightButton) emit graphRequested(kanaScoreKey(lessons_[i]));
        });
        auto* shortcut =
            new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)), this);
        connect(shortcut, &QShortcut::activated, this, [this, i] { startLesson(i); });

        auto* title = new QLabel(QString::fromStdString(lessons_[i].title), this);
        title->setFont(titleFont);
        title->move(156, top + 6);
        auto* figures = new QLabel(this);
        figures->setObjectName(QStringLiteral("figures_kana%1").arg(i + 1));
        figures->setGeometry(296, top + 8, kClientWidth - 296 - 8, 20);
        figures_.push_back(figures);
    }
    auto* back = new QPushButton(QStringLiteral("メニューに戻る(&M)"), this);
    back->setObjectName(QStringLiteral("Button_kana_menu"));
    back->setGeometry(kClientWidth - 24 - 137,
                      kRowTop + kRowPitch * static_cast<int>(lessons_.size()) + 8, 137, 27);
    connect(back, &QPushButton::clicked, this, [this] {
        hide();
        emit menuRequested();
    });
}

void KanaCourseWindow::showCourse() {
    refreshFigures();
    show();
    raise();
    activateWindow();
}

void KanaCourseWindow::refreshFigures() {
    for (std::size_t i = 0; i < lessons_.size(); ++i) {
        const ScoreReadOutcome read = scores_.ReadScores(kanaScoreKey(lessons_[i]));
        context_.messages.showAll(read.messages);
        figures_[i]->setText(figuresText(read));
    }
}

void KanaCourseWindow::startLesson(std::size_t index) {
    drillWindow().startLesson(lessons_.at(index));
    hide();
}

KanaDrillWindow& KanaCourseWindow::drillWindow() {
    if (!drill_) {
        drill_ = std::make_unique<KanaDrillWindow>(context_, scores_, keyboard_);
        connect(drill_.get(), &KanaDrillWindow::menuRequested, this, &KanaCourseWindow::showCourse);
        connect(drill_.get(), &KanaDrillWindow::lessonFinished, this,
                &KanaCourseWindow::lessonFinished);
        connect(drill_.get(), &KanaDrillWindow::closeRequested, this,
                &KanaCourseWindow::closeRequested);
    }
    return *drill_;
}

void KanaCourseWindow::retry() {
    drill_->retry();
}

void KanaCourseWindow::returnedFromResult() {
    drill_->returnedToMenu();
}

void KanaCourseWindow::closeEvent(QCloseEvent* event) {
    // Closing the course is going back to the menu.
    event->accept();
    emit menuRequested();
}

}  // namespace kestrum
