#include "widgets/picture_cache.h"

#include <QHashFunctions>

namespace kestrum {

size_t qHash(const PictureKey& key, size_t seed) {
    return qHashMulti(seed, key.text, key.look, key.size.width(), key.size.height());
}

const QPixmap* PictureCache::find(const PictureKey& key) const {
    const auto found = pictures_.constFind(key);
    return found != pictures_.constEnd() ? &*found : nullptr;
}

QPixmap PictureCache::blank(QSize size, qreal ratio, Ground ground) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    if (ground == Ground::Transparent) pixmap.fill(Qt::transparent);
    return pixmap;
}

const QPixmap& PictureCache::store(const PictureKey& key, const QPixmap& pixmap) {
    return *pictures_.insert(key, pixmap);
}

}  // namespace kestrum
