// The names of frmMain and its controls as Qt object names, so the runtime (and
// anyone inspecting the widget tree) finds a control by the name the handlers use.
#pragma once

#include <QString>

#include "runtime.h"

namespace colfix {

QString ControlName(Control control);

}  // namespace colfix
