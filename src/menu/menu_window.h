#pragma once

#include "menu/problem_set_reader.h"
#include "records/score_key.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrum {

struct AppContext;
class BevelPanel;

// The main menu: the lessons, the problem set, the options and version dialogs. It loads the
// settings when it is created and saves them whenever it closes, by whatever path. What happens
// next (starting a lesson, showing a graph or a dialog, ending the program) it leaves to the
// application through its signals.
class MenuWindow : public QWidget {
    Q_OBJECT

public:
    explicit MenuWindow(AppContext& context, QWidget* parent = nullptr);

    // The current problem set was changed elsewhere: the panel shows the new name at once.
    void problemSetChanged();

signals:
    // StartLesson(lessonNo): 0..6, or 42 once the problem set is loaded into
    // AppContext::problemSetLesson.
    void lessonRequested(int lessonNo);
    // A lesson's history graph, shown modally.
    void graphRequested(kestrum::ScoreKey key);
    void optionsRequested();
    void versionRequested();
    // "問題集設定": the problem-set window.
    void problemSetsRequested();
    // A drill of the learner's weakest keys, and the progress of every lesson over time.
    void weakKeyDrillRequested();
    void progressRequested();
    // "かな入力": the kana course.
    void kanaCourseRequested();
    // The menu has closed and the settings were saved (or could not be): the program ends.
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createLessonRows();
    void createButtons();
    void createShortcutButtons();
    void lessonPanelPressed(int lessonNo, Qt::MouseButton button);
    void Panel_tdc_fileMouseDown(Qt::MouseButton button);
    void Button_establishClick();
    void FormActivate();

    AppContext& context_;
    ProblemSet problemSet_;
    Bytes problemSetNameAtLoad_;  // tells a name the learner edited in the file from our own
    BevelPanel* Panel_title;
    BevelPanel* Panel_tdc_file;
    QPushButton* Button_establish;
    QPushButton* Button_weak_keys;
    QPushButton* Button_progress;
    QPushButton* Button_kana;
    QPushButton* Button_version;
    QPushButton* Button_option;
    QPushButton* BitBtn_close;
};

}  // namespace kestrum
