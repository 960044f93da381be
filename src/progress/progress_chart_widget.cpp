#include "progress/progress_chart_widget.h"

#include "widgets/ui_fonts.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <functional>

namespace kestrum {

namespace {

constexpr int kLeft = 64;
constexpr int kRight = 24;
constexpr int kTop = 28;
constexpr int kGap = 48;
constexpr int kBottom = 44;
constexpr int kMarker = 4;

const QColor kSpeedColour(0, 70, 200);
const QColor kAccuracyColour(200, 40, 40);
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

void ProgressChartWidget::setPoints(std::vector<ProgressPoint> points) {
    points_ = std::move(points);
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
    double maxSpeed = 0;
    double minAccuracy = 100;
    for (const ProgressPoint& point : points_) {
        maxSpeed = std::max(maxSpeed, point.speed);
        minAccuracy = std::min(minAccuracy, point.accuracy);
    }
    const int plotHeight = (height() - kTop - kGap - kBottom) / 2;
    const int plotWidth = width() - kLeft - kRight;
    const std::array<Plot, 2> plots{{
        {{kLeft, kTop, plotWidth, plotHeight},
         QStringLiteral("速度（字/分）"),
         kSpeedColour,
         axisFor(maxSpeed),
         [](const ProgressPoint& p) { return p.speed; }},
        {{kLeft, kTop + plotHeight + kGap, plotWidth, plotHeight},
         QStringLiteral("正解率（%）"),
         kAccuracyColour,
         percentAxis(minAccuracy),
         [](const ProgressPoint& p) { return p.accuracy; }},
    }};
    const QFontMetrics metrics(font());
    const int count = static_cast<int>(points_.size());
    auto xOf = [&](int i) {
        return count == 1 ? kLeft + plotWidth / 2 : kLeft + plotWidth * i / (count - 1);
    };
    // Date labels no closer than their own width.
    const int labelWidth =
        metrics.horizontalAdvance(QString::fromStdString(points_.back().label)) + 12;
    const int labelEvery = std::max(1, labelWidth * (count - 1) / std::max(1, plotWidth) + 1);

    for (const Plot& plot : plots) {
        const QRect& area = plot.area;
        const Axis& axis = plot.axis;
        auto yOf = [&](double v) {
            return area.bottom() - (v - axis.bottom) * area.height() / (axis.top - axis.bottom);
        };
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

        QPainterPath line;
        for (int i = 0; i < count; ++i) {
            const QPointF at(xOf(i), yOf(plot.value(points_[static_cast<std::size_t>(i)])));
            i == 0 ? line.moveTo(at) : line.lineTo(at);
        }
        painter.setPen(QPen(plot.colour, 2, Qt::SolidLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(line);
        painter.setBrush(plot.colour);
        for (int i = 0; i < count; ++i) {
            const QPointF at(xOf(i), yOf(plot.value(points_[static_cast<std::size_t>(i)])));
            painter.drawEllipse(at, kMarker, kMarker);
        }
    }

    painter.setPen(Qt::black);
    const int labelTop = plots[1].area.bottom() + 6;
    for (int i = 0; i < count; i += labelEvery) {
        const QString label = QString::fromStdString(points_[static_cast<std::size_t>(i)].label);
        const int w = metrics.horizontalAdvance(label);
        const int left = std::clamp(xOf(i) - w / 2, 0, width() - w);
        painter.drawText(left, labelTop + metrics.ascent(), label);
    }
}

}  // namespace kestrum
