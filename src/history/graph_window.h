#pragma once

#include "history/graph_plot.h"
#include "history/score_key.h"

#include <QDialog>
#include <QImage>

class QPushButton;
class QTimer;

namespace kestrum {

struct AppContext;
class BevelPanel;

// The history graph of one lesson. The picture is drawn once per showing, off screen, and only
// copied on paint. With fewer than two attempts the window tells the user so and closes itself
// right after it has appeared. Its erase button clears the lesson's history after a question.
class GraphWindow : public QDialog {
    Q_OBJECT

public:
    explicit GraphWindow(AppContext& context, QWidget* parent = nullptr);

    // Sets score_key and shows the window modally; returns when it has closed.
    void showFor(const ScoreKey& key);

    // The picture of the latest showing.
    const QImage& picture() const { return graph_bitmap; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void DrawGraph();
    void Button_deleteClick();

    AppContext& context_;
    ScoreKey score_key;
    QImage graph_bitmap;
    bool closeAtOnce_ = false;
    BevelPanel* Panel_graph;
    QWidget* PaintBox_graph;
    QPushButton* Button_delete;
    QPushButton* BitBtn_ok;
    QTimer* Timer_close;
};

}  // namespace kestrum
