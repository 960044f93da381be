#include "widgets/resource_picture.h"

#include <QImageReader>

namespace kestrum {

QPixmap resourcePicture(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace kestrum
