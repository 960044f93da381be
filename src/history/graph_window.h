#pragma once

#include "history/graph_plot.h"
#include "records/score_key.h"

#include <QDialog>
#include <QImage>

class QPushButton;

namespace kestrum {

struct AppContext;
class BevelPanel;
class ScoreFile;

// The history graph of one lesson. The picture is drawn once per showing, off screen, and only
// copied on paint. With fewer than two attempts the user is told so and the window stays closed.
// Its erase button clears the lesson's history after a question.
class GraphWindow : public QDialog {
    Q_OBJECT

public:
    GraphWindow(AppContext& context, ScoreFile& scores, QWidget* parent = nullptr);

    // Sets score_key and shows the window modally; returns when it has closed. With nothing to
    // plot only the messages are shown.
    void showFor(const ScoreKey& key);

    // The picture of the latest showing.
    const QImage& picture() const { return graph_bitmap; }

private:
    // Draws the picture and shows what reading reported; false when there is nothing to plot.
    bool DrawGraph();
    void Button_deleteClick();

    AppContext& context_;
    ScoreFile& scores_;
    ScoreKey score_key;
    QImage graph_bitmap;
    BevelPanel* Panel_graph;
    QWidget* PaintBox_graph;
    QPushButton* Button_delete;
    QPushButton* BitBtn_ok;
};

}  // namespace kestrum
