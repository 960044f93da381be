#include "progress/progress_window.h"

#include "platform/message_presenter.h"
#include "progress/attempt_csv.h"
#include "progress/attempt_queries.h"
#include "progress/attempt_store.h"
#include "progress/progress_chart_widget.h"
#include "progress/progress_series.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <utility>

namespace kestrum {

namespace {

QLabel* buddy(const QString& text, QWidget* control) {
    auto* label = new QLabel(text);
    label->setBuddy(control);
    return label;
}

}  // namespace

ProgressWindow::ProgressWindow(AttemptStore& store, MessagePresenter& messages,
                               std::filesystem::path dataDir, const ScreenMetrics& screen,
                               const LessonNamer& nameOf, QWidget* parent)
    : QDialog(parent),
      store_(store),
      messages_(messages),
      dataDir_(std::move(dataDir)),
      lessons_(storedLessons(store)),
      lesson_(new QComboBox),
      unit_(new QComboBox),
      from_(new QDateEdit),
      to_(new QDateEdit),
      chart_(new ProgressChartWidget) {
    setWindowTitle(QStringLiteral("成績の推移"));
    setFont(pixelFont(FontFace::PGothic, 14));
    lesson_->setObjectName(QStringLiteral("lesson"));
    unit_->setObjectName(QStringLiteral("unit"));
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setAccessibleName(QStringLiteral("速度と正解率の推移のグラフ"));

    lesson_->addItem(QStringLiteral("すべてのレッスン"));
    for (const LessonId& lesson : lessons_)
        lesson_->addItem(QString::fromStdString(nameOf(lesson)));
    // In the order of ProgressUnit.
    unit_->addItems({QStringLiteral("1回ごと"), QStringLiteral("日ごと"), QStringLiteral("週ごと"),
                     QStringLiteral("月ごと")});

    const DayRange range = initialRange(storedDays(store), QDate::currentDate());
    unit_->setCurrentIndex(static_cast<int>(unitFor(range)));
    for (QDateEdit* edit : {from_, to_}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    }
    from_->setDate(range.from);
    to_->setDate(range.to);

    auto* filters = new QHBoxLayout;
    filters->addWidget(buddy(QStringLiteral("レッスン(&L):"), lesson_));
    filters->addWidget(lesson_, 1);
    // The period goes on a row of its own so that the window fits a screen 640 pixels wide.
    auto* period = new QHBoxLayout;
    period->addWidget(buddy(QStringLiteral("期間(&F):"), from_));
    period->addWidget(from_);
    period->addWidget(new QLabel(QStringLiteral("～")));
    period->addWidget(to_);
    period->addSpacing(12);
    period->addWidget(buddy(QStringLiteral("単位(&U):"), unit_));
    period->addWidget(unit_);
    period->addStretch();

    auto* exportButton = new QPushButton(QStringLiteral("CSVに書き出す(&E)"));
    exportButton->setObjectName(QStringLiteral("Button_export"));
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"));
    close->setObjectName(QStringLiteral("Button_close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(period);
    layout->addWidget(chart_, 1);
    layout->addLayout(buttons);

    for (QComboBox* box : {lesson_, unit_})
        connect(box, &QComboBox::currentIndexChanged, this, &ProgressWindow::redraw);
    for (QDateEdit* edit : {from_, to_})
        connect(edit, &QDateEdit::dateChanged, this, &ProgressWindow::redraw);
    connect(exportButton, &QPushButton::clicked, this, &ProgressWindow::exportCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    chooseExportFile = [this] {
        return QFileDialog::getSaveFileName(
            this, QStringLiteral("CSVに書き出す"),
            QString::fromStdString((dataDir_ / "kestrum-attempts.csv").string()),
            QStringLiteral("CSV (*.csv)"));
    };
    redraw();
    fitAndCentre(*this, sizeHint(), screen);
}

// Enter in a field only confirms what was typed there; it presses a button only on the button.
void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !qobject_cast<QPushButton*>(focusWidget())) return event->accept();
    QDialog::keyPressEvent(event);
}

void ProgressWindow::redraw() {
    ProgressFilter filter;
    const int index = lesson_->currentIndex();
    if (index > 0) filter.lesson = lessons_[static_cast<std::size_t>(index - 1)];
    filter.from = from_->date();
    filter.to = to_->date();
    filter.unit = static_cast<ProgressUnit>(unit_->currentIndex());
    chart_->setSeries(progressSeries(store_, filter), {filter.from, filter.to}, filter.unit);
    messages_.showAll(store_.pendingMessages());
}

void ProgressWindow::exportCsv() {
    const QString target = chooseExportFile();
    if (target.isEmpty()) return;
    QSaveFile file(target);
    const bool written =
        file.open(QIODevice::WriteOnly) && exportAttemptsCsv(store_, file) && file.commit();
    messages_.showAll(store_.pendingMessages());
    messages_.show(written
                       ? infoMessage("書き出しました。")
                       : Message{Message::Icon::Stop, "CSV ファイルに書き出せませんでした。", {}});
}

}  // namespace kestrum
