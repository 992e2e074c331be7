// Loads the icon's PNG renderings compiled into the program (qt_add_resources).
#include "application_icon.h"

#include <QPixmap>

namespace colfix {

QIcon ApplicationIcon() {
  QIcon icon;
  // Loaded images, not files named with their size: for those Qt 6.8 renders
  // no window icon image larger than 32 pixels on a scaled screen.
  for (const int size : {16, 32, 48, 128}) {
    icon.addPixmap(QPixmap(QStringLiteral(":/icons/colfix-%1.png").arg(size)));
  }
  return icon;
}

}  // namespace colfix
