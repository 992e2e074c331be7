// See x11_preference.h. Qt reads its platform from QT_QPA_PLATFORM, which may
// hold a list to try in order; setting it in our own environment before the
// application object exists is the documented way to choose.
#include "x11_preference.h"

#include <QByteArray>
#include <QtGlobal>

namespace colfix {

void PreferX11WhereAvailable() {
  if (qEnvironmentVariableIsEmpty("DISPLAY") || qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    return;
  }
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}

}  // namespace colfix
