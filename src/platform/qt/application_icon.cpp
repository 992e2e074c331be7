// Loads the icon's PNG renderings compiled into the program (qt_add_resources).
#include "application_icon.h"

namespace colfix {

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 128}) {
    icon.addFile(QStringLiteral(":/icons/colfix-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace colfix
