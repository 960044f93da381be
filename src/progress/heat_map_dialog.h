#pragma once

#include "progress/attempt.h"
#include "progress/heat_map.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QRadioButton;

namespace kestrum {

class HeatBoard;
struct ScreenMetrics;

// The lesson's keyboard (`board`) tinted by miss rate, for one attempt or for every attempt of
// its lesson, with the worst keys listed beside it and each key's figures on hover. Without the
// lesson's totals (the store could not be read) only this attempt is offered, and the dialog
// says why.
class HeatMapDialog : public QDialog {
    Q_OBJECT

public:
    HeatMapDialog(const QString& lessonName, const std::vector<KeyTally>& attempt,
                  const std::optional<std::vector<KeyTally>>& lesson, const ScreenMetrics& screen,
                  std::unique_ptr<HeatBoard> board, QWidget* parent = nullptr);
    ~HeatMapDialog() override;

private:
    void showHeats(bool wholeLesson);

    HeatBoard* board_ = nullptr;
    std::vector<KeyHeat> attemptHeats_;
    std::vector<KeyHeat> lessonHeats_;
    QRadioButton* thisAttempt_ = nullptr;
    QRadioButton* wholeLesson_ = nullptr;
    QLabel* worst_ = nullptr;
};

}  // namespace kestrum
