// The program's one direct call into the window system: putting a window into
// the topmost band of the stack and taking it out again. Each back end supplies
// its own Module to the handlers (X11Module, Win32Module); tests hand them a
// recording one.
#pragma once

#include "runtime.h"

namespace colfix {

class Module {
 public:
  virtual ~Module() = default;

  // Failures are ignored: the window then simply keeps its place in the stack.
  virtual void SetWindowOnTop(WindowHandle hWnd, bool onTop) = 0;
};

}  // namespace colfix
