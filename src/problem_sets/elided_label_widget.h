#pragma once

#include <QLabel>

namespace kestrum {

// A one-line label that never widens its window: a text longer than the room it is given is
// cut in the middle with "…" (a set's name differs most at its end), and whole in its tool tip.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString full_;
};

}  // namespace kestrum
