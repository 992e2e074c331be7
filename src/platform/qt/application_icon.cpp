// Loads the icon's PNG renderings compiled into the program (qt_add_resources).
#include "application_icon.h"

#include <QImageReader>
#include <QPixmap>

namespace colfix {

QIcon ApplicationIcon() {
  QIcon icon;
  // Loaded images, not files named with their size: for those Qt 6.8 renders
  // no window icon image larger than 32 pixels on a scaled screen.
  for (const int size : {16, 32, 48, 128}) {
    // Read as PNG by Qt's own reader, which is what they are: a reader left to
    // detect the format first loads and asks every image format plugin (GIF,
    // ICO, JPEG, SVG), a few milliseconds of every start.
    QImageReader reader(QStringLiteral(":/icons/colfix-%1.png").arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

}  // namespace colfix
