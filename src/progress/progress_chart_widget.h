#pragma once

#include "progress/progress_series.h"

#include <QWidget>

#include <vector>

namespace kestrum {

// Speed above, accuracy below: each a solid line with a marker per point over an axis from 0
// that fits its values, the points' dates under the lower chart.
class ProgressChartWidget : public QWidget {
    Q_OBJECT

public:
    explicit ProgressChartWidget(QWidget* parent = nullptr);

    void setPoints(std::vector<ProgressPoint> points);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ProgressPoint> points_;
};

}  // namespace kestrum
