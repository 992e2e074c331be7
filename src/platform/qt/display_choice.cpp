// See display_choice.h. Qt reads its platform from QT_QPA_PLATFORM, which may
// hold a list to try in order; setting it in our own environment before the
// application object exists is the documented way to choose.
#include "display_choice.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <algorithm>

namespace colfix {
namespace {

bool XServerNamed() {
  return !qEnvironmentVariableIsEmpty("DISPLAY");
}

// Where a Wayland client connects: a connection handed down (WAYLAND_SOCKET),
// the socket WAYLAND_DISPLAY names, or else wayland-0 in the runtime directory.
bool WaylandCompositorNamed() {
  if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET") ||
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    return true;
  }
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath("wayland-0"));
}

// The platforms QT_QPA_PLATFORM chooses, tried in turn, each maybe with options.
QStringList ChosenPlatforms() {
  return qEnvironmentVariable("QT_QPA_PLATFORM").split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

}  // namespace

bool DisplayNamed() {
  if (XServerNamed() || WaylandCompositorNamed()) return true;
  const QStringList chosen = ChosenPlatforms();
  return std::any_of(chosen.begin(), chosen.end(), [](const QString& platform) {
    return !platform.startsWith(QLatin1String("xcb")) &&
           !platform.startsWith(QLatin1String("wayland"));
  });
}

void PreferX11WhereAvailable() {
  if (!XServerNamed() || !ChosenPlatforms().isEmpty()) return;
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}

}  // namespace colfix
