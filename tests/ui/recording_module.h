// The topmost switch's test double: records each call instead of touching a
// window system.
#pragma once

#include <vector>

#include "runtime.h"

namespace colfix::testing {

struct TopmostCall {
  WindowHandle hWnd;
  bool onTop;
  bool operator==(const TopmostCall&) const = default;
};

// Every SetWindowOnTop call since the last clear, in order.
std::vector<TopmostCall>& RecordedTopmostCalls();

}  // namespace colfix::testing
