#pragma once

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <cstdint>

namespace kestrum {

// What tells one cached picture from another: its text, the owner's packing of everything else
// that changes its pixels (colours, bevel, face), and its size in logical pixels. Cheap to build,
// since a key is made for every repaint of a piece.
struct PictureKey {
    QString text;
    std::uint64_t look = 0;
    QSize size;

    bool operator==(const PictureKey& other) const = default;
};

size_t qHash(const PictureKey& key, size_t seed = 0);

// Finished pictures of small pieces of a window that repaint often in a few looks (a key, a
// finger label, a character cell), so that a repaint is one blit instead of text layout, outline
// fills and bevels. Entries live until clear(); the owner clears when sizes or fonts change.
class PictureCache {
public:
    // How a new picture starts before `draw` paints on it.
    enum class Ground { Painted, Transparent };

    // The picture stored under `key`; on a miss, `draw` paints it at the key's size (logical
    // pixels) and `ratio` (device pixels per logical pixel), with its origin at the picture's top
    // left. A Painted ground is left as it comes, so `draw` must cover every pixel.
    template <typename Draw>
    const QPixmap& picture(const PictureKey& key, qreal ratio, Ground ground, const Draw& draw) {
        if (const QPixmap* found = find(key)) return *found;
        QPixmap pixmap = blank(key.size, ratio, ground);
        {
            QPainter painter(&pixmap);
            draw(painter);
        }
        return store(key, pixmap);
    }

    void clear() { pictures_.clear(); }

private:
    const QPixmap* find(const PictureKey& key) const;
    static QPixmap blank(QSize size, qreal ratio, Ground ground);
    const QPixmap& store(const PictureKey& key, const QPixmap& pixmap);

    QHash<PictureKey, QPixmap> pictures_;
};

}  // namespace kestrum
