#include "app/picture_cache.h"

#include <QPainter>

namespace kestrum {

const QPixmap& PictureCache::picture(const QString& key, QSize size, qreal ratio, Ground ground,
                                     const std::function<void(QPainter&)>& draw) {
    const auto found = pictures_.constFind(key);
    if (found != pictures_.constEnd()) return *found;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    if (ground == Ground::Transparent) pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        draw(painter);
    }
    return *pictures_.insert(key, pixmap);
}

}  // namespace kestrum
