#include "drill/char_cell_widget.h"

#include "widgets/picture_cache.h"

#include <QPainter>
#include <QStyle>

namespace kestrum {

CharCellWidget::CharCellWidget(PictureCache& pictures, QWidget* parent)
    : QLabel(parent), pictures_(pictures) {}

void CharCellWidget::paintEvent(QPaintEvent*) {
    const QColor colour = palette().color(foregroundRole());
    // Drawn as the label draws its plain text, onto a clear ground, so that what lies beneath
    // (the panel, the neighbours' overlapping column) shows through as before.
    const QPixmap& picture = pictures_.picture(
        {text(), colour.rgba(), size()}, devicePixelRatioF(), PictureCache::Ground::Transparent,
        [&](QPainter& p) {
            p.setFont(font());
            style()->drawItemText(&p, contentsRect(),
                                  QStyle::visualAlignment(layoutDirection(), alignment()),
                                  palette(), isEnabled(), text(), foregroundRole());
        });
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

}  // namespace kestrum
