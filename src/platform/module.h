// The program's one direct call into the window system: putting a window into
// the topmost band of the stack and taking it out again. Each back end has its
// own implementation; tests link a recording one.
#pragma once

#include "runtime.h"

namespace colfix::Module {

// Failures are ignored: the window then simply keeps its place in the stack.
void SetWindowOnTop(WindowHandle hWnd, bool onTop);

}  // namespace colfix::Module
