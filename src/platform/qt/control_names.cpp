// Control to object name: the same spelling as in the handlers' code.
#include "control_names.h"

namespace colfix {

QString ControlName(Control control) {
  switch (control) {
    case Control::frmMain:
      return QStringLiteral("frmMain");
    case Control::Frame1:
      return QStringLiteral("Frame1");
    case Control::chkOntop:
      return QStringLiteral("chkOntop");
    case Control::chkAutoCopy:
      return QStringLiteral("chkAutoCopy");
    case Control::txtTranscode:
      return QStringLiteral("txtTranscode");
    case Control::cmdclear:
      return QStringLiteral("cmdclear");
    case Control::cmdExit:
      return QStringLiteral("cmdExit");
    case Control::Picture1:
      return QStringLiteral("Picture1");
  }
  return {};
}

}  // namespace colfix
