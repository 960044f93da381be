// The progress window over a real store: the range and unit it opens on, what a change of unit
// asks for, the CSV button, and Enter in a date field.
#include "progress/progress_window.h"
#include "platform/screen.h"
#include "progress/attempt_store.h"
#include "progress/progress_chart_widget.h"
#include "ui/support/modal_driver.h"
#include "ui/support/recording_message_presenter.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrum;
using namespace kestrum::testing;

class ProgressWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void opensOnTheWholeHistoryThenFollowsUnitAndRange();
    void exportWritesEveryAttempt();
    void enterInADateFieldOnlyConfirmsIt();
    void opensWithinWhatTheDesktopLeaves();

private:
    std::filesystem::path dir() const { return dir_->path().toStdString(); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<AttemptStore> store_;
    RecordingMessagePresenter messages_;
    std::unique_ptr<ProgressWindow> window_;
};

// Three attempts a week for 150 weeks, the first on 2024-01-01 (a Monday), at noon UTC; the last
// in November 2026.
void ProgressWindowTest::initTestCase() {
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = std::make_unique<AttemptStore>(AttemptStore::fileIn(dir()));
    const QDateTime first(QDate(2024, 1, 1), QTime(12, 0), Qt::UTC);
    for (int day = 0; day < 150 * 7; day += 7) {
        for (const int offset : {0, 2, 4}) {
            const std::string at = first.addDays(day + offset).toString(Qt::ISODate).toStdString();
            QVERIFY(store_->record({0, at, 0, "lesson1", 100 + day / 7, 90, 60000, 100, 10, {}}) >
                    0);
        }
    }
}

void ProgressWindowTest::init() {
    messages_.shown.clear();
    window_ = std::make_unique<ProgressWindow>(*store_, messages_, dir(), ScreenMetrics{});
}

void ProgressWindowTest::opensOnTheWholeHistoryThenFollowsUnitAndRange() {
    auto* chart = window_->findChild<ProgressChartWidget*>("chart");
    auto* unit = window_->findChild<QComboBox*>("unit");
    const QList<QDateEdit*> dates = window_->findChildren<QDateEdit*>();
    QCOMPARE(dates[0]->date(), QDate(2024, 1, 1));
    QCOMPARE(dates[1]->date(), QDate::currentDate());
    QCOMPARE(unit->currentText(), QStringLiteral("月ごと"));
    QCOMPARE(chart->points().size(), std::size_t{35});  // January 2024 to November 2026
    unit->setCurrentText(QStringLiteral("週ごと"));
    QCOMPARE(chart->points().size(), std::size_t{150});
    dates[1]->setDate(QDate(2024, 1, 14));
    QCOMPARE(chart->points().size(), std::size_t{2});
    QCOMPARE(chart->points()[1].attempts, 3);
    unit->setCurrentText(QStringLiteral("1回ごと"));
    QCOMPARE(chart->points().size(), std::size_t{6});
    QVERIFY(messages_.shown.empty());
}

void ProgressWindowTest::exportWritesEveryAttempt() {
    const QString target = dir_->filePath(QStringLiteral("out.csv"));
    window_->chooseExportFile = [&] { return target; };
    window_->findChild<QPushButton*>("Button_export")->click();
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 1 + 150 * 3 + 1);  // header, rows, nothing after the last CR LF
    QVERIFY(lines[1].startsWith("1,2024-01-01T12:00:00Z,"));
    QCOMPARE(messages_.shownTexts(), std::vector<std::string>{"書き出しました。"});
}

void ProgressWindowTest::enterInADateFieldOnlyConfirmsIt() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QDateEdit* to = window_->findChildren<QDateEdit*>()[1];
    to->setFocus();
    ModalDriver driver([](QWidget* modal) { modal->close(); }, window_.get());
    QTest::keyClick(to, Qt::Key_Return);
    QTest::keyClick(to, Qt::Key_Enter);
    QTest::qWait(50);
    QVERIFY(!driver.ran());
    QVERIFY(window_->isVisible());
}

QTEST_MAIN(ProgressWindowTest)
// A panel keeps part of an 800 x 600 screen: the window opens within the rest.
void ProgressWindowTest::opensWithinWhatTheDesktopLeaves() {
    ProgressWindow window(*store_, messages_, dir(), ScreenMetrics{800, 600, 96.0, 640, 420});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.width() <= 640 && window.height() <= 420);
    QVERIFY(window.width() > 420);  // bounded, not collapsed
}

#include "progress_window_test.moc"
