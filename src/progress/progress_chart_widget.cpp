#include "progress/progress_chart_widget.h"

#include "history/graph_plot.h"
#include "widgets/ui_fonts.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <functional>

namespace kestrum {

namespace {

constexpr int kLeft = 64;
constexpr int kRight = 24;
constexpr int kTop = 28;
constexpr int kGap = 48;
constexpr int kBottom = 44;
constexpr int kMarker = 4;
constexpr int kLabelGap = 12;

// The history graph's colours, so that a figure looks the same in every chart.
const QColor kSpeedColour(kPlotRed.red, kPlotRed.green, kPlotRed.blue);
const QColor kAccuracyColour(kPlotBlue.red, kPlotBlue.green, kPlotBlue.blue);
const QColor kGrid(215, 215, 215);

struct Plot {
    QRect area;
    QString title;
    QColor colour;
    Axis axis;
    std::function<double(const ProgressPoint&)> value;
};

}  // namespace

ProgressChartWidget::ProgressChartWidget(QWidget* parent) : QWidget(parent) {
    setFont(pixelFont(FontFace::PGothic, 13));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
}

void ProgressChartWidget::setSeries(std::vector<ProgressPoint> points, DayRange range,
                                    ProgressUnit unit) {
    points_ = std::move(points);
    range_ = range;
    unit_ = unit;
    // The axes follow the values alone: found here, not at every paint.
    double maxSpeed = 0;
    double minAccuracy = 100;
    for (const ProgressPoint& point : points_) {
        maxSpeed = std::max(maxSpeed, point.speed);
        minAccuracy = std::min(minAccuracy, point.accuracy);
    }
    speedAxis_ = axisFor(maxSpeed);
    accuracyAxis_ = percentAxis(minAccuracy);
    update();
}

QSize ProgressChartWidget::sizeHint() const {
    return {720, 460};
}

void ProgressChartWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (points_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("この条件の記録はありません。"));
        return;
    }
    const int plotHeight = (height() - kTop - kGap - kBottom) / 2;
    const int plotWidth = width() - kLeft - kRight;
    const std::array<Plot, 2> plots{{
        {{kLeft, kTop, plotWidth, plotHeight},
         QStringLiteral("速度（字/分）"),
         kSpeedColour,
         speedAxis_,
         [](const ProgressPoint& p) { return p.speed; }},
        {{kLeft, kTop + plotHeight + kGap, plotWidth, plotHeight},
         QStringLiteral("正解率（%）"),
         kAccuracyColour,
         accuracyAxis_,
         [](const ProgressPoint& p) { return p.accuracy; }},
    }};
    // The range's days side by side, a point at its moment within its day.
    const QDateTime start = range_.from.startOfDay();
    const double days = std::max<qint64>(1, range_.from.daysTo(range_.to) + 1);
    const auto xOfDay = [&](double day) { return kLeft + plotWidth * day / days; };
    // An attempt at its moment; a day, week or month at its middle, within the range.
    const auto xOf = [&](const ProgressPoint& point) {
        const QDate first = point.at.date();
        const double middle = unit_ == ProgressUnit::Attempt
                                  ? point.at.time().msecsSinceStartOfDay() / 86'400'000.0
                              : unit_ == ProgressUnit::Day  ? 0.5
                              : unit_ == ProgressUnit::Week ? 3.5
                                                            : first.daysInMonth() / 2.0;
        return xOfDay(std::clamp(start.date().daysTo(first) + middle, 0.0, days));
    };
    std::vector<double> xs;
    xs.reserve(points_.size());
    for (const ProgressPoint& point : points_)
        xs.push_back(xOf(point));
    bool apart = true;
    for (std::size_t i = 1; i < xs.size() && apart; ++i)
        apart = xs[i] - xs[i - 1] >= 2 * kMarker + 2;

    for (const Plot& plot : plots) {
        const QRect& area = plot.area;
        const Axis& axis = plot.axis;
        const double span = axis.top - axis.bottom;
        // Far values are held just outside the area, which the clip then cuts at its edge.
        auto yOf = [&](double v) {
            const double held = std::clamp(v, axis.bottom - span, axis.top + span);
            return area.bottom() - (held - axis.bottom) * area.height() / span;
        };
        painter.setClipping(false);
        painter.setPen(Qt::black);
        painter.drawText(area.left(), area.top() - 8, plot.title);
        for (int tick = axis.bottom; tick <= axis.top; tick += axis.step) {
            const int y = static_cast<int>(yOf(tick));
            painter.setPen(kGrid);
            painter.drawLine(area.left(), y, area.right(), y);
            painter.setPen(Qt::black);
            painter.drawText(QRect(0, y - 10, kLeft - 8, 20), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(tick));
        }
        painter.drawLine(area.bottomLeft(), area.bottomRight());
        painter.drawLine(area.bottomLeft(), area.topLeft());

        painter.setClipRect(area.adjusted(0, -1, 1, 1));
        QPainterPath line;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const QPointF at(xs[i], yOf(plot.value(points_[i])));
            i == 0 ? line.moveTo(at) : line.lineTo(at);
        }
        painter.setPen(QPen(plot.colour, apart ? 2 : 1.5, Qt::SolidLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(line);
        if (apart) {
            painter.setBrush(plot.colour);
            for (std::size_t i = 0; i < points_.size(); ++i)
                painter.drawEllipse(QPointF(xs[i], yOf(plot.value(points_[i]))), kMarker, kMarker);
        }
    }
    painter.setClipping(false);

    // The newest point's date first, then every tick whose label keeps clear of it.
    const QFontMetrics metrics(font());
    const int labelTop = plots[1].area.bottom() + 6 + metrics.ascent();
    const bool withYear = range_.from.year() != range_.to.year();
    const QString newest = QString::fromStdString(pointLabel(points_.back(), unit_, withYear));
    const int newestWidth = metrics.horizontalAdvance(newest);
    const int newestLeft =
        std::clamp(static_cast<int>(xs.back()) - newestWidth / 2, 0, width() - newestWidth);
    painter.setPen(Qt::black);
    painter.drawText(newestLeft, labelTop, newest);
    const int spacing = metrics.horizontalAdvance(QStringLiteral("2026/12/31")) + kLabelGap;
    for (const TimeTick& tick : timeTicks(range_.from, range_.to, plotWidth, spacing)) {
        const int x = static_cast<int>(xOfDay(range_.from.daysTo(tick.day)));
        const QString label = QString::fromStdString(tick.label);
        const int w = metrics.horizontalAdvance(label);
        const int left = std::clamp(x - w / 2, 0, width() - w);
        painter.setPen(kGrid);
        painter.drawLine(x, plots[1].area.bottom(), x, plots[1].area.bottom() + 4);
        if (left + w + kLabelGap > newestLeft && left < newestLeft + newestWidth + kLabelGap)
            continue;
        painter.setPen(Qt::black);
        painter.drawText(left, labelTop, label);
    }
}

}  // namespace kestrum
