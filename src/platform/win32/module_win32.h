// The topmost switch on Windows.
#pragma once

#include "module.h"

namespace colfix::win32 {

class Win32Module final : public Module {
 public:
  void SetWindowOnTop(WindowHandle hWnd, bool onTop) override;
};

}  // namespace colfix::win32
