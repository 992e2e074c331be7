// See display_check.h.
#include "display_check.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <algorithm>

namespace colfix {

bool DisplayNamed() {
  if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    return true;
  }
  // QT_QPA_PLATFORM holds platforms to try in turn, each maybe with options.
  const QStringList chosen =
      qEnvironmentVariable("QT_QPA_PLATFORM").split(QLatin1Char(';'), Qt::SkipEmptyParts);
  return std::any_of(chosen.begin(), chosen.end(), [](const QString& platform) {
    return !platform.startsWith(QLatin1String("xcb")) &&
           !platform.startsWith(QLatin1String("wayland"));
  });
}

}  // namespace colfix
