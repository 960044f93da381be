#pragma once

#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace kestrum {

// Finished pictures of small pieces of a window that repaint often in a few looks (a key, a
// character cell), so that a repaint is one blit instead of text layout, outline fills and
// bevels. Entries live until clear(); the owner clears when sizes or fonts change.
class PictureCache {
public:
    // How a new picture starts before `draw` paints on it.
    enum class Ground { Painted, Transparent };

    // The picture stored under `key`; on a miss, `draw` paints it at `size` (logical pixels) and
    // `ratio` (device pixels per logical pixel), with its origin at the picture's top left. A
    // Painted ground is left as it comes, so `draw` must cover every pixel.
    const QPixmap& picture(const QString& key, QSize size, qreal ratio, Ground ground,
                           const std::function<void(QPainter&)>& draw);

    void clear() { pictures_.clear(); }

private:
    QHash<QString, QPixmap> pictures_;
};

}  // namespace kestrum
