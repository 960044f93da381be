#include "problem_sets/elided_label_widget.h"

namespace kestrum {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    // The layout gives the label its width; the text's own width never asks for more.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    setToolTip(text);
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, contentsRect().width()));
}

}  // namespace kestrum
