#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace kestrum {

// A PNG picture of the program's resources. Qt's own reading of a picture file asks every image
// plugin whether it can read it, loading them all (with their libraries) for a format Qt reads
// itself: here the format is given and nothing is probed.
QPixmap resourcePicture(const QString& path);

// The program's icon at every size it is drawn at (16 to 256 pixels), so that a task bar or a
// scaled screen picks a sharp one instead of stretching a small one.
QIcon programIcon();

}  // namespace kestrum
