#pragma once

#include "history/result_summary.h"
#include "records/lesson_result.h"
#include "records/score_key.h"

#include <QDialog>
#include <QPixmap>

#include <cstdint>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kestrum {

class ScoreFile;

struct AppContext;
class BevelPanel;

// The result of a finished run beside the previous attempt of the same lesson, with an arrow
// for each figure. Shown modally at the end of every drill lesson.
class ResultWindow : public QDialog {
    Q_OBJECT

public:
    // The modal results: practise the same lesson again, or go back to the menu.
    static constexpr int kRetry = 1;
    static constexpr int kGoMenu = 2;

    ResultWindow(AppContext& context, ScoreFile& scores, QWidget* parent = nullptr);

    // Reads the lesson's history, shows what reading reported, then the window; returns kRetry
    // or kGoMenu (also for the close box and Escape).
    int showResult(const LessonResult& result);

    // The figure arrows as drawn at `ratio` device pixels per pixel, for whoever needs to tell
    // them apart.
    static QPixmap arrowPicture(Trend trend, qreal ratio = 1.0);

signals:
    // The graph button: the lesson's history graph, shown modally over this window.
    void graphRequested(kestrum::ScoreKey key);
    // The weak-keys button: this attempt's keys tinted by miss rate, shown over this window.
    void weakKeysRequested();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(const ResultSummary& summary);

    AppContext& context_;
    ScoreFile& scores_;
    std::int32_t speed = 0;
    std::int32_t accuracy = 0;
    ScoreKey key_;
    BevelPanel* Panel1;
    BevelPanel* Panel_speed;
    BevelPanel* Panel_accuracy;
    BevelPanel* Panel_pre_speed;
    BevelPanel* Panel_pre_accuracy;
    QLabel* Image_speed;
    QLabel* Image_accuracy;
    QPushButton* Button_show_graph;
    QPushButton* Button_retry;
    QPushButton* Button_go_menu;
    QPushButton* Button_weak_keys;
    QPlainTextEdit* Memo1;
};

}  // namespace kestrum
