#pragma once

#include "progress/attempt.h"
#include "progress/progress_series.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QDateEdit;

namespace kestrum {

class AttemptStore;
class MessagePresenter;
class ProgressChartWidget;
struct ScreenMetrics;

// Speed and accuracy over time for one lesson or all, between two dates the learner picks, per
// attempt, day, week or month; every attempt can be written out as CSV. Each change asks the
// store for just the points it draws.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    // How the lesson list names a lesson: lessonTitle, unless a course of its own names its own.
    using LessonNamer = std::function<std::string(const LessonId&)>;

    ProgressWindow(AttemptStore& store, MessagePresenter& messages, std::filesystem::path dataDir,
                   const ScreenMetrics& screen, const LessonNamer& nameOf = lessonTitle,
                   QWidget* parent = nullptr);

    // Asks where to write the CSV (empty: nowhere); tests put their own file here.
    std::function<QString()> chooseExportFile;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void redraw();
    void exportCsv();

    AttemptStore& store_;
    MessagePresenter& messages_;
    std::filesystem::path dataDir_;
    std::vector<LessonId> lessons_;
    QComboBox* lesson_;
    QComboBox* unit_;
    QDateEdit* from_;
    QDateEdit* to_;
    ProgressChartWidget* chart_;
};

}  // namespace kestrum
