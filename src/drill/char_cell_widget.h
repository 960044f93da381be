#pragma once

#include <QLabel>

namespace kestrum {

class PictureCache;

// One character cell of the item row: a label whose drawing comes from a picture shared by all
// cells of the row, per character, colour and size. The row's face is too large for the text
// renderer's glyph cache, so drawing a character anew fills its outline; a key press that turns
// a cell red, and its overlapping neighbours' repaints, then cost a blit each.
class CharCellWidget final : public QLabel {
    Q_OBJECT

public:
    // The cache must outlive the cell; its owner clears it when the cells' font or size changes.
    CharCellWidget(PictureCache& pictures, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureCache& pictures_;
};

}  // namespace kestrum
