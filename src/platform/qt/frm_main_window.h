// frmMain on Qt: the top-level window built from frmMainDescription(), which
// owns the runtime and the handlers and passes the controls' events to them.
#pragma once

#include <QIcon>
#include <QWidget>

#include "application_icon.h"
#include "frm_main.h"
#include "frm_main_description.h"
#include "module_x11.h"
#include "qt_runtime.h"

namespace colfix {

class FrmMainWindow : public QWidget {
 public:
  // Builds every control, fixes the size, and centres the window on its
  // screen's available area; show() is left to the caller. `icon` is the
  // window's and Picture1's, which a caller may have read beforehand.
  explicit FrmMainWindow(const QIcon& icon = ApplicationIcon());

 protected:
  // The one way out: the close box, Exit (through Unload) and the session
  // closing the window all end up here and raise Form_Unload.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* CreateControl(const ControlDescription& control, QWidget* container, const QIcon& icon);
  void ConnectEvents(Control name, QWidget* widget);
  void SetTabOrder();
  void OrderForScreenReaders();
  void RaiseEvent(Control control, Event event, const MouseArgs& mouse = {});

  QtRuntime runtime_;
  X11Module module_;
  FrmMain handlers_;
};

}  // namespace colfix
