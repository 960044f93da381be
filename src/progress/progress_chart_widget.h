#pragma once

#include "progress/progress_series.h"

#include <QWidget>

#include <vector>

namespace kestrum {

// Speed above, accuracy below, over a time axis from the first day of the range to the last, so
// that days without practice keep their place: each a line over an axis that fits its values,
// with a marker per point where the points stand apart, values beyond the axis clipped at its
// edge. Dates under the lower chart, the newest point's always.
class ProgressChartWidget : public QWidget {
    Q_OBJECT

public:
    explicit ProgressChartWidget(QWidget* parent = nullptr);

    void setSeries(std::vector<ProgressPoint> points, DayRange range, ProgressUnit unit);
    const std::vector<ProgressPoint>& points() const { return points_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ProgressPoint> points_;
    DayRange range_;
    ProgressUnit unit_ = ProgressUnit::Day;
    Axis speedAxis_;
    Axis accuracyAxis_;
};

}  // namespace kestrum
