#include "history/graph_window.h"

#include "widgets/app_context.h"
#include "widgets/bevel_panel_widget.h"
#include "widgets/glyph_icon.h"
#include "widgets/ui_fonts.h"
#include "widgets/window_frame.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace kestrum {

namespace {

constexpr int kBevelWidth = 3;
constexpr int kBorderWidth = 5;
constexpr int kPanelLeft = 5;
constexpr int kPanelWidth = 4 * kBevelWidth + kGraphWidth + 10;    // 572
constexpr int kPanelHeight = 4 * kBevelWidth + kGraphHeight + 10;  // 377
constexpr int kButtonTop = kPanelHeight + 5;                       // 382
constexpr int kOkWidth = 73;
constexpr int kLabelPixels = 12;  // the size the label places were laid out for
constexpr int kSmallestLabelPixels = 6;

QColor colour(PlotColor c) {
    return {c.red, c.green, c.blue};
}

QPoint point(PlotPoint p) {
    return {p.x, p.y};
}

// Copies the finished picture; it is never redrawn here.
class PictureBox final : public QWidget {
public:
    PictureBox(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    QSize sizeHint() const override { return picture_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.drawImage(event->rect(), picture_, event->rect());
    }

private:
    const QImage& picture_;
};

// The largest size, up to the one the places were laid out for, at which `caption` fits `room`.
int fittingPixels(const QString& caption, int room) {
    int pixels = kLabelPixels;
    while (pixels > kSmallestLabelPixels &&
           QFontMetrics(pixelFont(FontFace::PGothic, pixels)).horizontalAdvance(caption) > room) {
        --pixels;
    }
    return pixels;
}

void drawPlot(QImage& image, const GraphPlot& plot) {
    image.fill(Qt::white);
    QPainter painter(&image);

    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    std::vector<QPoint> frame;
    for (const PlotPoint& p : plot.frame)
        frame.push_back(point(p));
    painter.drawPolyline(frame.data(), static_cast<int>(frame.size()));

    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    for (const PlotLine& line : plot.gridLines)
        painter.drawLine(point(line.from), point(line.to));

    // Texts stand on an opaque white ground, so a grid line never runs through a label. Each
    // keeps its place and gets smaller where the face runs too wide for the room it has; the
    // numbers of one scale, which share their column and room, share the smallest size.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    std::map<std::pair<int, int>, int> columnPixels;
    for (const PlotText& text : plot.texts) {
        int& pixels =
            columnPixels.try_emplace({text.position.x, text.maxWidth}, kLabelPixels).first->second;
        pixels = std::min(pixels, fittingPixels(QString::fromStdString(text.text), text.maxWidth));
    }
    for (const PlotText& text : plot.texts) {
        painter.setPen(colour(text.color));
        painter.setFont(
            pixelFont(FontFace::PGothic, columnPixels.at({text.position.x, text.maxWidth})));
        const QPoint at(text.position.x, text.position.y);
        painter.drawText(QRect(at, QSize(text.maxWidth, image.height())),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromStdString(text.text));
    }
    painter.setBackgroundMode(Qt::TransparentMode);

    for (const PlotSeries& series : plot.series) {
        const QColor seriesColour = colour(series.color);
        painter.setPen(QPen(seriesColour, 1, Qt::DotLine));
        painter.setBrush(seriesColour);
        std::vector<QPoint> points;
        for (const PlotPoint& p : series.points) {
            points.push_back(point(p));
            painter.drawEllipse(QRect(p.x - 2, p.y - 2, 4, 4));
        }
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
}

}  // namespace

GraphWindow::GraphWindow(AppContext& context, ScoreFile& scores, QWidget* parent)
    : QDialog(parent),
      context_(context),
      scores_(scores),
      graph_bitmap(kGraphWidth, kGraphHeight, QImage::Format_RGB32),
      Panel_graph(new BevelPanel(this)),
      PaintBox_graph(new PictureBox(graph_bitmap, Panel_graph)),
      Button_delete(new QPushButton(QStringLiteral("グラフデータ消去(&D)"), this)),
      BitBtn_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setFont(pixelFont(FontFace::PGothic, 12));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(227, 255, 255));
    setPalette(background);
    graph_bitmap.fill(Qt::white);

    Panel_graph->setGeometry(kPanelLeft, 0, kPanelWidth, kPanelHeight);
    Panel_graph->setAccessibleName(QStringLiteral("グラフ"));
    PaintBox_graph->setAccessibleName(QStringLiteral("速度と正解率の推移のグラフ"));
    Panel_graph->setBevelOuter(BevelPanel::Bevel::Raised);
    Panel_graph->setBevelInner(BevelPanel::Bevel::Lowered);
    Panel_graph->setBevelWidth(kBevelWidth);
    Panel_graph->setBorderWidth(kBorderWidth);
    Panel_graph->setColor(palette().color(QPalette::Button));
    // The picture touches the inner bevel: outer bevel, border, inner bevel, picture.
    constexpr int kPictureAt = 2 * kBevelWidth + kBorderWidth;
    PaintBox_graph->setGeometry(kPictureAt, kPictureAt, kGraphWidth, kGraphHeight);

    Button_delete->setGeometry(kPanelLeft, kButtonTop, 113, 25);
    Button_delete->setObjectName(QStringLiteral("Button_delete"));
    BitBtn_ok->setGeometry(kPanelLeft + kPanelWidth - kOkWidth, kButtonTop, kOkWidth, 25);
    BitBtn_ok->setIcon(glyphIcon(Glyph::Ok));
    BitBtn_ok->setObjectName(QStringLiteral("BitBtn_ok"));
    BitBtn_ok->setDefault(true);
    connect(Button_delete, &QPushButton::clicked, this, &GraphWindow::Button_deleteClick);
    connect(BitBtn_ok, &QPushButton::clicked, this, &QDialog::accept);

    // The layout gives the outer size: the panel plus 15 across and 70 down.
    fixAndCentre(*this, kPanelWidth + 15 - kFrameExtraWidth, kPanelHeight + 70 - kFrameExtraHeight,
                 context_.screen.metrics());
}

// Everything is read and drawn before the window appears. With nothing to plot the learner sees
// the messages and then no graph: the window, which would close again at once, is not shown at
// all, so that no window opens and closes under the keyboard focus.
void GraphWindow::showFor(const ScoreKey& key) {
    score_key = key;
    setWindowTitle(QString::fromStdString(graphCaption(score_key)));
    if (DrawGraph()) exec();
}

bool GraphWindow::DrawGraph() {
    const GraphPlot plot = kestrum::DrawGraph(scores_, score_key);
    drawPlot(graph_bitmap, plot);
    PaintBox_graph->update();
    context_.messages.showAll(plot.messages);
    return !plot.closeAtOnce;
}

void GraphWindow::Button_deleteClick() {
    const bool confirmed = context_.messages.confirm(eraseConfirmation());
    const EraseOutcome outcome = eraseGraphData(scores_, score_key, confirmed);
    context_.messages.showAll(outcome.messages);
    if (outcome.closeWindow) accept();
}

}  // namespace kestrum
