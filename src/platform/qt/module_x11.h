// The topmost switch on X11, asked of the window manager.
#pragma once

#include "module.h"

namespace colfix {

class X11Module final : public Module {
 public:
  // Does nothing without an X connection (a Wayland session without XWayland).
  void SetWindowOnTop(WindowHandle hWnd, bool onTop) override;
};

}  // namespace colfix
