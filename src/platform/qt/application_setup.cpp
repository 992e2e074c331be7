// See application_setup.h. Qt keeps these for the whole process, so they are
// set here, once, and not by each window.
#include "application_setup.h"

#include <QAccessibleWidget>

#include "frm_main_window.h"

namespace colfix {
namespace {

// Qt describes a plain top-level widget as a client area, which reaches screen
// readers as a filler; frmMain is a window, known by its title.
QAccessibleInterface* AccessibleFrmMain(const QString& /*class_name*/, QObject* object) {
  auto* window = dynamic_cast<FrmMainWindow*>(object);
  return window != nullptr ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

}  // namespace

void SetUpApplication() {
  QAccessible::installFactory(AccessibleFrmMain);
}

}  // namespace colfix
