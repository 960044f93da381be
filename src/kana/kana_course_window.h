#pragma once

#include "kana/kana_lessons.h"
#include "records/lesson_result.h"
#include "records/score_key.h"
#include "widgets/app_context.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;

namespace kestrum {

class KanaDrillWindow;
class ScoreFile;
class KeyPositions;

// The kana course: its lessons with each one's last speed and accuracy. A left click on a
// lesson (or Alt and its number) starts it in the kana drill window, made at the first lesson;
// a right click asks for its graph. The drill comes back here.
class KanaCourseWindow : public QWidget {
    Q_OBJECT

public:
    // `keyboard` must outlive the window.
    KanaCourseWindow(AppContext& context, ScoreFile& scores, const KeyPositions& keyboard,
                     QWidget* parent = nullptr);
    ~KanaCourseWindow() override;

    // Shows the course with its figures read afresh.
    void showCourse();
    void startLesson(std::size_t index);
    // The result window's answer for the lesson that ended.
    void retry();
    void returnedFromResult();

    const std::vector<KanaLesson>& lessons() const { return lessons_; }
    // Null until the first lesson has started.
    KanaDrillWindow* drill() { return drill_.get(); }

signals:
    void menuRequested();
    void graphRequested(kestrum::ScoreKey key);
    // A run ended and its attempt is in score.dat: show the result, then answer retry() or
    // returnedFromResult().
    void lessonFinished(kestrum::LessonResult result);
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createRows();
    void refreshFigures();
    KanaDrillWindow& drillWindow();

    AppContext& context_;
    ScoreFile& scores_;
    const KeyPositions& keyboard_;
    const std::vector<KanaLesson>& lessons_;
    std::vector<QLabel*> figures_;
    std::unique_ptr<KanaDrillWindow> drill_;
};

}  // namespace kestrum
