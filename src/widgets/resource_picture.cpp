#include "widgets/resource_picture.h"

#include <QImageReader>

namespace kestrum {

QPixmap resourcePicture(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(resourcePicture(QStringLiteral(":/icons/%1x%1/kestrum-lite.png").arg(size)));
    return icon;
}

}  // namespace kestrum
